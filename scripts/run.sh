#!/usr/bin/env bash
# Installs what is missing, builds, prints the statistics report of the
# bundled sample against its second DEM, then starts the viewer with the
# sample DEM (offered by the first open dialog).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh orolith
build/app/orolith --report data/alps_dem.grd data/alps_dem2.grd
if [ -n "${DISPLAY:-}" ]; then
  exec build/app/orolith data/alps_dem.grd
else
  echo "No display: set DISPLAY (or run under xvfb-run) to start the viewer."
fi
