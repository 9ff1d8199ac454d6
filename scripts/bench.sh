#!/usr/bin/env bash
# Builds Orolith and prints the benchmark table of the README.
# Usage: scripts/bench.sh [SIZE...]   (default 500 2000 4000)
# The viewer's frame times are measured under a virtual X server with Mesa's
# software renderer; gdal_translate is timed when gdal-bin is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh orolith orolith-mpi bench_table bench_frames bench_points bench_stream
frames=()
if [ -x build/bench/bench_frames ]; then
  frames=(--frames "$PWD/build/bench/bench_frames")
fi
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" build/bench/bench_table "$PWD/build/app/orolith" "${frames[@]}" "$@"
# Checkpoints and masks (built with GDAL): 1,000,000 points against a
# 4000 x 4000 DEM, a 10,000-vertex polygon burnt onto its grid.
if [ -x build/bench/bench_points ]; then
  build/bench/bench_points "$PWD/build/app/orolith"
fi
# Streaming and MPI (built with GDAL; the MPI part with Open MPI): a
# 60000 x 60000 pair as VRTs of one repeated 4000 x 4000 tile, and 1 against
# 2 processes on a 20000 x 20000 pair. Some ten minutes.
if [ -x build/bench/bench_stream ]; then
  mpi=()
  if [ -x build/app/orolith-mpi ] && command -v mpirun > /dev/null; then
    mpi=("$PWD/build/app/orolith-mpi" "$(command -v mpirun)")
  fi
  build/bench/bench_stream "$PWD/build/app/orolith" "${mpi[@]}"
fi
