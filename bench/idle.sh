#!/usr/bin/env bash
# Idle benchmark: what lumatype.exe costs while nobody uses it, against
# barewindow.exe (a bare Win32 window of the same build). Each program runs
# under Wine on one display, first shown and then minimised; after a short
# settling time its process is watched for SECONDS seconds: CPU time
# (utime + stime of /proc/PID/stat) and context switches (voluntary and
# involuntary, summed over the process's threads from /proc/PID/task/*/status).
#
# Usage: bench/idle.sh [BUILD_DIR] [SECONDS]   (defaults: build/win64, 20)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
seconds=${2:-20}
for exe in lumatype.exe barewindow.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe (build preset win64 first)" >&2; exit 1; }
done

source "$root/scripts/session.sh"
session_start lumatype-idle "$build"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$LUMA_WINE_LOADER
wineserver=$LUMA_WINESERVER

# The settings file lands next to the program: run copies in a folder of their own.
mkdir -p "$work/bin"
cp "$build/lumatype.exe" "$build/barewindow.exe" "$work/bin/"


# The Wine process that runs the program: its command line (NUL-padded by
# Wine) ends with the program's path, the copy in this run's own folder.
program_pid() {
  local path=$1 pid cmd
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    cmd=$(tr -s '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") || continue
    [[ ${cmd% } == *"$path" ]] && { echo "$pid"; return 0; }
  done
  return 1
}

# "cpu_ticks run_ns switches" of a process right now; run_ns is the time on
# a CPU in nanoseconds (schedstat), finer than the clock ticks.
sample() {
  local pid=$1 ticks ns=0 switches=0 f
  ticks=$(awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat")
  for f in /proc/"$pid"/task/*; do
    ns=$((ns + $(cut -d' ' -f1 "$f/schedstat")))
    switches=$((switches + $(awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n }' "$f/status")))
  done
  echo "$ticks $ns $switches"
}

results=()
measure() {
  local exe=$1 title=$2 mode=$3 pid win before after launcher
  "$wine" "$work/bin/$exe" >/dev/null 2>&1 &
  launcher=$!
  started+=("$launcher")
  win=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -n1)
  [ -n "$win" ] || { echo "$exe: no window" >&2; exit 1; }
  pid=$(program_pid "$work/bin/$exe") || { echo "$exe: no process" >&2; exit 1; }
  if [ "$mode" = minimised ]; then
    xdotool windowminimize "$win"
    for _ in $(seq 50); do
      xprop -id "$win" WM_STATE 2>/dev/null | grep -q Iconic && break
      sleep 0.1
    done
    xprop -id "$win" WM_STATE | grep -q Iconic || { echo "$exe: not minimised" >&2; exit 1; }
  fi
  sleep 2
  before=$(sample "$pid")
  sleep "$seconds"
  after=$(sample "$pid")
  results+=("$exe $mode $before $after")
  kill "$pid" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
}

for mode in shown minimised; do
  measure lumatype.exe Lumatype "$mode"
  measure barewindow.exe Bare "$mode"
done

python3 - "$seconds" "$(getconf CLK_TCK)" "${results[@]}" <<'PY'
import sys
seconds, hz = float(sys.argv[1]), int(sys.argv[2])
rows = {}
for line in sys.argv[3:]:
    exe, mode, t0, n0, s0, t1, n1, s1 = line.split()
    rows[(exe, mode)] = ((int(t1) - int(t0)) * 1000 / hz, (int(n1) - int(n0)) / 1e6,
                         int(s1) - int(s0))
print("idle under Wine, %.0f s each, the program's process (all threads):" % seconds)
print("  %-9s %-14s %13s %12s %17s" % ("", "", "utime+stime", "on CPU", "context switches"))
for mode in ("shown", "minimised"):
    for exe in ("lumatype.exe", "barewindow.exe"):
        cpu, run, sw = rows[(exe, mode)]
        print("  %-9s %-14s %10.0f ms %9.1f ms %7d (%4.1f/s)" % (mode, exe, cpu, run, sw, sw / seconds))
PY
