#!/usr/bin/env bash
# Makes docs/screenshot.png: runs the real program under a virtual X server
# with the demo ROM open and the Large View beside the main window, and lets
# it save a picture of both windows; then docs/overview.png (beside OUT.png)
# the same way with the Sprite Overview left of the main window.
# Usage: scripts/screenshot.sh TESSEL ROM OUT.png
set -euo pipefail

tessel=${1:-build/tessel}
rom=${2:-build/demo.smc}
out=${3:-docs/screenshot.png}

mkdir -p "$(dirname "$out")"
# The demo ROM opened here stays out of the user's recent ROMs, and anything
# the program keeps goes to the scratch folder too.
XDG_CONFIG_HOME=$(mktemp -d)
XDG_STATE_HOME=$XDG_CONFIG_HOME/state
export XDG_CONFIG_HOME XDG_STATE_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
# The Large View beside the main window, at the zoom that fits, both grids on.
mkdir -p "$XDG_CONFIG_HOME/tessel"
printf '[largeView]\nwidth=420\nheight=560\nzoom=0\n' >"$XDG_CONFIG_HOME/tessel/tessel.conf"
xvfb-run -a -s "-screen 0 1280x800x24" "$tessel" --screenshot "$out" --large-view "$rom"
echo "wrote $out"
# The overview at 1x, tall enough for a few rows of the demo's sprites.
overview=$(dirname "$out")/overview.png
printf '[spriteOverview]\nwidth=600\nheight=560\nscale=1\n' >>"$XDG_CONFIG_HOME/tessel/tessel.conf"
xvfb-run -a -s "-screen 0 1280x800x24" "$tessel" --screenshot "$overview" --overview "$rom"
echo "wrote $overview"
