#!/usr/bin/env bash
# The window at twice the scale (QT_SCALE_FACTOR=2): twice the size, an entry drawn, Chinese in
# a CJK font. Saves BUILD_DIR/desktop-hidpi.png.
# usage: hidpi_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
for tool in Xvfb xdotool fc-match iconv; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
source "$src/tests/desktop/xsession.sh"
source "$src/tests/desktop/common.sh"
work=$(mktemp -d /tmp/qinghe-hidpi-XXXXXX)
trap 'rc=$?; xs_cleanup; rm -rf "$work"; exit $rc' EXIT
fail() { echo "FAIL: $*" >&2; [[ -f $work/program.txt ]] && cat "$work/program.txt" >&2; exit 1; }

# Chinese needs a font that has it; without one Qt draws boxes.
cjk=$(fc-match -f '%{family}' ':lang=zh-cn')
fc-list ':lang=zh-cn' family | grep -q . || fail "no font covers Chinese"
echo "Chinese is drawn in: $cjk"

dt_folder "$build" "$src"
xs_start_x 2400x1600x24
dt_start QT_SCALE_FACTOR=2 LANG=C.UTF-8
window=$(dt_main_window) || fail "no main window"
xdotool windowfocus "$window"
xdotool mousemove --window "$window" 180 264 click 1
sleep 0.5
xdotool type --delay 60 bank
xs_wait dt_page_with bank || fail "no entry of bank"
sleep 1

read -r width height < <(xdotool getwindowgeometry --shell "$window" |
  awk -F= '/^WIDTH/{w=$2} /^HEIGHT/{h=$2} END{print w, h}')
echo "window: ${width}x${height}"
((width >= 2 * 694 && height >= 2 * 547)) || fail "the window is not drawn at twice its size"
read -r gw gh colours < <(env -u QT_SCALE_FACTOR QT_QPA_PLATFORM=xcb \
  "$build/tests/desktop/grab_window" "$build/desktop-hidpi.png" "$window")
echo "screenshot: $build/desktop-hidpi.png, ${gw}x${gh}, $colours colours"
((gw == width && gh == height)) || fail "the screenshot is ${gw}x${gh}"
((colours > 50)) || fail "the window looks blank ($colours colours)"
