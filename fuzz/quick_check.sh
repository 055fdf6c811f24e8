#!/usr/bin/env bash
# Runs every fuzz target for about 30 seconds (or the seconds given) under AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from the seed corpus. A target stops at its first finding and
# names the file that reproduces it; the script exits non-zero when any target found something.
#
#   fuzz/quick_check.sh [seconds]          (build tree: $BUILD_DIR, default build-fuzz)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
seconds="${1:-30}"
build="${BUILD_DIR:-$root/build-fuzz}"

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIDAS2ORVO_FUZZ=ON -DMIDAS2ORVO_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_read fuzz_line fuzz_translate

# New inputs go to a scratch corpus, so the seeds in the repository stay as written.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
failed=()

for target in fuzz_read fuzz_line fuzz_translate; do
  corpus="$work/$target"
  mkdir -p "$corpus"
  if [[ "$target" == fuzz_line ]]; then
    cp "$here"/corpus/line/* "$corpus"/
  else
    cp "$root"/examples/*.mgt "$here"/corpus/model/* "$corpus"/
  fi
  echo "== $target: ${seconds}s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$corpus" 2>"$work/$target.log"; then
    tail -n 40 "$work/$target.log"
    echo "$target: finding; reproducer in $artifacts (replay: $build/fuzz/$target FILE)" >&2
    failed+=("$target")
    continue
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' "$work/$target.log"
done

if (( ${#failed[@]} )); then
  echo "quick check: findings in ${failed[*]}" >&2
  exit 1
fi
echo "quick check: no finding"
