#!/usr/bin/env bash
# Measures the importer against the floor on generated steel frames, side by side, and checks that the
# host models it builds are those an earlier revision builds.
#
#   bench/compare.sh [--runs N] [--baseline REV] [--no-scaling] [--dumps-only] [--keep]
#
#   --runs N        timed runs of each program per model (default 5); medians are reported
#   --baseline REV  also build revision REV and require its JSON dump of every generated model, of the
#                   bundled examples and of every real model in ../shared/real-models (when present), in
#                   both profiles, to be byte for byte the one this tree gives (default: none)
#   --dumps-only    with --baseline: generate the models and compare the dumps, time nothing
#   --no-scaling    only the 100 x 100 x 30 frame, not the 10k, 100k and 1M-node frames
#   --keep          keep the generated models in the work directory
#
# For each model, after an untimed round that brings the file into the page cache, the floor
# (bench/scan_floor: fgets and strtod over every field) and mgt2orvo --stats (which imports as a host
# process does: no heap tuning) reading on 1 thread and on 2 run in turns, so all see the same machine.
# Prints the medians of the time of ReadMidasFile + TranMidastoOrvo, their ratios to the floor (a ratio
# is the median of the ratios of each round), and the peak resident memory of each against the file
# size; then the growth of the 2-thread import time from 10k to 100k to 1M nodes, again as the median of
# each round's ratio.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
runs=5
baseline=""
scaling=1
keep=0
dumpsOnly=0
while (($#)); do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --baseline) baseline="$2"; shift 2 ;;
    --no-scaling) scaling=0; shift ;;
    --dumps-only) dumpsOnly=1; shift ;;
    --keep) keep=1; shift ;;
    *) echo "usage: bench/compare.sh [--runs N] [--baseline REV] [--no-scaling] [--dumps-only] [--keep]" >&2; exit 2 ;;
  esac
done

build="${BUILD_DIR:-$root/build-bench}"
work="${WORK_DIR:-$(mktemp -d /tmp/midas2orvo-compare.XXXXXX)}"
mkdir -p "$work"
cleanup() {
  if ((keep == 0)); then rm -rf "$work"; fi
  if [[ -n "${worktree:-}" ]]; then git -C "$root" worktree remove --force "$worktree" >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

echo "== building (Release) in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIDAS2ORVO_BENCH=ON -DMIDAS2ORVO_TESTS=OFF >/dev/null
cmake --build "$build" --target mgt2orvo generate_model scan_floor >/dev/null
tool="$build/mgt2orvo"
floor="$build/bench/scan_floor"

echo "== machine"
echo "   $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "   $(awk '/MemTotal/ {printf "%.1f GiB memory", $2 / 1048576}' /proc/meminfo), kernel $(uname -r)"
echo "   large pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)"

# name NX NY NZ
models=("frame-100x100x30 100 100 30")
if ((scaling)); then
  models+=("nodes-10k 20 20 25" "nodes-100k 50 50 40" "nodes-1M 100 100 100")
fi

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
calc() { awk "BEGIN {print $*}"; }
seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N); calc "$end - $start"; }
# mgt2orvo --stats: the total of the stages (read .. hand-over) and the peak memory in MB
stats() {
  "$tool" --stats "$@" 2>&1 >/dev/null | awk '/^  total/ {t = $2} /^  peak memory/ {m = $3} END {print t, m}'
}

