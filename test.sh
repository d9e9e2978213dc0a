#!/usr/bin/env bash
# Checks the formatting, builds the presets (native, fuzz, win64, win32) with
# warnings as errors and the release packages (scripts/package.sh), and runs
# every test: the native unit tests, the fuzz targets' corpus replay, then the
# Win32, end-to-end and package tests under Wine of the 64-bit build and the
# Win32 and end-to-end tests of the 32-bit build that ships. Every test case
# is a ctest test of its own. Exits non-zero on any failure. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
started_at=$(date +%s)

scripts/setup.sh

status=0
echo "== format check (clang-format --dry-run over src/ tests/ bench/)"
mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
unformatted=()
for f in "${sources[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
format_failed=
if ((${#unformatted[@]})); then
  status=1
  format_failed=1
  echo "FORMAT CHECK FAILED: ${#unformatted[@]} of ${#sources[@]} files are not formatted" \
    "(clang-format -i FILE...):"
  printf '  %s\n' "${unformatted[@]}"
else
  echo "all ${#sources[@]} files formatted"
fi

for preset in native fuzz win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" -DLUMA_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
done
echo "== packages (scripts/package.sh)"
scripts/package.sh

# A private Wine prefix for this run, and a virtual display for the Win32
# tests when there is none. Each end-to-end test starts a display of its own
# and a copy of one prefix prepared for the whole run (under $work).
source scripts/session.sh
session_start lumatype-test "$root/build/win64"
export LUMA_E2E_TMP=$work

passed=0
failed=0
skipped=0
for preset in native fuzz win64 win32; do
  case $preset in
    native) what="native unit tests" ;;
    fuzz) what="fuzz targets: each corpus replayed under ASan and UBSan" ;;
    win64) what="64-bit build: Win32, end-to-end and package tests under Wine" ;;
    win32) what="32-bit build (the one that ships): Win32 and end-to-end tests under Wine" ;;
  esac
  echo "== ctest $preset ($what)"
  log=$root/build/$preset/ctest.log
  t0=$(date +%s)
  if ctest --preset "$preset" --timeout 1500 >"$log" 2>&1; then
    grep -E 'tests passed|tests failed|Total Test time' "$log" || true
  else
    status=1
    tail -n 400 "$log"
    echo "(full log: $log)"
  fi
  # ctest's own count: "N% tests passed, F tests failed out of T"; skipped
  # tests are among the T and listed as "(Skipped)".
  if line=$(grep -E 'tests failed out of [0-9]+' "$log" | tail -n1); then
    t=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    f=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    s=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)' "$log" || true)
    echo "$preset: $((t - f - s)) passed, $f failed, $s skipped of $t tests in $(($(date +%s) - t0)) s"
    if [ "$preset" = win32 ] && [ "$s" -gt 0 ]; then
      echo "WARNING: $s tests of the 32-bit build were SKIPPED: 32-bit Windows programs" \
        "do not run here (see scripts/setup.sh's message)"
    fi
    passed=$((passed + t - f - s))
    failed=$((failed + f))
    skipped=$((skipped + s))
  else
    echo "$preset: ctest ran no tests"
    status=1
    failed=$((failed + 1))
  fi
done

if [ -n "$format_failed" ]; then
  echo "FAILED: ${#unformatted[@]} files are not formatted (see the format check above)"
fi
if [ "$failed" -ne 0 ]; then
  echo "TESTS FAILED"
elif [ "$status" -ne 0 ]; then
  echo "TESTS PASSED, BUT THE RUN FAILED"
else
  echo "ALL TESTS PASSED"
fi
echo "whole run: $(($(date +%s) - started_at)) s"
summary="ctest: $passed passed, $failed failed"
if [ "$skipped" -gt 0 ]; then summary+=", $skipped skipped"; fi
echo "$summary"
# A failed test fails the run whatever ctest's own exit status said.
if [ "$failed" -ne 0 ]; then status=1; fi
exit "$status"
