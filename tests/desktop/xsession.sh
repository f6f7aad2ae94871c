# A small X session for the desktop tests, to be sourced by a bash script that has set
# `set -euo pipefail`. Every wait is bounded; every process started is ended by its id in
# xs_cleanup, which the caller runs from its EXIT trap.
#   xs_start_x [WxHxD]         Xvfb on a free display; exports DISPLAY
#   xs_wait CMD...             retries CMD for up to XS_TIMEOUT seconds (default 20)
#   xs_window NAME             prints the id of the visible window whose title is NAME
#   xs_track PID               ends PID in xs_cleanup
#   xs_cleanup                 ends what was started, newest first

XS_PIDS=()
XS_TIMEOUT=${XS_TIMEOUT:-20}

xs_track() { XS_PIDS+=("$1"); }

xs_cleanup() {
  local i pid
  for ((i = ${#XS_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${XS_PIDS[i]}
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  XS_PIDS=()
}

xs_wait() {
  local end=$((SECONDS + XS_TIMEOUT))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || { echo "timed out: $*" >&2; return 1; }
    sleep 0.2
  done
}

xs_start_x() {
  local screen=${1:-1280x1024x24} fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 7 -screen 0 "$screen" -nolisten tcp -ac 7>"$fifo" >/dev/null 2>&1 &
  xs_track $!
  local number=''
  # Xvfb writes the display number once it listens; the read is bounded too.
  read -r -t "$XS_TIMEOUT" number <"$fifo" || true
  rm -f "$fifo"
  [[ -n $number ]] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$number"
}

xs_window() {
  local id end=$((SECONDS + XS_TIMEOUT)) pattern
  # xdotool matches titles as regular expressions: the title's own ( ) . and so on are text.
  pattern=$(printf '%s' "$1" | sed 's/[][\\.^$*+?(){}|]/\\&/g')
  while ((SECONDS < end)); do
    id=$(xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -n 1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "no window named $1" >&2
  return 1
}
