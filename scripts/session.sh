# Sourced by test.sh and bench/. session_start NAME [BUILD_DIR] makes a
# private work folder ($work, exported as LUMA_E2E_TMP), reads the build's
# Wine settings (BUILD_DIR/wine.env, default build/win64: LUMA_WINE_LOADER,
# LUMA_WINESERVER, the fontconfig file that adds Wine's Tahoma), starts Xvfb
# and openbox when there is no DISPLAY, and prepares the run's Wine prefix
# there: made once ($work/prepared-prefix, by the end-to-end fixture), it is
# copied for this session ($work/wine) and for every end-to-end session. A
# wineserver stays up for the whole session (so that no program pays for
# starting it), and a trap stops Wine and every process started here (by
# pid, newest first) and removes the folder on exit.
#
# session_start is session_begin, which leaves the prefix being prepared in
# the background (test.sh builds meanwhile), then session_ready.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

session_cleanup() {
  timeout 20 "$LUMA_WINESERVER" -k 2>/dev/null || true
  local i
  # A negative id is a process group (test.sh's background ctest and its tests).
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    kill -TERM -- "${started[i]}" 2>/dev/null || true
    wait "${started[i]#-}" 2>/dev/null || true
  done
  # A preparation cut short leaves the prepared prefix's own server.
  WINEPREFIX=$work/prepared-prefix timeout 20 "$LUMA_WINESERVER" -k 2>/dev/null || true
  rm -rf "$work"
}

session_start() {
  session_begin "$@"
  session_ready
}

# session_forget ID: a process (or group) that has ended and been waited
# for; its id may soon belong to another process, which the cleanup must
# not kill.
session_forget() {
  local i kept=()
  for i in "${started[@]}"; do
    if [ "$i" != "$1" ]; then kept+=("$i"); fi
  done
  started=("${kept[@]}")
}

session_begin() {
  local build=${2:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win64}
  local fixture
  [ -f "$build/wine.env" ] || { echo "no $build/wine.env: configure that build first" >&2; exit 1; }
  wine_env_read "$build/wine.env"
  export FONTCONFIG_FILE=$LUMA_FONTCONFIG_FILE
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  export WINEPREFIX=$work/wine
  export LUMA_E2E_TMP=$work
  started=()
  trap session_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  [ -n "${DISPLAY:-}" ] || session_start_display
  echo "Preparing a Wine prefix in $WINEPREFIX..."
  fixture=$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lumae2e.py
  LUMA_BUILD_DIR=$build timeout 900 python3 "$fixture" prefix "$WINEPREFIX" \
    >"$work/wineboot.log" 2>&1 &
  session_preparing=$!
  started+=("$session_preparing")
}

session_ready() {
  local rc=0
  wait "$session_preparing" || rc=$?
  session_forget "$session_preparing"
  if [ "$rc" -ne 0 ]; then
    echo "preparing the prefix failed:" >&2
    cat "$work/wineboot.log" "$work/prepared-prefix.log" >&2 || true
    exit 1
  fi
  "$LUMA_WINESERVER" -p
  # Start Wine's own helpers (services, desktop) now: they stay up with the
  # server, and would otherwise hold the output of the first program run,
  # e.g. a ctest test's pipe, open.
  timeout 120 "$LUMA_WINE_LOADER" cmd /c exit >>"$work/wineboot.log" 2>&1 </dev/null || true
}

session_start_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  started+=($!)
  for _ in $(seq 100); do
    grep -q . "$work/display" 2>/dev/null && break
    sleep 0.1
  done
  grep -q . "$work/display" || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  started+=($!)
}
