# Timing helpers for the benchmark scripts, which source this file and set $runs.

# Best wall-clock seconds of $runs runs of "$@" (its output discarded); `prepare` runs before
# each, untimed.
best_of() {
  local prepare=$1 best="" start end took
  shift
  for _ in $(seq "$runs"); do
    eval "$prepare"
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [[ -z $best ]] || (($(echo "$took < $best" | bc -l))); then best=$took; fi
  done
  echo "$best"
}

# Least processor seconds (user and system) of $runs runs of "$@": the figure that a busy
# machine disturbs least.
cpu_of() {
  local prepare=$1 best="" took
  shift
  for _ in $(seq "$runs"); do
    eval "$prepare"
    took=$(/usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{print $1 + $2}')
    if [[ -z $best ]] || (($(echo "$took < $best" | bc -l))); then best=$took; fi
  done
  echo "$best"
}
