#!/usr/bin/env bash
# Starts the viewer again and again on one virtual X screen under openbox and says, for each start,
# where openbox framed the window once it settled: misplaced unless at 0,0; the wrong size unless as
# wide as the screen and as high or a pixel less. With --busy, a process keeps one core busy meanwhile.
#   scripts/placement-starts.sh [WIDTHxHEIGHT] [STARTS] [--busy]     (default 1920x1080, 40)
# The viewer's environment passes through, so that QT_SCALE_FACTOR=2 scripts/placement-starts.sh ...
# shows the window scaled; VIEWER=path starts that binary instead of the dev build's, to compare builds.
# Prints one line a start and, last, how many starts were misplaced.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

size=${1:-1920x1080}
starts=${2:-40}
busy=${3:-}
width=${size%x*}
height=${size#*x}
need_packages "${E2E_PACKAGES[@]}"
if [ -z "${VIEWER:-}" ]; then
    need_packages "${BUILD_PACKAGES[@]}"
    cmake --preset dev >/dev/null
    cmake --build --preset dev --target tamsel-viewer >/dev/null
    VIEWER=build/dev/app/tamsel-viewer
fi

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
# Xvfb picks a free display and writes its number to the descriptor given.
exec 3< <(exec Xvfb -displayfd 1 -noreset -screen 0 "${size}x24" 2>/dev/null)
pids+=($!)
read -r display <&3
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
pids+=($!)
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.05; done
if [ "$busy" = --busy ]; then
    taskset -c 0 sh -c 'while :; do :; done' &
    pids+=($!)
fi

# The frame's rectangle as "x,y widthxheight": the window's own, with the extents openbox gives it.
frame() {
    local info extents left right top bottom
    info=$(xwininfo -id "$1" 2>/dev/null) || return 0
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
    IFS=', ' read -r left right top bottom <<<"${extents:-0, 0, 0, 0}"
    awk -v l="$left" -v r="$right" -v t="$top" -v b="$bottom" '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF}
        END {printf "%d,%d %dx%d\n", x - l, y - t, w + l + r, h + t + b}' <<<"$info"
}
covers() { [ "$1" = "0,0 ${width}x$((height - 1))" ] || [ "$1" = "0,0 ${width}x${height}" ]; }

misplaced=0
missized=0
for start in $(seq 1 "$starts"); do
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$VIEWER" &
    viewer=$!
    window=""
    for _ in $(seq 1 200); do
        window=$(xdotool search --all --onlyvisible --pid "$viewer" --name '^Tamsel Image Viewer' 2>/dev/null |
            head -n 1) && [ -n "$window" ] && break
        sleep 0.05
    done
    # Until the frame covers the screen or has not changed for 2 seconds, 10 seconds at most; then it is
    # judged a second later.
    seen=""
    same=0
    for _ in $(seq 1 100); do
        last=$seen
        seen=$(frame "$window")
        covers "$seen" && break
        if [ "$seen" = "$last" ]; then same=$((same + 1)); else same=0; fi
        ((same < 20)) || break
        sleep 0.1
    done
    sleep 1
    seen=$(frame "$window")
    verdict=""
    if [ "${seen%% *}" != 0,0 ]; then
        verdict=" MISPLACED"
        misplaced=$((misplaced + 1))
    elif ! covers "$seen"; then
        verdict=" the wrong size"
        missized=$((missized + 1))
    fi
    echo "start $start: frame $seen$verdict"
    kill "$viewer"
    wait "$viewer" 2>/dev/null || true
done
echo "$size${busy:+ with a busy core}${QT_SCALE_FACTOR:+ at scale $QT_SCALE_FACTOR}: $misplaced of $starts starts" \
    "misplaced, $missized more at 0,0 but the wrong size"
