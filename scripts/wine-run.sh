#!/usr/bin/env bash
# Runs a Windows program of a build folder under Wine, with the Wine loader
# that build was configured with (build/<preset>/wine.env, written by CMake)
# and in a private prefix. ctest uses this as the Windows programs' emulator.
#
# Usage: scripts/wine-run.sh build/<preset>/PROGRAM.exe [ARGS...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 PROGRAM.exe [ARGS...]" >&2; exit 2; }
env_file=$(dirname "$1")/wine.env
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ -f "$env_file" ]; then
  wine_env_read "$env_file"
elif [ -z "${LUMA_WINE_LOADER:-}" ]; then
  echo "$0: no $env_file (configure the build first, or set LUMA_WINE_LOADER)" >&2
  exit 2
fi
: "${WINEPREFIX:=${LUMA_WINEPREFIX:-${TMPDIR:-/tmp}/lumatype-wine-$(id -u)}}"
: "${FONTCONFIG_FILE:=${LUMA_FONTCONFIG_FILE:-}}"
[ -n "$FONTCONFIG_FILE" ] || unset FONTCONFIG_FILE
export WINEPREFIX WINEDEBUG=-all FONTCONFIG_FILE
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "$LUMA_WINE_LOADER" "$@"
