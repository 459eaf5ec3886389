#!/usr/bin/env bash
# Times catintake on a generated PO file of N messages (default 200,000, about 27 MB) against
# gettext's `msgcat FILE -o OUT` on the same file: import into a new catalog, the same import
# again into that catalog, and a second language's file into it. Each step is run RUNS times
# (default 3); the best elapsed time and the peak resident memory are reported.
#
#   bench/catintake_bench.sh [N] [RUNS]     (after `cmake --workflow --preset test`)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-200000}
runs=${2:-3}
tool=${CATINTAKE:-build/default/catintake/catintake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 bench/catintake_generate.py "$count" nl "$work/nl.po"
python3 bench/catintake_generate.py "$count" de "$work/de.po"
input_bytes=$(stat -c %s "$work/nl.po")

# best elapsed seconds and largest peak memory (KB) over $runs runs of "$@"; `prepare` runs
# before each.
measure() {
  local best="" peak=0
  for ((i = 0; i < runs; i++)); do
    prepare
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err"
    read -r seconds kb <"$work/time"
    if [[ -z $best ]] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
    ((kb > peak)) && peak=$kb
  done
  echo "$best $peak"
}

prepare() { :; }
read -r msgcat_s msgcat_kb < <(measure msgcat "$work/nl.po" -o "$work/out.po")

prepare() { rm -f "$work/app.cat"; }
read -r new_s new_kb < <(measure "$tool" "$work/app.cat" "$work/nl.po")
cp "$work/app.cat" "$work/app.nl"

prepare() { cp "$work/app.nl" "$work/app.cat"; }
read -r again_s again_kb < <(measure "$tool" "$work/app.cat" "$work/nl.po")
cmp -s "$work/app.cat" "$work/app.nl" || echo "warning: the second import changed the catalog"

read -r second_s second_kb < <(measure "$tool" "$work/app.cat" "$work/de.po")

report() {
  awk -v name="$1" -v s="$2" -v kb="$3" -v ms="$msgcat_s" -v input="$input_bytes" 'BEGIN {
    printf "%-28s %6.2f s  %5.3fx msgcat  peak %6.1f MB  %4.2fx input\n",
           name, s, (ms > 0 ? s / ms : 0), kb / 1024, kb * 1024 / input }'
}
echo "input: $count messages, $input_bytes bytes; best of $runs runs"
report "msgcat FILE -o OUT" "$msgcat_s" "$msgcat_kb"
report "import into a new catalog" "$new_s" "$new_kb"
report "same import again" "$again_s" "$again_kb"
report "second language" "$second_s" "$second_kb"
