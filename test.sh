#!/usr/bin/env bash
# Builds all three presets (native, win64, win32) with warnings as errors and
# runs every test: the native unit tests, then the Win32 and end-to-end tests
# under Wine. Exits non-zero on any failure. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

scripts/setup.sh

for preset in native win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" -DLUMA_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
done

# A private Wine prefix for this run, and a virtual display for the Win32
# tests when there is none. The end-to-end tests start display and prefix of
# their own.
source scripts/session.sh
session_start lumatype-test
export LUMA_E2E_TMP=$work

status=0
passed=0
failed=0
for preset in native win64; do
  echo "== ctest $preset"
  log=$root/build/$preset/ctest.log
  if ctest --preset "$preset" --timeout 1500 >"$log" 2>&1; then
    grep -E 'tests passed|tests failed|Total Test time' "$log" || true
  else
    status=1
    tail -n 400 "$log"
    echo "(full log: $log)"
  fi
  # ctest's own count: "N% tests passed, F tests failed out of T".
  if line=$(grep -E 'tests failed out of [0-9]+' "$log" | tail -n1); then
    t=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    f=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
  else
    failed=$((failed + 1))
  fi
done

if [ "$status" -ne 0 ]; then
  echo "TESTS FAILED"
else
  echo "ALL TESTS PASSED"
fi
echo "ctest: $passed passed, $failed failed"
exit "$status"
