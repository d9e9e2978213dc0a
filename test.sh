#!/usr/bin/env bash
# Builds with warnings as errors and runs the tests, all of them by default:
#   ./test.sh [PART...]
#   format  clang-format --dry-run over src/ tests/ bench/
#   native  the native unit tests (preset native)
#   fuzz    each fuzz target's corpus replayed (preset fuzz)
#   win64   the Win32 tests and the package tests of the 64-bit build
#   e2e     the end-to-end tests of the 64-bit build
#   win32   the Win32 and end-to-end tests of the 32-bit build that ships (its
#           end-to-end tests borrow Notepad and the probe of the 64-bit build)
# A part builds only what it needs; the whole run builds everything and the
# release packages (scripts/package.sh). The end-to-end tests mostly wait on
# windows, so they (and after them the 32-bit tests) run while the other
# parts build and test, which then run at a lower priority. Every test case
# is a ctest test of its own. Exits non-zero on any failure. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
started_at=$(date +%s)

all_parts=(format native fuzz win64 e2e win32)
usage() {
  echo "usage: $0 [PART...]   PART: ${all_parts[*]} (default: all of them)" >&2
  exit 2
}
for part in "$@"; do
  [[ " ${all_parts[*]} " == *" $part "* ]] || usage
done
parts=()
for part in "${all_parts[@]}"; do
  if [ $# -eq 0 ] || [[ " $* " == *" $part "* ]]; then parts+=("$part"); fi
done
wants() { [[ " ${parts[*]} " == *" $1 "* ]]; }
whole=
if [ ${#parts[@]} -eq ${#all_parts[@]} ]; then whole=1; fi

scripts/setup.sh

status=0
format_failed=
if wants format; then
  echo "== format check (clang-format --dry-run over src/ tests/ bench/)"
  mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
  unformatted=()
  # One process for all files; only when that fails, one per file to name them.
  if ! clang-format --dry-run -Werror "${sources[@]}" >/dev/null 2>&1; then
    for f in "${sources[@]}"; do
      clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
    done
  fi
  if ((${#unformatted[@]})); then
    status=1
    format_failed=1
    echo "FORMAT CHECK FAILED: ${#unformatted[@]} of ${#sources[@]} files are not formatted" \
      "(clang-format -i FILE...):"
    printf '  %s\n' "${unformatted[@]}"
  else
    echo "all ${#sources[@]} files formatted"
  fi
fi

# Beside the end-to-end tests, builds and other tests give way to them.
lower=()
configured=" "
configure() {
  if [[ $configured != *" $1 "* ]]; then
    cmake --preset "$1" -DLUMA_WERROR=ON >/dev/null
    configured+="$1 "
  fi
}
# build PRESET [TARGET...]: all targets when none are named.
build() {
  local preset=$1 t0 targets=()
  shift
  t0=$(date +%s)
  echo "== build $preset${*:+ (${*})}"
  configure "$preset"
  if [ $# -gt 0 ]; then targets=(--target "$@"); fi
  "${lower[@]}" cmake --build --preset "$preset" "${targets[@]}"
  echo "built $preset in $(($(date +%s) - t0)) s"
}

describe() {
  case $1 in
    native) echo "native unit tests" ;;
    fuzz) echo "fuzz targets: each corpus replayed under ASan and UBSan" ;;
    win64) echo "64-bit build: Win32 and package tests under Wine" ;;
    e2e) echo "64-bit build: end-to-end tests under Wine, two sessions at a time" ;;
    win32) echo "32-bit build (the one that ships): Win32 and end-to-end tests under Wine" ;;
  esac
}

# Each part's count ("PASSED FAILED SKIPPED", a line per part), also from
# the parts that run in the background; summed at the end.
counts=$root/build/test-counts
: >"$counts"
# summarize NAME LOG STATUS SECONDS: ctest's summary lines (the log's end on
# failure) and the part's count line.
summarize() {
  local name=$1 log=$2 rc=$3 seconds=$4 line t f s
  if [ "$rc" -eq 0 ]; then
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
    echo "$name: $((t - f - s)) passed, $f failed, $s skipped of $t tests in $seconds s"
    if [ "$name" = win32 ] && [ "$s" -gt 0 ]; then
      echo "WARNING: $s tests of the 32-bit build were SKIPPED: 32-bit Windows programs" \
        "do not run here (see scripts/setup.sh's message)"
    fi
    echo "$((t - f - s)) $f $s" >>"$counts"
  else
    echo "$name: ctest ran no tests"
    status=1
    echo "0 1 0" >>"$counts"
  fi
}

# run_ctest NAME PRESET LOG [CTEST ARGS...]: one part's tests and their count.
run_ctest() {
  local name=$1 preset=$2 log=$3 t0 rc
  shift 3
  echo "== ctest $name ($(describe "$name"))"
  t0=$(date +%s)
  "${lower[@]}" ctest --preset "$preset" --timeout 1500 "$@" >"$log" 2>&1 && rc=0 || rc=$?
  summarize "$name" "$log" "$rc" $(($(date +%s) - t0))
}

if wants win64 || wants e2e || wants win32; then
  # A private Wine prefix for this run, prepared while the 64-bit build
  # builds, and a virtual display for the Win32 tests when there is none.
  # Each end-to-end test class starts a display of its own and a copy of the
  # prefix prepared here (under $work).
  configure win64
  source scripts/session.sh
  session_begin lumatype-test "$root/build/win64"
  # First the end-to-end tests' program, probe and keyboard model (the
  # 32-bit end-to-end tests use this probe and its Wine), so that those
  # tests can start.
  build win64 lumatype probe keymodel
  session_ready
fi

# The schedule. The end-to-end tests mostly wait on windows, so they run in
# the background from when their program is built, beside the builds, which
# then run at a lower priority; the 32-bit tests (the longest part where
# 32-bit code is emulated) follow them once the 32-bit build is there:
#   foreground:  build win64, build win32 | wait e2e, win32 tests, wait others
#   background:  e2e tests                | others: native, fuzz, packages, win64 tests
# Without the end-to-end tests every part runs in the foreground, in order.
# A background job runs in a process group of its own, so that the cleanup
# ends its tests too.
start_job() {
  local -n job_id=$1
  shift
  set -m
  "$@" &
  job_id=$!
  set +m
  started+=("-$job_id")
}
finish_job() {
  local rc=0
  wait "$1" || rc=$?
  session_forget "-$1"
  return "$rc"
}

# A test part whose summary comes at the end: its ctest writes LOG and
# LOG.status ("STATUS START END").
quiet_ctest() {
  local log=$1 t0 rc
  shift
  t0=$(date +%s)
  ctest --timeout 1500 "$@" >"$log" 2>&1 && rc=0 || rc=$?
  echo "$rc $t0 $(date +%s)" >"$log.status"
}
quiet_summary() {
  local name=$1 log=$2 rc t0 t1
  echo "== ctest $name ($(describe "$name"))"
  read -r rc t0 t1 <"$log.status" 2>/dev/null || { rc=1 t0=0 t1=0; echo "(did not run to its end)" >>"$log"; }
  summarize "$name" "$log" "$rc" $((t1 - t0))
}

# The parts after the builds that need no Wine session of their own.
other_parts() {
  if wants native; then
    build native
    run_ctest native native "$root/build/native/ctest.log"
  fi
  if wants fuzz; then
    build fuzz
    run_ctest fuzz fuzz "$root/build/fuzz/ctest.log"
  fi
  if wants win64; then
    echo "== packages (scripts/package.sh)"
    "${lower[@]}" scripts/package.sh
    run_ctest win64 win64 "$root/build/win64/ctest.log" -LE '^e2e$'
  fi
}
other_parts_then_exit() {
  other_parts
  exit "$status"
}

e2e_log=$root/build/win64/ctest-e2e.log
win32_log=$root/build/win32/ctest.log
e2e_job=
other_job=
if wants e2e; then
  echo "== ctest e2e started, beside the other parts ($(describe e2e))"
  if wants win32; then echo "   (then ctest win32, once the 32-bit build is there)"; fi
  rm -f "$e2e_log.status" "$win32_log.status"
  start_job e2e_job quiet_ctest "$e2e_log" --preset win64 -L '^e2e$'
  lower=(nice -n 10)
fi

if wants win64 || [ -n "$whole" ]; then build win64; fi
# Next the 32-bit build, so that its tests can start beside the builds still
# to come.
if [ -n "$whole" ]; then build win32; elif wants win32; then build win32 lumatype win32_tests; fi

if [ -n "$e2e_job" ]; then
  start_job other_job other_parts_then_exit
  finish_job "$e2e_job" || true
  if wants win32; then quiet_ctest "$win32_log" --preset win32; fi
  finish_job "$other_job" || status=1
  lower=()
  quiet_summary e2e "$e2e_log"
  if wants win32; then quiet_summary win32 "$win32_log"; fi
else
  other_parts
  if wants win32; then run_ctest win32 win32 "$win32_log"; fi
fi

if [ -n "$format_failed" ]; then
  echo "FAILED: ${#unformatted[@]} files are not formatted (see the format check above)"
fi
read -r passed failed skipped < <(
  awk '{ p += $1; f += $2; s += $3 } END { print p + 0, f + 0, s + 0 }' "$counts")
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
