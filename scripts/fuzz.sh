#!/usr/bin/env bash
# Fuzzes the host's parsers and the waveform's decoder path with libFuzzer:
#
#   scripts/fuzz.sh [TARGET] [SECONDS]
#
# TARGET is one of tests/fuzz/corpus/* (default: each in turn), SECONDS the
# time for each (default 60). Builds into $QOV_BUILD-fuzz (build-fuzz) with
# clang; what a run finds new goes to build-fuzz/fuzz/TARGET/corpus, what
# fails to build-fuzz/fuzz/TARGET/findings, and every target ends with a line
# of executions per second and coverage. A finding becomes a test once its
# input is copied into tests/fuzz/regressions/TARGET/ beside the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh fuzz
build=${QOV_BUILD:-build}-fuzz
CXX=clang++ QOV_BUILD=$build QOV_SANITIZE=fuzz scripts/build.sh fuzz_targets >/dev/null

if [ -n "${1:-}" ]; then
  targets=("$1")
else
  targets=()
  for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
seconds=${2:-60}

failed=()
for target in "${targets[@]}"; do
  work=$build/fuzz/$target
  mkdir -p "$work/corpus" "$work/findings"
  regressions=()
  [ -d "tests/fuzz/regressions/$target" ] && regressions=("tests/fuzz/regressions/$target")
  echo "== $target, ${seconds}s"
  if ! ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}" "$build/fuzz/fuzz_$target" \
      "$work/corpus" "tests/fuzz/corpus/$target" "${regressions[@]}" \
      -dict="tests/fuzz/$target.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$work/findings/" -print_final_stats=1 >"$work/log" 2>&1; then
    failed+=("$target")
    tail -n 40 "$work/log"
  fi
  summary=$(sed -n 's/^#[0-9]*[[:space:]]*DONE[[:space:]]*//p' "$work/log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec:[[:space:]]*//p' "$work/log")
  echo "$target: ${rate:-?} executions/s; ${summary:-no summary} (log: $work/log)"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "findings in: ${failed[*]} (inputs in $build/fuzz/TARGET/findings)" >&2
  exit 1
fi
