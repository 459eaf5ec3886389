#!/usr/bin/env bash
# Times catprep against `cpp -P` on two generated templates of the same number of lines:
#  - the mixed template: best wall time of three runs of catprep, catprep -r -s and cpp -P, with
#    the peak memory of the last run;
#  - the macro-dense template (two calls and a remark on every line): the median wall time of
#    nine runs of each tool, the runs of the two tools taking turns.
# Prints catprep's time as a multiple of cpp's for each.
# Usage: bench/catprep_bench.sh [lines] (default 200000); needs a built build/default, or
# CATPREP=<binary> to time another build.
set -euo pipefail
catprep=${CATPREP:+$(realpath "$CATPREP")}
cd "$(dirname "$0")/.."
lines=${1:-200000}
catprep=${catprep:-build/default/catprep/catprep}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/catprep_generate.py "$lines" "$work/big.tpl"
python3 bench/catprep_generate.py --dense "$lines" "$work/dense.tpl"

# Wall time of one run in seconds, by the shell's microsecond clock.
seconds_of() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || true
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f\n", e - s }'
}

# Best wall time of three runs, and the peak memory of the last (from /usr/bin/time, whose own
# start is in the time of both tools alike).
best() {
  local label=$1
  shift
  local best_time= seconds
  for _ in 1 2 3; do
    seconds=$(seconds_of /usr/bin/time -f "%M" -o "$work/peak" "$@")
    if [[ -z $best_time ]] || awk "BEGIN{exit !($seconds < $best_time)}"; then best_time=$seconds; fi
  done
  printf '%-22s %6.3f s  %7d KB peak\n' "$label" "$best_time" "$(cat "$work/peak")"
  echo "$best_time" >"$work/$label.t"
}

median() {
  sort -g "$1" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

echo "mixed template: $lines lines, $(stat -c %s "$work/big.tpl") bytes"
best catprep "$catprep" "$work/out1.cat" "$work/big.tpl"
best "catprep -r -s" "$catprep" -r -s "$work/out2.cat" "$work/big.tpl"
best "cpp -P" cpp -P "$work/big.tpl" -o "$work/out3.i"
cpp_time=$(cat "$work/cpp -P.t")
for label in catprep "catprep -r -s"; do
  awk -v t="$(cat "$work/$label.t")" -v c="$cpp_time" -v l="$label" \
    'BEGIN { printf "%-22s %.2fx cpp\n", l, (c > 0 ? t / c : 0) }'
done

echo "macro-dense template: $lines lines, $(stat -c %s "$work/dense.tpl") bytes"
: >"$work/dense_catprep.t"
: >"$work/dense_cpp.t"
for _ in 1 2 3 4 5 6 7 8 9; do
  seconds_of "$catprep" "$work/out4.cat" "$work/dense.tpl" >>"$work/dense_catprep.t"
  seconds_of cpp -P "$work/dense.tpl" -o "$work/out5.i" >>"$work/dense_cpp.t"
done
catprep_median=$(median "$work/dense_catprep.t")
cpp_median=$(median "$work/dense_cpp.t")
printf '%-22s %6.3f s  median of 9\n' catprep "$catprep_median"
printf '%-22s %6.3f s  median of 9\n' "cpp -P" "$cpp_median"
awk -v t="$catprep_median" -v c="$cpp_median" \
  'BEGIN { printf "%-22s %.2fx cpp\n", "catprep (dense)", (c > 0 ? t / c : 0) }'
