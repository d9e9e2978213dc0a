#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private prefix.
# ctest uses this as the emulator for the Windows test programs.
set -euo pipefail
: "${WINEPREFIX:=${LUMA_WINEPREFIX:-${TMPDIR:-/tmp}/lumatype-wine-$(id -u)}}"
export WINEPREFIX WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
