#!/usr/bin/env bash
# Chinese through an input method: IBus with the libpinyin engine under Xvfb. "yinhang" is
# typed into the search box and committed with the space bar; the box must then hold 银行 and
# the entry of 银行 must be shown.
# usage: ime_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
for tool in Xvfb xdotool xclip ibus-daemon ibus dbus-daemon iconv; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
[[ -f /usr/share/ibus/component/libpinyin.xml ]] || { echo "skipped: no ibus-libpinyin"; exit 77; }
source "$src/tests/desktop/xsession.sh"
source "$src/tests/desktop/common.sh"
work=$(mktemp -d /tmp/qinghe-ime-XXXXXX)
trap 'rc=$?; xs_cleanup; rm -rf "$work"; exit $rc' EXIT
fail() { echo "FAIL: $*" >&2; [[ -f $work/program.txt ]] && cat "$work/program.txt" >&2; exit 1; }

dt_folder "$build" "$src"
xs_start_x 1280x1024x24
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export GSETTINGS_BACKEND=memory LANG=C.UTF-8

# A session bus of our own, for IBus and nothing else.
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
xs_track "${bus##*$'\n'}"
ibus-daemon --panel=disable --xim --replace >"$work/ibus.txt" 2>&1 &
xs_track $!
xs_wait ibus address || fail "ibus-daemon did not come up"
xs_wait bash -c 'ibus list-engine | grep -q libpinyin' || fail "the libpinyin engine is not listed"
# `ibus engine NAME` may report failure and still switch; what counts is the engine in use.
use_pinyin() { ibus engine libpinyin || true; [[ $(ibus engine) == libpinyin ]]; }
xs_wait use_pinyin || fail "the libpinyin engine cannot be chosen"

dt_start QT_IM_MODULE=ibus
window=$(dt_main_window) || fail "no main window"
xdotool windowfocus "$window"
# The search box: a click clears its prompt.
xdotool mousemove --window "$window" 90 132 click 1
sleep 0.5
xs_wait use_pinyin || true
xdotool type --delay 80 yinhang
sleep 0.5
xdotool key space
xs_wait dt_page_with 银行 || fail "no entry of 银行 was shown (engine: $(ibus engine || true))"

# What the box holds, through the clipboard.
xdotool key ctrl+a ctrl+c
sleep 0.3
held=$(xclip -o -selection clipboard 2>/dev/null || true)
[[ $held == 银行 ]] || fail "the search box holds '$held'"
echo "passed: yinhang + space -> $held, entry shown"
