#!/usr/bin/env bash
# Start-up time from process start to exit, offscreen: a bare Qt window
# against the whole program up to its first answered poll (median of 5).
set -euo pipefail
probe=${1:-build/bin/startup_probe}
export QT_QPA_PLATFORM=offscreen
median() {
  local mode=$1 times=()
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$probe" "$mode" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
bare=$(median bare)
program=$(median program)
echo "bare Qt window: ${bare} ms; program to its first answered poll: ${program} ms;" \
     "ratio $(awk "BEGIN { printf \"%.1f\", $program / $bare }")"
