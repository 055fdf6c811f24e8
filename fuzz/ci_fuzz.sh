#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer) in $BUILD_DIR
# (default build-fuzz) and runs each for SECONDS (default 60), two at a time, from a scratch copy of its
# seeds with the format's dictionary; the whole-model targets also start from ../shared/real-models when
# it exists (cut to their first 8 KiB by -max_len). Prints executions, executions per second and new
# inputs per target; exits non-zero when one found something, naming the input that reproduces it.
#
#   fuzz/ci_fuzz.sh [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
seconds="${1:-60}"
build="${BUILD_DIR:-$root/build-fuzz}"
corpus="$here/corpus"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIDAS2ORVO_FUZZ=ON \
  -DMIDAS2ORVO_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_read fuzz_translate fuzz_section_names fuzz_geometry_lines \
  fuzz_property_lines fuzz_group_lines fuzz_load_lines fuzz_current_lines
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/fuzz-artifacts"

run() {  # TARGET SEED...: fuzzes a scratch copy of the seeds; one line of summary in $work/TARGET.summary
  local target="$1" log="$work/$1.log" options=()
  shift
  mkdir -p "$work/$target"
  cp "$@" "$work/$target"/ && chmod -R u+w "$work/$target"
  # The whole-model targets reach tens of thousands of coverage features per input; entropic scheduling,
  # which keeps a frequency per feature, then takes about 40 % of the time for no more coverage per run.
  [[ "$target" == fuzz_read || "$target" == fuzz_translate ]] && options=(-max_len=8192 -entropic=0)
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -dict="$here/midas.dict" \
    -artifact_prefix="$build/fuzz-artifacts/$target-" -print_final_stats=1 "${options[@]}" "$work/$target" >"$log" 2>&1; then
    stat() { grep "^stat::$1:" "$log" | awk '{print $2}'; }
    printf '%-20s %9s execs %6s exec/s %5s new inputs\n' "$target" "$(stat number_of_executed_units)" \
      "$(stat average_exec_per_sec)" "$(stat new_units_added)"
  else
    echo "$target: FINDING, reproducer $(grep -o 'Test unit written to [^ ]*' "$log" | tail -n 1 | cut -d' ' -f5)"
    grep -E "fuzz check failed|ERROR: |runtime error|SUMMARY" "$log" | head -n 10 | sed 's/^/    /'
  fi >"$work/$target.summary"
}

echo "fuzzing each target for ${seconds}s, two at a time"
models=("$root"/examples/*.mgt "$corpus"/model/*)
compgen -G "$root/../shared/real-models/*.mgt" >/dev/null && models+=("$root"/../shared/real-models/*.mgt)
run fuzz_read "${models[@]}" &
run fuzz_translate "${models[@]}"
wait
run fuzz_section_names "$corpus"/section-names/* &
run fuzz_geometry_lines "$corpus"/geometry-lines/*
wait
run fuzz_property_lines "$corpus"/property-lines/* &
run fuzz_group_lines "$corpus"/group-lines/*
wait
run fuzz_load_lines "$corpus"/load-lines/* &
run fuzz_current_lines "$corpus"/current-lines/*
wait
cat "$work"/*.summary
if (( $(cat "$work"/*.summary | grep -c " execs ") < 8 )); then
  echo "fuzzing: a finding, or a target that did not run (reproducers in $build/fuzz-artifacts)" >&2
  exit 1
fi
echo "fuzzing: no finding"
