#!/usr/bin/env bash
# Start-up benchmark: time from process start to the end of the first paint of
# lumatype.exe, against barewindow.exe (a bare Win32 window of the same build).
# Both run under Wine in one prefix and on one display, alternating, N runs
# each; with LUMA_EXIT_AFTER_PAINT set each program exits right after its
# first paint, so the time to exit is the time to first paint plus a constant
# exit cost common to both. Prints both medians and their ratio.
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]   (defaults: build/win64, 7)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
runs=${2:-7}
for exe in lumatype.exe barewindow.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe (build preset win64 first)" >&2; exit 1; }
done

source "$(dirname "$0")/../scripts/session.sh"
session_start lumatype-bench
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# The settings file lands next to the program: run copies in a folder of their own.
mkdir -p "$work/bin"
cp "$build/lumatype.exe" "$build/barewindow.exe" "$work/bin/"

echo "Preparing the Wine prefix..."
timeout 180 "$wine" wineboot -i >/dev/null 2>&1
timeout 60 "$wineserver" -w || true
# Keep one wineserver for all runs, so that no run pays for starting it.
"$wineserver" -p || true
# One untimed run of each warms the caches.
export LUMA_EXIT_AFTER_PAINT=1
for exe in lumatype.exe barewindow.exe; do
  timeout 60 "$wine" "$work/bin/$exe" >/dev/null 2>&1 || true
done

run_ms() {
  local start end
  start=$(date +%s%N)
  if ! timeout 60 "$wine" "$work/bin/$1" >/dev/null 2>&1; then
    echo "$1 did not exit after its first paint" >&2
    return 1
  fi
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

luma=() bare=()
for ((i = 1; i <= runs; i++)); do
  luma+=("$(run_ms lumatype.exe)")
  bare+=("$(run_ms barewindow.exe)")
done

python3 - "${luma[*]}" "${bare[*]}" <<'PY'
import statistics, sys
luma = [int(v) / 1000 for v in sys.argv[1].split()]
bare = [int(v) / 1000 for v in sys.argv[2].split()]
ml, mb = statistics.median(luma), statistics.median(bare)
print("start-up to first paint under Wine, %d runs each (ms):" % len(luma))
print("  lumatype.exe   runs %s" % " ".join("%.0f" % v for v in luma))
print("  barewindow.exe runs %s" % " ".join("%.0f" % v for v in bare))
print("  median lumatype.exe   %.1f ms" % ml)
print("  median barewindow.exe %.1f ms" % mb)
print("  ratio lumatype / barewindow %.2f" % (ml / mb))
PY
