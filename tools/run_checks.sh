#!/usr/bin/env bash
# Builds the tests for one kind of check and runs them:
#   asan      clang, AddressSanitizer + UndefinedBehaviorSanitizer, LeakSanitizer on (the CI check)
#   tsan      clang, ThreadSanitizer; the whole suite, the two-thread translation test among it
#   valgrind  the default compiler, plain build; the test binary once under memcheck with leak checking
# Usage: tools/run_checks.sh asan|tsan|valgrind [extra arguments: to ctest (e.g. -R Threads), or for
# valgrind to the test binary (e.g. --gtest_filter=Threads.*)]
# The build directory is build-<check> unless BUILD_DIR says otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

check="${1:-}"
shift || true
build="${BUILD_DIR:-build-$check}"
jobs="${JOBS:-2}"

case "$check" in
asan)
    CXX="${CXX:-clang++}" cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIDAS2ORVO_SANITIZE=ON
    cmake --build "$build" -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    ;;
tsan)
    CXX="${CXX:-clang++}" cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIDAS2ORVO_TSAN=ON
    cmake --build "$build" -j "$jobs"
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    ;;
valgrind)
    command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 2; }
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j "$jobs" --target midas2orvo_tests
    # One process for the whole suite (about a minute); the CLI tests' child processes are not traced.
    valgrind --error-exitcode=1 --suppressions=tools/valgrind.supp --leak-check=full \
        --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
        "$build/midas2orvo_tests" "$@"
    ;;
*)
    echo "usage: $0 asan|tsan|valgrind [extra arguments]" >&2
    exit 2
    ;;
esac
