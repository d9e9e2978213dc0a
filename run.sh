#!/usr/bin/env bash
# Builds Lumatype (preset win64) and starts it under Wine.
# With an X display (DISPLAY set) the keyboard opens there and this command
# returns when its window is closed. Without one, the program is shown on a
# virtual display next to Wine's Notepad, a screenshot is written and its path
# printed, and everything started is stopped again.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target lumatype probe

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting build/win64/lumatype.exe on $DISPLAY"
  exec scripts/wine-run.sh build/win64/lumatype.exe
fi
exec python3 scripts/showcase.py "$@"
