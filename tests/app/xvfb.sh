# Sourced by the window tests: start_xvfb WORK_DIR starts Xvfb on a display it picks itself
# (two test runs on one machine never share one), sets DISPLAY and xvfb_pid. -noreset: the
# server must not reset when a test's last client goes, or the next client cannot connect.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$1/.display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$1/.display" ] && break; sleep 0.05; done
  [ -s "$1/.display" ] || return 1
  export DISPLAY=":$(head -n 1 "$1/.display")"
  rm -f "$1/.display"
}

# Stops the Xvfb started above and waits until it is gone: an Xvfb still shutting down removes
# its display's socket, which the next test's Xvfb may already have taken over.
stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] || return 0
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}

# Waits up to TENTHS tenths of a second for process PID to end; sets exit_status to its status,
# or to nothing when it still runs.
wait_for_exit() {
  local pid=$1 tenths=$2
  exit_status=""
  for _ in $(seq "$tenths"); do
    if ! kill -0 "$pid" 2>/dev/null; then
      set +e
      wait "$pid"
      exit_status=$?
      set -e
      return 0
    fi
    sleep 0.1
  done
}

# The first visible window whose title matches, or nothing.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }

# Waits up to 15 s for the main window of the zir started as zir_pid, answering with Enter any
# box it shows first (start-up says in a box that no card was found); sets `window` and gives it
# the keyboard, as no window manager runs here. Calls the test's `fail` when zir ends first or
# no window comes.
wait_for_window() {
  local box
  window=""
  for _ in $(seq 150); do
    box=$(visible '^ZIR - ')
    if [ -n "$box" ]; then
      xdotool windowfocus "$box" 2>/dev/null || true
      xdotool key Return 2>/dev/null || true
    fi
    window=$(visible '^ZIR$')
    [ -n "$window" ] && break
    kill -0 "$zir_pid" 2>/dev/null || fail "zir ended before its window appeared"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window"
  sleep 0.5
  xdotool windowfocus "$window" 2>/dev/null || true
  sleep 0.3
}

# Types keys into the focused window, slowly enough for each to be taken.
keys() { xdotool key --delay 150 "$@" 2>/dev/null; sleep 0.3; }
