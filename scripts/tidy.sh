#!/usr/bin/env bash
# Runs clang-tidy with the repository's checks (.clang-tidy) over the product's and tools' sources,
# using the dev build's compile commands. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
need_packages "${BUILD_PACKAGES[@]}" clang-tidy
cmake --preset dev >/dev/null
cmake --build --preset dev >/dev/null
git ls-files 'src/*.cpp' 'tools/*.cpp' 'app/*.cpp' | xargs -P "$(nproc)" -n 4 clang-tidy -p build/dev --quiet
