#!/usr/bin/env bash
# Configures and builds Orolith in build/ (Release with debug info).
# Usage: scripts/build.sh [TARGET...]   (all targets when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -eq 0 ]; then
  cmake --build build -j"$(nproc)"
else
  for target in "$@"; do
    cmake --build build -j"$(nproc)" --target "$target"
  done
fi
