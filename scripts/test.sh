#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. The GUI tests
# draw real windows, so the whole run goes under a virtual X server with
# Mesa's software renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export LIBGL_ALWAYS_SOFTWARE=1
cd build
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j2 "$@"
