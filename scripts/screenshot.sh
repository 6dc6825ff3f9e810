#!/usr/bin/env bash
# Makes the README's picture: the viewer under a virtual X server, showing the first thumbnail page
# of a folder of generated textures and one photo-like JPEG, saved small as docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

need_packages "${BUILD_PACKAGES[@]}" "${HEADLESS_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"
cmake --preset dev >/dev/null
cmake --build --preset dev --target tamsel-viewer make-samples

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/dev/tools/make-samples --demo "$work/demo"
convert -size 4000x3000 -seed 7 plasma:fractal -blur 0x2 -quality 90 "$work/demo/a-photo.jpg"

XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    build/dev/app/tamsel-viewer "$1" &
    viewer=$!
    sleep 3
    # File menu, "Thumbnail View": the menu bar takes the keyboard when Alt is pressed alone.
    xdotool key alt; sleep 0.3; xdotool key Down; sleep 0.3; xdotool key Down Return
    sleep 3
    import -window root "$2"
    kill "$viewer"
' _ "$work/demo" "$work/shot.png"
convert "$work/shot.png" -resize 800x -strip docs/screenshot.png
echo "Wrote docs/screenshot.png"
