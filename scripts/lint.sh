#!/usr/bin/env bash
# The code's layout (.clang-format) and its checks (.clang-tidy: naming,
# bugprone, performance) over the production code; any difference or
# warning fails. Uses the compile commands of build/ (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
[ -f build/compile_commands.json ] || scripts/build.sh
mapfile -t all < <(git ls-files '*.h' '*.cpp' | grep -v '^fuzz/corpus/\|^fuzz/regressions/')
clang-format --dry-run --Werror "${all[@]}"
mapfile -t sources < <(git ls-files 'model/*.cpp' 'render/*.cpp' 'report/*.cpp' 'dialogs/*.cpp' 'app/*.cpp' | grep -v '^model/gdal/')
out=$(run-clang-tidy -p build -j "$(nproc)" -quiet "${sources[@]}" 2>&1) || { echo "$out"; exit 1; }
if grep -q "warning:" <<<"$out"; then
  grep -A3 "warning:" <<<"$out"
  exit 1
fi
echo "lint: clean"
