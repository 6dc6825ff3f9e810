#!/usr/bin/env bash
# A slide show left running over 300 generated textures at the 1-second interval, on a virtual X
# server: prints the viewer's resident memory every 30 seconds, and its growth from the end of the
# first full cycle (300 pictures) to the end of the run.
#   scripts/long-show.sh [SECONDS]     (default 630: two full cycles)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

seconds=${1:-630}
need_packages "${BUILD_PACKAGES[@]}" "${HEADLESS_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"
cmake --preset dev >/dev/null
cmake --build --preset dev --target tamsel-viewer make-samples >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/dev/tools/make-samples --demo "$work/demo" >/dev/null
mkdir "$work/show"
count=0
while ((count < 300)); do
    for file in "$work"/demo/*; do
        ((count < 300)) || break
        cp "$file" "$work/show/$(printf 'pic%03d' "$count").${file##*.}"
        count=$((count + 1))
    done
done

XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    seconds=$1
    build/dev/app/tamsel-viewer "$0" &
    viewer=$!
    sleep 3
    # Slide Show > Display Interval > 1 Sec, then Slide Show > Begin Slide Show, by keyboard.
    xdotool key alt; sleep 0.3; xdotool key Right Down; sleep 0.3; xdotool key Down Down Down Right; sleep 0.3
    xdotool key Return; sleep 0.5
    xdotool key alt; sleep 0.3; xdotool key Right Down; sleep 0.3; xdotool key Return
    start=$(date +%s)
    cycle=""
    while true; do
        now=$(( $(date +%s) - start ))
        rss=$(awk "/VmRSS/ {print \$2}" /proc/$viewer/status)
        title=$(xdotool search --name "Tamsel Image Viewer" getwindowname 2>/dev/null | head -n 1)
        echo "${now} s: ${rss} kB, showing ${title#Tamsel Image Viewer: }"
        if [ -z "$cycle" ] && ((now >= 300)); then cycle=$rss; fi
        ((now >= seconds)) && break
        sleep 30
    done
    kill "$viewer"
    echo "after the first cycle: ${cycle} kB; at the end: ${rss} kB; growth: $(( (rss - cycle) * 1000 / cycle )) per mille"
' "$work/show" "$seconds"
