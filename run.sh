#!/usr/bin/env bash
# Builds the viewer and starts it, with any arguments passed on. On a machine without a display it
# runs the viewer under a virtual X server for a few seconds and saves a screenshot of it instead.
set -euo pipefail
# A path is taken as the caller typed it: relative to the folder the command was given in.
arguments=()
for argument in "$@"; do
    case "$argument" in
        -* | /*) arguments+=("$argument") ;;
        *) arguments+=("$PWD/$argument") ;;
    esac
done
set -- "${arguments[@]+"${arguments[@]}"}"
cd "$(dirname "$0")"
. scripts/common.sh

need_packages "${BUILD_PACKAGES[@]}"
cmake --preset dev >/dev/null
cmake --build --preset dev --target tamsel-viewer
viewer=build/dev/app/tamsel-viewer

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$viewer" "$@"
fi

need_packages "${HEADLESS_PACKAGES[@]}"
shot="$PWD/screenshot.png"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$0" "${@:2}" &
    viewer=$!
    sleep 3
    import -window root "$1"
    kill "$viewer"
' "$viewer" "$shot" "$@"
echo "No display here: the viewer ran under Xvfb, and its window is in $shot"