declare -A hostTimes
for entry in "${models[@]}"; do
  read -r name nx ny nz <<<"$entry"
  file="$work/$name.mgt"
  "$build/bench/generate_model" "$nx" "$ny" "$nz" "$file" | sed 's/^/   /'
  if ((dumpsOnly)); then continue; fi
  bytes=$(stat -c %s "$file")
  floorTimes=() hostTimes[$name]="" oneTimes=() oneRatios=() hostRatios=() onePeaks=() hostPeaks=()
  # One untimed round first: the file into the page cache.
  "$floor" "$file" >/dev/null
  stats "$file" >/dev/null
  for ((i = 0; i < runs; ++i)); do
    f=$(seconds "$floor" "$file"); floorTimes+=("$f")
    read -r t m < <(stats --threads 1 "$file"); oneTimes+=("$t"); onePeaks+=("$m"); oneRatios+=("$(calc "$t / $f")")
    read -r t m < <(stats --threads 2 "$file"); hostTimes[$name]+="$t "; hostPeaks+=("$m")
    hostRatios+=("$(calc "$t / $f")")
  done
  f=$(printf '%s\n' "${floorTimes[@]}" | median)
  o=$(printf '%s\n' "${oneTimes[@]}" | median)
  h=$(printf '%s\n' ${hostTimes[$name]} | median)
  or=$(printf '%s\n' "${oneRatios[@]}" | median)
  hr=$(printf '%s\n' "${hostRatios[@]}" | median)
  op=$(printf '%s\n' "${onePeaks[@]}" | median)
  hp=$(printf '%s\n' "${hostPeaks[@]}" | median)
  printf '   %-18s %7.1f MB  floor %6.3f s | 1 thread: %6.3f s (%.2f x floor), peak %7.1f MiB (%.2f x file) | 2 threads: %6.3f s (%.2f x), peak %7.1f MiB (%.2f x)\n' \
    "$name" "$(calc "$bytes / 1000000")" "$f" "$o" "$or" "$op" "$(calc "$op * 1048576 / $bytes")" "$h" "$hr" "$hp" "$(calc "$hp * 1048576 / $bytes")"
done

if ((scaling && !dumpsOnly)); then
  # The median of the ratios of the n-th runs of two models (each model's runs follow its own floor runs).
  ratios() {
    local -a a=($1) b=($2)
    for ((i = 0; i < ${#a[@]} && i < ${#b[@]}; ++i)); do calc "${b[i]} / ${a[i]}"; done | median
  }
  echo "== scaling (import time as a host runs it on 2 threads, median of the rounds' ratios)"
  printf '   100k / 10k nodes: %.2f x   1M / 100k nodes: %.2f x   (linear: 10 x; at most 11 x)\n' \
    "$(ratios "${hostTimes[nodes-10k]}" "${hostTimes[nodes-100k]}")" "$(ratios "${hostTimes[nodes-100k]}" "${hostTimes[nodes-1M]}")"
fi

if [[ -n "$baseline" ]]; then
  echo "== JSON dumps against $baseline"
  worktree="$work/baseline-src"
  git -C "$root" worktree add --detach "$worktree" "$baseline" >/dev/null 2>&1
  cmake -S "$worktree" -B "$work/baseline-build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIDAS2ORVO_TESTS=OFF >/dev/null
  cmake --build "$work/baseline-build" --target mgt2orvo >/dev/null
  differ=0
  files=()
  for entry in "${models[@]}"; do
    read -r name _ <<<"$entry"
    files+=("$work/$name.mgt")
  done
  files+=("$root"/examples/*.mgt)
  if [[ -d "$root/../shared/real-models" ]]; then files+=("$root"/../shared/real-models/*.mgt); fi
  for file in "${files[@]}"; do
    for profile in classic current; do
      # A refused translation (exit status 1) has its dump too.
      now=$({ "$tool" --json --profile "$profile" "$file" 2>/dev/null || true; } | sha256sum | cut -c1-16)
      then=$({ "$work/baseline-build/mgt2orvo" --json --profile "$profile" "$file" 2>/dev/null || true; } | sha256sum | cut -c1-16)
      if [[ "$now" == "$then" ]]; then verdict="identical"; else verdict="DIFFERENT"; differ=1; fi
      printf '   %-34s %-8s %s %s  %s\n' "$(basename "$file")" "$profile" "$now" "$then" "$verdict"
    done
  done
  if ((differ)); then
    echo "compare: the host models differ from $baseline" >&2
    exit 1
  fi
fi
