#!/usr/bin/env bash
# `make bench`: runs every benchmark program of the project (BUILD/*_bench),
# measures the start-up time and the peak memory of the real program under a
# virtual X server, and writes one table to BUILD/bench-table.md, which it
# also prints. With --readme FILE, the table also replaces what stands
# between the markers <!-- bench-table:start --> and <!-- bench-table:end -->
# of FILE.
#
# Usage: scripts/bench_table.sh [BUILD] [--readme FILE]
#
# Pairing by name: a benchmark whose name contains "Naive" or whose name
# (before any /arguments) ends in "Reference" is the naive or byte-at-a-time
# reference of the benchmark named without that word: BM_NaiveLift and
# BM_FloodFillWholeAreaNaive measure the same work as BM_Lift and
# BM_FloodFillWholeArea, BM_FullLoad_FgetcReference as BM_FullLoad (the
# "_...Reference" suffix goes whole). A reference with arguments
# (BM_NaiveMoveStep/transparent:1) pairs with our run with the same
# arguments; one without arguments pairs with every run of ours.
#
# Times are CPU time per operation. Targets are the speed goals of the
# project, in microseconds, listed below with what each benchmark does.
set -euo pipefail

build=build
readme=
while [ $# -gt 0 ]; do
  case $1 in
    --readme) readme=$2; shift 2 ;;
    *) build=$1; shift ;;
  esac
done

