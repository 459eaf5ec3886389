#!/usr/bin/env bash
# Times catexport exporting a generated catalog of N messages with two translation languages
# to a PO file, against catweld rewriting the same catalog (with an empty sub-catalog, the
# least catweld does with it), and reports catexport's peak memory against the catalog's size.
#
# Usage: bench/catexport_bench.sh [N]   (default 200000; after `cmake --workflow --preset test`)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-200000}
catexport=${CATEXPORT:-build/default/catexport/catexport}
catweld=${CATWELD:-build/default/catweld/catweld}
runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/timing.sh

python3 bench/catweld_generate.py "$count" "$work/main.cat" "$work/unused.sub"
: >"$work/empty.sub"
cp "$work/main.cat" "$work/original.cat"
catalog_bytes=$(stat -c %s "$work/main.cat")

fresh='cp "$work/original.cat" "$work/main.cat"'
export_time=$(best_of : "$catexport" "$work/main.cat" "de=$work/de.po")
weld_time=$(best_of "$fresh" "$catweld" "$work/main.cat" "$work/empty.sub")
export_cpu=$(cpu_of : "$catexport" "$work/main.cat" "de=$work/de.po")
weld_cpu=$(cpu_of "$fresh" "$catweld" "$work/main.cat" "$work/empty.sub")
usage=$(/usr/bin/time -v "$catexport" "$work/main.cat" "de=$work/de.po" 2>&1)
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' <<<"$usage")

printf 'messages               %d (catalog %.1f MB, PO %.1f MB)\n' "$count" \
  "$(echo "$catalog_bytes / 1000000" | bc -l)" "$(echo "$(stat -c %s "$work/de.po") / 1000000" | bc -l)"
printf 'catexport to PO        %.3f s\n' "$export_time"
printf 'catweld rewrite        %.3f s\n' "$weld_time"
printf 'time ratio             %.2fx catweld (limit 1x)\n' "$(echo "$export_time / $weld_time" | bc -l)"
printf 'processor time         %.2f s against %.2f s = %.2fx catweld\n' "$export_cpu" "$weld_cpu" \
  "$(echo "$export_cpu / $weld_cpu" | bc -l)"
printf 'catexport peak memory  %.1f MB = %.2fx the catalog (limit 4x)\n' \
  "$(echo "$peak_kb / 1024" | bc -l)" "$(echo "$peak_kb * 1024 / $catalog_bytes" | bc -l)"
