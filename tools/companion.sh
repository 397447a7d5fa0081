# Sourced by tools/demo after lib.sh: runs the wallpaper-application companion and
# finds deskling's Unix process, in the Wine prefix and display already set up.

companion_pid=""
deskling_pid=""

# Starts Vexawpapp.exe of the x86_64 build with the given arguments and waits for its first window.
start_companion() {
  wine "$build_root/x86_64/bin/Vexawpapp.exe" "$@" &
  companion_pid=$!
  local _
  for _ in $(seq 150); do
    kill -0 "$companion_pid" 2>/dev/null || { echo "the companion ended early" >&2; return 1; }
    [ -n "$(xdotool search --classname vexawpapp.exe 2>/dev/null | head -n 1)" ] && return 0
    sleep 0.2
  done
  echo "the companion showed no window within 30 s" >&2
  return 1
}

# Waits up to 60 s for deskling.exe's main window (shown, one pixel) and sets deskling_pid from it:
# Wine names every X window of a program after its file and records the Unix pid on it.
wait_for_deskling() {
  local window="" _
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --classname deskling.exe 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "deskling.exe showed no window within 60 s" >&2; return 1; }
  deskling_pid=$(xprop -id "$window" _NET_WM_PID | sed -n 's/.*= *//p')
  [ -n "$deskling_pid" ]
}

# Asks the companion to quit; deskling follows within a second as the control window goes. Whatever
# is still running after that is ended by its pid.
stop_companion_and_deskling() {
  local _
  if [ -n "$companion_pid" ] && kill -0 "$companion_pid" 2>/dev/null; then
    wine "$build_root/x86_64/bin/Vexawpapp.exe" /quit >/dev/null 2>&1 || true
  fi
  for _ in $(seq 50); do
    { [ -n "$companion_pid" ] && kill -0 "$companion_pid" 2>/dev/null; } ||
      { [ -n "$deskling_pid" ] && kill -0 "$deskling_pid" 2>/dev/null; } || break
    sleep 0.1
  done
  if [ -n "$companion_pid" ]; then kill "$companion_pid" 2>/dev/null || true; fi
  if [ -n "$deskling_pid" ]; then kill "$deskling_pid" 2>/dev/null || true; fi
  companion_pid=""
  deskling_pid=""
  return 0
}
