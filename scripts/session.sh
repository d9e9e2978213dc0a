# Sourced by test.sh and bench/startup.sh. session_start NAME makes a private
# work folder ($work) with a Wine prefix, starts Xvfb and openbox when there
# is no DISPLAY, and sets a trap that stops Wine and every process started
# here (by pid, newest first) and removes the folder on exit.
session_cleanup() {
  timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
  local i
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    kill "${started[i]}" 2>/dev/null || true
    wait "${started[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}

session_start() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  export WINEPREFIX=$work/wine
  started=()
  trap session_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  [ -z "${DISPLAY:-}" ] || return 0
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
