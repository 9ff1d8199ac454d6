#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. The GUI tests
# draw real windows, so the whole run goes under a virtual X server with
# Mesa's software renderer.
#   scripts/test.sh          the test suite (build/)
#   scripts/test.sh --full   then the suite again under AddressSanitizer,
#                            LeakSanitizer and UndefinedBehaviorSanitizer
#                            (build-sanitize/), and a one-minute fuzz run
#                            of the grid reader, and the layout and
#                            lint checks (scripts/lint.sh), as CI does
set -euo pipefail
cd "$(dirname "$0")/.."
full=0
if [ "${1:-}" = "--full" ]; then
  full=1
  shift
fi
scripts/install-deps.sh
scripts/build.sh
export LIBGL_ALWAYS_SOFTWARE=1
(cd build && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j2 "$@")
if [ $full -eq 1 ]; then
  scripts/lint.sh
  scripts/sanitize.sh "$@"
  scripts/fuzz.sh 60
fi
