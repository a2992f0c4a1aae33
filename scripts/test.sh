#!/usr/bin/env bash
# Installs what is missing, builds every test once under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them all, then builds the threaded test
# programs under ThreadSanitizer and runs those. Any sanitizer report fails the
# run (tests/sanitize/run says which are ignored and why). The trees are
# $QOV_BUILD-asan and $QOV_BUILD-tsan (build-asan, build-tsan).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
base=${QOV_BUILD:-build}
jobs=$(nproc)

QOV_BUILD=$base-asan QOV_SANITIZE=address scripts/build.sh
ctest --test-dir "$base-asan" --output-on-failure -j "$jobs" --timeout 600

QOV_BUILD=$base-tsan QOV_SANITIZE=thread scripts/build.sh threaded_tests
ctest --test-dir "$base-tsan" --output-on-failure -j "$jobs" --timeout 900 -L threaded
