#!/usr/bin/env bash
# Installs every Debian package the project needs; does nothing when all are present. With --bench,
# also what the benchmarks run beside ours (the LÖVE anchor of bench/AnchorRun.h).
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config clang libclang-rt-dev lld
  libgtest-dev libgmock-dev libbenchmark-dev
  liblua5.2-dev libluabind-dev libboost-dev
  libtinyxml-dev libpugixml-dev
  libpng-dev zlib1g-dev libjpeg-dev
  libfreetype-dev fonts-dejavu-core
  libsdl2-dev libsdl2-mixer-dev libsndfile1-dev
  libgl-dev libgl1-mesa-dri libegl1 libegl-mesa0
  p7zip-full python3
  xvfb xauth
)
if [ "${1:-}" = "--bench" ]; then
  PACKAGES+=(love)
fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
