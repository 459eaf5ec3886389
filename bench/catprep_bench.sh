#!/usr/bin/env bash
# Times catprep on a generated template, with and without -r -s, against `cpp -P` on the same
# file. Usage: bench/catprep_bench.sh [lines] (default 200000); needs a built build/default.
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-200000}
catprep=build/default/catprep/catprep
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/catprep_generate.py "$lines" "$work/big.tpl"
echo "template: $lines lines, $(stat -c %s "$work/big.tpl") bytes"

# Best wall time of three runs, and the peak memory of the last.
best() {
  local label=$1
  shift
  local best_time=
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r seconds kb <"$work/time"
    if [[ -z $best_time ]] || awk "BEGIN{exit !($seconds < $best_time)}"; then best_time=$seconds; fi
  done
  printf '%-22s %6.2f s  %7d KB peak\n' "$label" "$best_time" "$kb"
  echo "$best_time" >"$work/$label.t"
}

best catprep "$catprep" "$work/out1.cat" "$work/big.tpl"
best "catprep -r -s" "$catprep" -r -s "$work/out2.cat" "$work/big.tpl"
best "cpp -P" cpp -P "$work/big.tpl" -o "$work/out3.i"
cpp_time=$(cat "$work/cpp -P.t")
for label in catprep "catprep -r -s"; do
  awk -v t="$(cat "$work/$label.t")" -v c="$cpp_time" -v l="$label" \
    'BEGIN { printf "%-22s %.2fx cpp\n", l, (c > 0 ? t / c : 0) }'
done
