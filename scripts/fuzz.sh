#!/usr/bin/env bash
# Fuzzes the grid reader with libFuzzer (clang) for a bounded time.
# Usage: scripts/fuzz.sh [SECONDS] [libFuzzer options...]   (default 60 s)
# The seed corpus is fuzz/corpus; inputs that once crashed the reader are
# in fuzz/regressions and run first. New findings land in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
scripts/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOROLITH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_gridreader
mkdir -p build-fuzz/corpus build-fuzz/findings
cp -n fuzz/corpus/* build-fuzz/corpus/ 2>/dev/null || true
# Every regression input must still pass.
if compgen -G "fuzz/regressions/*" >/dev/null; then
  build-fuzz/fuzz/fuzz_gridreader fuzz/regressions/*
fi
build-fuzz/fuzz/fuzz_gridreader build-fuzz/corpus fuzz/corpus \
  -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix=build-fuzz/findings/ -print_final_stats=1 "$@"
