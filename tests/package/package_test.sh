#!/usr/bin/env bash
# The Debian package as a user meets it: built from the sample dictionary, installed with
# apt-get, started by an ordinary user under Xvfb, a word looked up, then removed. Pages and
# the first-run marker must land in that user's folders, nothing may be written under /usr,
# and removal must leave no file behind. Needs root (exit 77 skips otherwise).
# usage: package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
if ((EUID != 0)); then echo "skipped: needs root"; exit 77; fi
for tool in apt-get dpkg-deb lintian desktop-file-validate appstreamcli Xvfb xdotool runuser; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
source "$src/tests/desktop/xsession.sh"

package=qinghe-dict
user=qinghe-pkgtest
work=$(mktemp -d /tmp/qinghe-package-XXXXXX)
installed_by_us=0
apt_opts=(-y -qq -o DPkg::Lock::Timeout=300)

cleanup() {
  local rc=$?
  xs_cleanup
  if id "$user" >/dev/null 2>&1; then
    # Anything the program left running as that user, ended by its id.
    local proc
    for proc in /proc/[0-9]*; do
      [[ $(stat -c %U "$proc" 2>/dev/null) == "$user" ]] && kill -KILL "${proc#/proc/}" 2>/dev/null || true
    done
    userdel -r "$user" >/dev/null 2>&1 || true
  fi
  if ((installed_by_us)) && dpkg-query -W "$package" >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get purge "${apt_opts[@]}" "$package" >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
  exit "$rc"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "[$((SECONDS))s] $*"; }

if dpkg-query -W "$package" >/dev/null 2>&1; then
  echo "skipped: $package is installed on this machine already"; exit 77
fi
if id "$user" >/dev/null 2>&1; then userdel -r "$user" >/dev/null 2>&1 || true; fi

step "sample dictionary"
"$build/tools/enci-build" "$src/tools/sample/src" "$work/dict" >/dev/null
step "package"
deb=$(bash "$src/scripts/make-package.sh" --build "$build" --dictionary "$work/dict" \
      --output "$work/out" | tail -n 1)
[[ -f $deb ]] || fail "no package was made"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

step "package fields"
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
for lib in libqt6widgets6 libqt6texttospeech6 libsqlcipher0 libc6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib"
done
[[ $recommends == *fcitx5-frontend-qt6* ]] || fail "Recommends lacks fcitx5-frontend-qt6"

step "lintian"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then fail "lintian reports errors"; fi
echo "lintian: $(grep -c '^W: ' "$work/lintian.txt" || true) warnings, 0 errors"

step "install"
dpkg-query -W -f '${Package}\n' | sort >"$work/before"
installed_by_us=1
# Recommends are left out: this machine has its own input method and speech set-up, and the
# test must leave the machine's package set as it found it.
DEBIAN_FRONTEND=noninteractive apt-get install "${apt_opts[@]}" --no-install-recommends "$deb" \
  >"$work/apt.txt" 2>&1 || { cat "$work/apt.txt"; fail "apt-get install failed"; }
for f in /usr/bin/qinghe-dict /usr/lib/qinghe-dict/qinghe-dict /usr/share/qinghe-dict/enci.edt \
         /usr/share/qinghe-dict/enci.dbf /usr/share/qinghe-dict/html/encd.css \
         /usr/share/applications/qinghe-dict.desktop \
         /usr/share/icons/hicolor/scalable/apps/qinghe-dict.svg \
         /usr/share/icons/hicolor/48x48/apps/qinghe-dict.png \
         /usr/share/metainfo/example.qinghe.dictionary.metainfo.xml; do
  [[ -e $f ]] || fail "$f was not installed"
done
desktop-file-validate /usr/share/applications/qinghe-dict.desktop || fail "desktop file"
appstreamcli validate --no-net /usr/share/metainfo/example.qinghe.dictionary.metainfo.xml ||
  fail "metainfo"
dpkg -L "$package" | sort >"$work/files"
touch "$work/stamp"
sleep 1

step "an ordinary user starts it"
useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
xs_start_x 1280x1024x24
as_user() {
  runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
    LANG=C.UTF-8 DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb "$@"
}
cd /
as_user qinghe-dict >"$work/program.txt" 2>&1 &
xs_track $!
# The first-run question: 是(Y) is the default button, so Return asks for a shortcut.
question=$(xs_window "确认")
xdotool windowfocus "$question"
sleep 0.3
xdotool key Return
window=$(xs_window "青禾英语词典 (英汉-汉英 双解词典)")
xdotool windowfocus "$window"
# The search box: a click clears its prompt; then the word, typed.
xdotool mousemove --window "$window" 90 132 click 1
sleep 0.3
xdotool type --delay 60 bank

step "pages in the user's cache"
cache="$home/.cache/qinghe-dict/html"
has_bank() { grep -l '<p class="word">bank</p>' "$cache"/*.html; }
xs_wait has_bank || { cat "$work/program.txt"; ls -la "$cache" || true; fail "no page for bank"; }
[[ -f $cache/encd.css ]] || fail "the style sheet was not copied to the cache"
cmp -s "$cache/encd.css" /usr/share/qinghe-dict/html/encd.css || fail "style sheet differs"
[[ $(stat -c %U "$cache/1.html") == "$user" ]] || fail "pages not owned by the user"
[[ $(cat "$home/.config/qinghe-dict/ado.dll") == ok ]] || fail "no first-run marker"
# No desktop folder for a new user: the shortcut goes to the application menu.
shortcut="$home/.local/share/applications/青禾英语词典.desktop"
[[ -f $shortcut ]] || fail "no shortcut in the application menu"
desktop-file-validate "$shortcut" || fail "the shortcut does not validate"
grep -q '^Exec="/usr/bin/qinghe-dict"$' "$shortcut" || fail "the shortcut does not start the launcher"
written=$(find /usr -xdev -newer "$work/stamp" -not -path '*/__pycache__*' -print 2>/dev/null || true)
[[ -z $written ]] || fail "written under /usr: $written"
[[ $(dpkg -L "$package" | sort) == "$(cat "$work/files")" ]] || fail "the package's files changed"
xs_cleanup

step "removal"
DEBIAN_FRONTEND=noninteractive apt-get purge "${apt_opts[@]}" "$package" >"$work/apt.txt" 2>&1 ||
  { cat "$work/apt.txt"; fail "apt-get purge failed"; }
installed_by_us=0
while read -r f; do
  [[ $f == / || $f == /. ]] && continue
  if [[ -e $f && ! -d $f ]]; then fail "$f is left after removal"; fi
done <"$work/files"
for d in /usr/share/qinghe-dict /usr/lib/qinghe-dict /usr/share/doc/qinghe-dict; do
  [[ ! -e $d ]] || fail "$d is left after removal"
done
dpkg-query -W -f '${Package}\n' | sort >"$work/after"
[[ $(comm -13 "$work/before" "$work/after") == '' ]] || fail "packages left: $(comm -13 "$work/before" "$work/after")"
step "passed"