# name|target in µs (empty: none)|what it measures
targets='BM_DecodeAllTiles|60|decode all 8714 tiles from memory
BM_EncodeAllTiles|60|encode all 8714 tiles into memory
BM_FullLoad|500|Open ROM: file to 1144 sprites and 32 palettes (warm cache)
BM_SaveAll|1000|Save All Sprites (arg 0: nothing edited, 1: 16 sprites edited)
BM_HeldFileCheck|50|the file checks every save adds (still ours? changed by another program?)
BM_CanvasRepaint|1000|full canvas repaint: sprite, x4, outline, preview
BM_WindowRepaintCanvas|1000|the same through the real window (offscreen)
BM_ShapeDragStep|20|one figure drag step, 64 x 80, pen 20 (tool 2 line, 3 rectangle, 4 ellipse, 5 rounded)
BM_FloodFillWholeArea|50|flood fill of the whole 64 x 80 area
BM_Lift|20|lift a 64 x 80 block
BM_MoveStep|20|one move step of a floating 64 x 80 block
BM_Commit|20|put a floating 64 x 80 block down
BM_Paste|20|paste a 64 x 80 block
BM_FlipFloating|20|flip a floating 64 x 80 block
BM_BrowserPage|1000|paint one browser page (eight thumbnails)
BM_InfoPicture|1000|paint the sprite information picture
BM_BrowserWidgetRender|1000|render the whole browser widget
BM_InfoDialogRender|1000|render the whole sprite information dialog
BM_EditRecoveryWork|50|work one edit adds on the window thread for edit marks and the recovery file (arg: sprites edited)
BM_Backup4MiB|30000|backup of a 4 MiB ROM before the first write: copy, sync, prune
BM_SheetExport|150000|export all 1144 sprites as one PNG sheet
BM_SheetImport|150000|import the sheet: decode, match colours, compare
BM_MakePatch|50000|make a patch between two 4 MiB ROMs, 100 sprites edited (arg 0: BPS, 1: IPS)'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
programs=("$build"/*_bench)
if [ ${#programs[@]} -eq 0 ]; then
  echo "bench_table: no benchmark programs in $build (is libbenchmark-dev installed?)" >&2
  exit 1
fi
for b in "${programs[@]}"; do
  name=$(basename "$b")
  echo "running $name ..." >&2
  if ! "$b" --benchmark_format=json >"$work/$name.json" 2>"$work/$name.log"; then
    cat "$work/$name.log" >&2
    exit 1
  fi
done

# One line per benchmark: name, CPU time in µs (wall-clock time for those
# that ask for it, named .../real_time), error message. The JSON reporter
# writes one field per line, which is all this reads.
for f in "$work"/*.json; do
  awk '
    function value(line) { sub(/^[^:]*: */, "", line); sub(/,$/, "", line); gsub(/^"|"$/, "", line); return line }
    /^  "benchmarks": \[/ { inside = 1; next }
    !inside { next }
    /^    {/ { name = ""; cpu = 0; real = 0; unit = "ns"; error = ""; next }
    /^      "name":/ { name = value($0) }
    /^      "cpu_time":/ { cpu = value($0) + 0 }
    /^      "real_time":/ { real = value($0) + 0 }
    /^      "time_unit":/ { unit = value($0) }
    /^      "error_message":/ { error = value($0) }
    /^    }/ {
      scale = unit == "ns" ? 0.001 : unit == "ms" ? 1000 : unit == "s" ? 1000000 : 1
      printf "%s\t%.6f\t%s\n", name, (name ~ /\/real_time$/ ? real : cpu) * scale, error
    }' "$f"
done >"$work/all.tsv"

# Start-up to the first painted window, and the peak memory of the process.
startup=; peak=
if [ -x "$build/tessel" ] && command -v xvfb-run >/dev/null; then
  [ -f "$build/demo.smc" ] || "$build/make-demo-rom" "$build/demo.smc"
  startup=$(./scripts/startup_time.sh "$build/tessel" "$build/demo.smc" 11 |
            sed -n 's/.*median \([0-9]*\) ms.*/\1/p')
  peak=$(XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1024x768x24" "$build/peak-rss" "$build/tessel" \
           --startup-time "$build/demo.smc" 2>/dev/null | sed -n 's/^peak-rss-kib //p')
fi

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
{
  echo "Measured by \`make bench\` on $(date -u +%Y-%m-%d), $cpu, $(nproc) cores, $(uname -r);"
  echo "RelWithDebInfo build, CPU time per operation (wall-clock time for the benchmarks named"
  echo ".../real_time), one run of each benchmark. Ratio = reference time / our time; — where"
  echo "the benchmark has no reference of its own."
  echo "Start-up and peak memory: the real program under Xvfb with the demo ROM."
  echo
  echo "| Operation | Benchmark | Ours | Naive reference | Reference | Ratio | Target |"
  echo "|---|---|---:|---|---:|---:|---|"
  awk -F'\t' -v targets="$targets" '
    function base(n,   b) { b = n; sub(/\/.*/, "", b); return b }
    function args(n) { return index(n, "/") ? substr(n, index(n, "/")) : "" }
    function isRef(n,   b) { b = base(n); return b ~ /Naive/ || b ~ /Reference$/ }
    function partner(n,   b) { b = base(n); sub(/_[A-Za-z]*Reference$/, "", b); sub(/Naive/, "", b); return b }
    function goalText(t) { return t >= 1000 ? (t / 1000) " ms" : t " µs" }
    function us(t) { return t >= 1000000 ? sprintf("%.2f s", t / 1000000) : t >= 1000 ? sprintf("%.2f ms", t / 1000) : t >= 10 ? sprintf("%.1f µs", t) : sprintf("%.2f µs", t) }
    BEGIN {
      n = split(targets, lines, "\n")
      for (i = 1; i <= n; i++) { split(lines[i], f, "|"); goal[f[1]] = f[2]; what[f[1]] = f[3] }
    }
    { name[NR] = $1; time[$1] = $2; err[$1] = $3 }
    END {
      for (i = 1; i <= NR; i++) if (isRef(name[i])) refFor[partner(name[i]) args(name[i])] = name[i]
      for (i = 1; i <= NR; i++) {
        r = name[i]
        if (isRef(r)) continue
        b = base(r)
        ref = (b args(r)) in refFor ? refFor[b args(r)] : (b in refFor ? refFor[b] : "")
        if (ref != "") used[ref] = 1
        ours = err[r] != "" ? "failed: " err[r] : us(time[r])
        reft = ref != "" ? us(time[ref]) : "—"
        ratio = (ref != "" && time[r] > 0) ? sprintf("%.1f×", time[ref] / time[r]) : "—"
        target = "—"
        if (goal[b] != "") target = sprintf("≤ %s %s", goalText(goal[b]), (err[r] == "" && time[r] <= goal[b]) ? "met" : "**missed**")
        printf "| %s | `%s` | %s | %s | %s | %s | %s |\n", (b in what ? what[b] : b), r, ours, (ref != "" ? "`" ref "`" : "—"), reft, ratio, target
      }
      for (i = 1; i <= NR; i++)
        if (isRef(name[i]) && !(name[i] in used))
          printf "| (reference without a partner) | — | — | `%s` | %s | — | — |\n", name[i], us(time[name[i]])
    }' "$work/all.tsv"
  if [ -n "$startup" ]; then
    met=$([ "$startup" -le 300 ] && echo met || echo "**missed**")
    echo "| start-up to the first painted window (median of 11) | \`scripts/startup_time.sh\` | $startup ms | — | — | — | ≤ 300 ms $met |"
  else
    echo "| start-up to the first painted window | — | not measured (no xvfb-run or no build/tessel) | — | — | — | ≤ 300 ms |"
  fi
  if [ -n "$peak" ]; then
    echo "| peak memory (max RSS) of that process | \`peak-rss\` | $((peak / 1024)) MiB | — | — | — | — |"
  fi
} >"$build/bench-table.md"

cat "$build/bench-table.md"

if [ -n "$readme" ]; then
  awk -v table="$build/bench-table.md" '
    /<!-- bench-table:start -->/ { print; print ""; print "    make bench"; print ""
                                   while ((getline line < table) > 0) print line
                                   print ""; skip = 1; next }
    /<!-- bench-table:end -->/ { skip = 0 }
    !skip { print }' "$readme" >"$work/readme" && cat "$work/readme" >"$readme"
  echo "updated $readme" >&2
fi
