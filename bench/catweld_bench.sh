#!/usr/bin/env bash
# Times catweld on a generated main catalog and sub-catalog against `cat main sub > copy`
# on the same files, and reports the time ratio and catweld's peak memory.
#
# Usage: bench/catweld_bench.sh [N] [catweld binary]   (defaults: 200000, build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-200000}
catweld=${2:-build/default/catweld/catweld}
runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/timing.sh

python3 bench/catweld_generate.py "$count" "$work/main.cat" "$work/sub.cat"
main_bytes=$(stat -c %s "$work/main.cat")
sub_bytes=$(stat -c %s "$work/sub.cat")

copy_cat() { cat "$work/main.cat" "$work/sub.cat" >"$work/copy"; }
cp "$work/main.cat" "$work/original.cat"
fresh_main='cp "$work/original.cat" "$work/main.cat"'

cat_time=$(best_of : copy_cat)
weld_time=$(best_of "$fresh_main" "$catweld" "$work/main.cat" "$work/sub.cat")
eval "$fresh_main"
usage=$(/usr/bin/time -v "$catweld" "$work/main.cat" "$work/sub.cat" 2>&1)
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' <<<"$usage")
cpu_user=$(sed -n 's/.*User time (seconds): //p' <<<"$usage")
cpu_system=$(sed -n 's/.*System time (seconds): //p' <<<"$usage")
input_kb=$(((main_bytes + sub_bytes) / 1024))

printf 'messages              %d\n' "$count"
printf 'input                 %.1f MB main + %.1f MB sub\n' \
  "$(echo "$main_bytes / 1000000" | bc -l)" "$(echo "$sub_bytes / 1000000" | bc -l)"
printf 'cat main sub > copy   %.3f s\n' "$cat_time"
printf 'catweld               %.3f s\n' "$weld_time"
printf 'catweld CPU time      %.2f s user + %.2f s system (one run)\n' "$cpu_user" "$cpu_system"
printf 'time ratio            %.1fx (limit 20x, aim 10x)\n' "$(echo "$weld_time / $cat_time" | bc -l)"
printf 'catweld peak memory   %.1f MB = %.2fx the input (limit 4x)\n' \
  "$(echo "$peak_kb / 1024" | bc -l)" "$(echo "$peak_kb / $input_kb" | bc -l)"
