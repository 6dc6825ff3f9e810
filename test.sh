#!/usr/bin/env bash
# Builds the viewer and passes every test. The release build, made exactly as the README tells a user,
# serves every test of the installed program: installed into build/stage, it runs on a virtual X server
# under a window manager, on a Wayland compositor, for the thumbnail service and for Qt programs, and it
# makes the Debian package. The development build passes the unit, window, tool and hostile-file tests;
# those pass again under AddressSanitizer (with leak checks) and UndefinedBehaviorSanitizer; then two
# minutes of fuzzing the texture reader. On a fresh Debian 12 machine, run as root, it first installs
# whatever Debian packages are missing.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh

need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${E2E_PACKAGES[@]}"

cmake --preset release
cmake --build --preset release

export QT_QPA_PLATFORM=offscreen
cmake --preset dev
cmake --build --preset dev
ctest --preset dev

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

scripts/fuzz.sh 120
