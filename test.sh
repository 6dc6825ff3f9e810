#!/usr/bin/env bash
# Builds the viewer and passes every test: the whole suite in an optimised build, with the end-to-end
# tests of the real program on a virtual X server; again, without those, under AddressSanitizer (with
# leak checks) and UndefinedBehaviorSanitizer; then two minutes of fuzzing the texture reader. On a
# fresh Debian 12 machine, run as root, it first installs whatever Debian packages are missing.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh

need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${E2E_PACKAGES[@]}"

export QT_QPA_PLATFORM=offscreen
cmake --preset dev
cmake --build --preset dev
ctest --preset dev

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

scripts/fuzz.sh 120
