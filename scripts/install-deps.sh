#!/usr/bin/env bash
# Installs what building and testing Orolith needs from Debian's packages,
# only when something is missing (apt-get update runs at most once).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libfltk1.3-dev freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  libegl-dev libegl-mesa0
  libgtest-dev
  libcairo2-dev libpango1.0-dev nlohmann-json3-dev
  xvfb xauth imagemagick xdotool x11-utils poppler-utils chromium
  clang libclang-rt-14-dev clang-format clang-tidy
  libgdal-dev
  openmpi-bin libopenmpi-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
