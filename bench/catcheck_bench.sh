#!/usr/bin/env bash
# Times catcheck checking a generated catalog of N messages (key language en, translations de
# and fr, printf and plural messages, a few natural key collisions) and a small sub-catalog,
# against catweld welding that sub-catalog into the same catalog. Reports both times, wall and
# processor, catcheck's peak memory against the size of its input, and how many key
# collisions catcheck finds against how many the generator made.
#
# Usage: bench/catcheck_bench.sh [N]   (default 200000; after `cmake --workflow --preset test`)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-200000}
catcheck=${CATCHECK:-build/default/catcheck/catcheck}
catweld=${CATWELD:-build/default/catweld/catweld}
runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/timing.sh

expected=$(python3 bench/catcheck_generate.py "$count" "$work/main.cat" "$work/sub.cat")
cp "$work/main.cat" "$work/weld.cat"
input_bytes=$(($(stat -c %s "$work/main.cat") + $(stat -c %s "$work/sub.cat")))

# catweld rewrites its catalog: each run welds into a fresh copy.
fresh='cp "$work/main.cat" "$work/weld.cat"'
check_time=$(best_of : "$catcheck" "$work/main.cat" "$work/sub.cat")
weld_time=$(best_of "$fresh" "$catweld" "$work/weld.cat" "$work/sub.cat")
check_cpu=$(cpu_of : "$catcheck" "$work/main.cat" "$work/sub.cat")
weld_cpu=$(cpu_of "$fresh" "$catweld" "$work/weld.cat" "$work/sub.cat")
# Exit status 1 is catcheck finding errors, which this catalog has on purpose.
usage=$(/usr/bin/time -v "$catcheck" "$work/main.cat" "$work/sub.cat" 2>&1 >/dev/null || true)
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' <<<"$usage")
"$catcheck" --format json "$work/main.cat" "$work/sub.cat" >"$work/result.json" || true
found=$(python3 -c 'import json, sys
findings = json.load(open(sys.argv[1]))["findings"]
print(sum(finding["kind"] == "key-collision" for finding in findings))' "$work/result.json")

printf 'messages               %d (catalog %.1f MB, sub-catalog %.1f KB)\n' "$count" \
  "$(echo "$(stat -c %s "$work/main.cat") / 1000000" | bc -l)" \
  "$(echo "$(stat -c %s "$work/sub.cat") / 1000" | bc -l)"
printf 'catcheck               %.3f s\n' "$check_time"
printf 'catweld                %.3f s\n' "$weld_time"
printf 'time ratio             %.2fx catweld (limit 1x)\n' "$(echo "$check_time / $weld_time" | bc -l)"
printf 'processor time         %.2f s against %.2f s = %.2fx catweld\n' "$check_cpu" "$weld_cpu" \
  "$(echo "$check_cpu / $weld_cpu" | bc -l)"
printf 'catcheck peak memory   %.1f MB = %.2fx the input (limit 4x)\n' \
  "$(echo "$peak_kb / 1024" | bc -l)" "$(echo "$peak_kb * 1024 / $input_bytes" | bc -l)"
printf 'key collisions         %d found, %d in the catalog\n' "$found" "$expected"
[[ $found == "$expected" ]] || { echo "catcheck misses key collisions or reports false ones"; exit 1; }
