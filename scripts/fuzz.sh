#!/usr/bin/env bash
# Fuzzes every target of tests/fuzz/ for SECONDS each (default 60), one after
# the other, starting from its seed corpus (tests/fuzz/corpus/<name>/, only
# read). New inputs go to build/fuzz/corpus/<name>/, crashes and broken
# invariants to build/fuzz/artifacts/<name>/; copy a finding into the seed
# corpus together with its fix. Prints the executions per target and exits
# non-zero when any target found something.
#
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

if (($#)); then targets=("$@"); else
  targets=()
  for f in tests/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

status=0
summary=()
for name in "${targets[@]}"; do
  work=build/fuzz/corpus/$name
  artifacts=build/fuzz/artifacts/$name
  log=build/fuzz/$name.log
  mkdir -p "$work" "$artifacts"
  echo "== fuzz $name for $seconds s (log: $log)"
  result=clean
  # Layout descriptions are the longest texts; the built-in one is ~2.5 KB.
  max_len=4096
  [ "$name" != layout_loader ] || max_len=16384
  if ! "build/fuzz/fuzz_$name" "$work" "tests/fuzz/corpus/$name" -max_total_time="$seconds" \
    -max_len="$max_len" -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    >"$log" 2>&1; then
    result="FOUND SOMETHING: $(ls "$artifacts" | tr '\n' ' ')"
    status=1
    grep -E 'invariant broken|ERROR: |SUMMARY: ' "$log" | head -n 5 || true
  fi
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -n1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n1 || true)
  summary+=("$name: ${runs:-?} executions in $seconds s, $cov, corpus $(ls "$work" | wc -l) files: $result")
done
echo "== summary"
printf '%s\n' "${summary[@]}"
exit "$status"
