#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need;
# `scripts/deps.sh fuzz` also what scripts/fuzz.sh needs (clang, libFuzzer).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libtag1-dev libsqlite3-dev
  libgtest-dev libbenchmark-dev
  libasound2-dev zlib1g-dev
  ffmpeg unzip openssl fonts-dejavu-core sqlite3
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev llvm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
