#!/usr/bin/env bash
# Soak and load run of lumatype.exe under Wine with Notepad: thousands of
# seeded random clicks whose text is checked, held keys, a few hundred window
# sizes; objects and memory early and late. About 10 minutes with the defaults.
#
# Usage: bench/soak.sh [--clicks N] [--holds N] [--hold-seconds S] [--resizes N] [--seed N]
#        (bench/soak.py --help for all); needs preset win64 built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMA_BUILD_DIR:-$root/build/win64}
for exe in lumatype.exe probe.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe (build preset win64 first)" >&2; exit 1; }
done
export LUMA_BUILD_DIR=$build
exec python3 "$root/bench/soak.py" "$@"
