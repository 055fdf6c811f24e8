#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# each of them for the given seconds (default 60), two at a time, from its seed corpus copied to a
# scratch directory, with the format's dictionary. The whole-text targets also start from the real
# models in ../shared/real-models next to the checkout, when that directory exists (they are copied to
# the scratch corpus only, never into the repository).
#
# Prints per target the executions, executions per second, new inputs and corpus size (seeds -> after).
# Exits non-zero when any target found something, naming the file that reproduces it; replay it with
# the target itself: $BUILD_DIR/fuzz/TARGET FILE.
#
#   fuzz/ci_fuzz.sh [seconds]          (build tree: $BUILD_DIR, default build-fuzz)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
seconds="${1:-60}"
build="${BUILD_DIR:-$root/build-fuzz}"
real_models="$root/../shared/real-models"
line_families=(geometry property group load current)
targets=(fuzz_read fuzz_translate fuzz_section_names)
for family in "${line_families[@]}"; do targets+=("fuzz_${family}_lines"); done

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIDAS2ORVO_FUZZ=ON -DMIDAS2ORVO_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

# New inputs go to a scratch corpus, so the seeds in the repository stay as written.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

seed_dirs() {
  case "$1" in
    fuzz_read | fuzz_translate) echo "$root/examples $here/corpus/model" ;;
    fuzz_section_names) echo "$here/corpus/section-names" ;;
    fuzz_*_lines) local family="${1#fuzz_}"; echo "$here/corpus/${family%_lines}-lines" ;;
  esac
}

# Runs one target; its summary goes to $work/TARGET.summary, its log to $work/TARGET.log.
run_target() {
  local target="$1" corpus="$work/$1" log="$work/$1.log" extra=()
  mkdir -p "$corpus"
  for dir in $(seed_dirs "$target"); do cp "$dir"/* "$corpus"/; done
  local options=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/$target-")
  local status=0
  if [[ "$target" == fuzz_read || "$target" == fuzz_translate ]] && compgen -G "$real_models/*.mgt" >/dev/null; then
    # The real models run whole once (files named on the command line are replayed, not cut), then
    # join the corpus; inputs are kept to 16 KiB while fuzzing, so that runs stay many per second.
    "$build/fuzz/$target" "${options[@]}" "$real_models"/*.mgt >"$work/$target.real.log" 2>&1 || status=$?
    cat "$work/$target.real.log" >>"$log"
    cp "$real_models"/*.mgt "$corpus"/
    chmod u+w "$corpus"/*
    extra=(-max_len=16384)
  fi
  local seeds
  seeds="$(ls "$corpus" | wc -l)"
  if (( status == 0 )); then
    "$build/fuzz/$target" "${options[@]}" -max_total_time="$seconds" -dict="$here/midas.dict" \
      -print_final_stats=1 "${extra[@]}" "$corpus" >>"$log" 2>&1 || status=$?
  fi
  {
    if (( status != 0 )); then
      local reproducer
      # A mutated input is written out as an artifact; a replayed real model is its own reproducer.
      reproducer="$(grep -o "Test unit written to [^ ]*" "$log" | tail -n 1 | sed 's/Test unit written to //')"
      [[ -n "$reproducer" ]] || reproducer="$(grep -o "^Running: .*" "$log" | tail -n 1 | sed 's/^Running: //')"
      echo "$target: FINDING (exit $status), reproducer ${reproducer:-not written}; log below"
      grep -E "fuzz check failed|ERROR: |runtime error|SUMMARY" "$log" | head -n 10 | sed 's/^/    /'
    else
      stat_of() { grep -E "^stat::$1:" "$log" | awk '{print $2}'; }
      printf '%-22s %10s execs %8s exec/s %6s new units   corpus %s -> %s\n' "$target" \
        "$(stat_of number_of_executed_units)" "$(stat_of average_exec_per_sec)" "$(stat_of new_units_added)" \
        "$seeds" "$(ls "$corpus" | wc -l)"
    fi
  } >"$work/$target.summary"
  return "$status"
}

echo "fuzzing ${#targets[@]} targets for ${seconds}s each, two at a time"
failed=()
running=0
for target in "${targets[@]}"; do
  if (( running == 2 )); then
    wait -n || true
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
wait || true

for target in "${targets[@]}"; do
  if [[ ! -s "$work/$target.summary" ]]; then
    echo "$target: did not run (see the messages above)"
    failed+=("$target")
    continue
  fi
  cat "$work/$target.summary"
  if grep -q FINDING "$work/$target.summary"; then failed+=("$target"); fi
done
if (( ${#failed[@]} )); then
  echo "fuzzing: findings in ${failed[*]} (reproducers in $artifacts)" >&2
  exit 1
fi
echo "fuzzing: no finding"
