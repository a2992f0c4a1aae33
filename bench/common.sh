# Sourced by the bench scripts, as `. bench/common.sh TARGET`: from the
# repository's root, builds the benchmark program TARGET in $build (QOV_BUILD,
# default build), configuring that folder first if it is new.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${QOV_BUILD:-build}"
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "$1" >/dev/null
