# Shared by the desktop tests (sourced): a portable program folder over the sample dictionary
# in $work, with the first-run marker in place, and the program started there.
#   dt_folder BUILD_DIR SOURCE_DIR   lays out $work/dict (program, stores, html/, marker)
#   dt_start [ENV=VALUE...]          starts the program there under $DISPLAY; prints nothing
#   dt_main_window                   prints the main window's id once it is shown
#   dt_page_with WORD                succeeds when a page of the ring shows WORD (UTF-8)

dt_folder() {
  local build=$1 src=$2
  "$build/tools/enci-build" "$src/tools/sample/src" "$work/dict" >/dev/null
  cp "$build/app/qinghe-dict" "$work/dict/"
  printf ok >"$work/dict/ado.dll"
  mkdir -p "$work/home"
}

dt_start() {
  (cd "$work/dict" && exec env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
     XDG_CACHE_HOME="$work/home/.cache" QT_QPA_PLATFORM=xcb "$@" ./qinghe-dict \
     >"$work/program.txt" 2>&1) &
  xs_track $!
}

dt_main_window() { xs_window "青禾英语词典 (英汉-汉英 双解词典)"; }

dt_page_with() {
  local word
  word=$(printf '%s' "$1" | iconv -f UTF-8 -t GBK)
  grep -l -F "<p class=\"word\">$word</p>" "$work/dict/html/"*.html
}
