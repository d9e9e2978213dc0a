#!/usr/bin/env bash
# Start-up benchmark: time from process start to the first paint of
# lumatype.exe, against barewindow.exe (a bare Win32 window of the same build
# that draws the same key outline). The clock is outside the programs: the
# probe starts each one and watches the screen until the window "TMainForm"
# (or "BareWindow") shows the key border color at the Esc key's left edge,
# then closes it. Both run in one prefix and on one display, alternating,
# N runs each. Prints both medians, their ratio and the median of the
# ratios of the runs.
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]   (defaults: build/win64, 31;
# build/win32 measures the 32-bit programs, with the 64-bit build's probe)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
runs=${2:-31}
for exe in lumatype.exe barewindow.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe (build that preset first)" >&2; exit 1; }
done

source "$root/scripts/session.sh"
session_start lumatype-bench "$build"
# The probe is one of the test tools, built by the 64-bit preset only.
probe=$build/probe.exe
[ -f "$probe" ] || probe=${LUMA_WINE_TOOLS_BUILD:-$root/build/win64}/probe.exe
[ -f "$probe" ] || { echo "missing probe.exe (build preset win64 first)" >&2; exit 1; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$LUMA_WINE_LOADER
# The key border's color in the first color scheme; the Esc key's left edge.
border=7AA0DA x=0 y=15

# Settings files land next to the programs: run copies in a folder of their own.
mkdir -p "$work/bin"
cp "$build/lumatype.exe" "$build/barewindow.exe" "$probe" "$work/bin/"

run_ms() {
  local out
  if ! out=$(timeout 120 "$wine" "$work/bin/probe.exe" startup "$(winepath_of "$1")" "$2" \
    "$x" "$y" "$border" 60000 2>/dev/null); then
    echo "$1: no first paint seen" >&2
    return 1
  fi
  sed -n 's/^first_paint_ms=//p' <<<"$out" | tr -d '\r'
  # The ended program's windows and threads are still being torn down by the
  # server and the display: the next start should not share the machine with that.
  sleep 0.3
}
winepath_of() { echo "Z:${1//\//\\}"; }

# One untimed run of each warms the caches.
run_ms "$work/bin/lumatype.exe" TMainForm >/dev/null || true
run_ms "$work/bin/barewindow.exe" BareWindow >/dev/null || true

luma=() bare=()
# Each goes first in every other pair, so that neither always starts on
# what the other left behind.
for ((i = 1; i <= runs; i++)); do
  if ((i % 2)); then
    luma+=("$(run_ms "$work/bin/lumatype.exe" TMainForm)")
    bare+=("$(run_ms "$work/bin/barewindow.exe" BareWindow)")
  else
    bare+=("$(run_ms "$work/bin/barewindow.exe" BareWindow)")
    luma+=("$(run_ms "$work/bin/lumatype.exe" TMainForm)")
  fi
done

python3 - "${luma[*]}" "${bare[*]}" <<'PY'
import statistics, sys
luma = [float(v) for v in sys.argv[1].split()]
bare = [float(v) for v in sys.argv[2].split()]
ml, mb = statistics.median(luma), statistics.median(bare)
print("start-up to first paint under Wine, %d runs each (ms):" % len(luma))
print("  lumatype.exe   runs %s" % " ".join("%.0f" % v for v in luma))
print("  barewindow.exe runs %s" % " ".join("%.0f" % v for v in bare))
print("  median lumatype.exe   %.1f ms" % ml)
print("  median barewindow.exe %.1f ms" % mb)
print("  ratio lumatype / barewindow %.2f" % (ml / mb))
# Each pair ran back to back, under the same load: on a busy machine the
# median of the pairs' ratios moves less than the ratio of the medians.
pairs = [l / b for l, b in zip(luma, bare)]
print("  median of the runs' ratios %.2f" % statistics.median(pairs))
PY
