#!/usr/bin/env bash
# Start-up time of the real program under a virtual X server: from just
# before the process starts to the first paint of its window, in
# milliseconds, for RUNS runs (the median and the range are printed).
# Usage: scripts/startup_time.sh TESSEL [ROM] [RUNS]
set -euo pipefail

tessel=${1:-build/tessel}
rom=${2:-}
runs=${3:-11}
# The ROM opened here is not the user's: it stays out of their recent ROMs,
# and anything the program keeps goes to the scratch folder too.
XDG_CONFIG_HOME=$(mktemp -d)
XDG_STATE_HOME=$XDG_CONFIG_HOME/state
export XDG_CONFIG_HOME XDG_STATE_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  tessel=$1; rom=$2; runs=$3
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    painted=$("$tessel" --startup-time ${rom:+"$rom"} 2>/dev/null | sed -n "s/^first-paint-ns //p")
    echo $(( (painted - start) / 1000000 ))
  done' _ "$tessel" "$rom" "$runs" |
  sort -n | awk '{ v[NR] = $1 } END { printf "start-up to first paint: median %d ms (min %d, max %d, %d runs)\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
