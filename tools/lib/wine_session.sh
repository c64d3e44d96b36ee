# One Xvfb and one persistent wineserver around a command.
# Without a warm wineserver every program start costs seconds, and a wineserver
# started by the first program would keep the caller's pipes open forever.

MVQ_XVFB_PID=
MVQ_XVFB_DEPTH=${MVQ_XVFB_DEPTH:-24}

free_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

start_xvfb() {
  local n
  n=$(free_display)
  Xvfb ":$n" -screen 0 "1280x1024x$MVQ_XVFB_DEPTH" -nolisten tcp </dev/null >/dev/null 2>&1 &
  MVQ_XVFB_PID=$!
  local i
  for i in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

stop_xvfb() {
  [ -n "$MVQ_XVFB_PID" ] && kill "$MVQ_XVFB_PID" 2>/dev/null && wait "$MVQ_XVFB_PID" 2>/dev/null
  MVQ_XVFB_PID=
}

start_wineserver() {
  wineserver -k </dev/null >/dev/null 2>&1
  wineserver -p </dev/null >/dev/null 2>&1 &
  # The first program brings up services.exe; do it here with its output sent away.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wineserver() {
  wineserver -k </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1
}

# with_wine FUNCTION ARGS...: runs FUNCTION with DISPLAY and a warm wineserver.
with_wine() {
  local rc
  start_xvfb
  start_wineserver
  "$@"
  rc=$?
  stop_wineserver
  stop_xvfb
  return $rc
}
