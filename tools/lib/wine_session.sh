# A session of its own for every command, so that commands run side by side:
# an Xvfb whose display number Xvfb itself reserves, a private copy of the
# prepared Wine prefix with its own warm wineserver, and (pulse.sh) a sound
# loopback of its own, all in one temporary folder. Whatever a session started
# is stopped when the command ends, also on Ctrl-C; nothing else is touched.
#
#   with_wine FUNC ARGS...             FUNC in an Xvfb and a private prefix
#   with_wine_on_display FUNC ARGS...  FUNC on the caller's DISPLAY, private prefix
#   with_shared_prefix FUNC ARGS...    FUNC in an Xvfb on the build's prefix itself
#                                      (setup, under the build lock)
#
# Without a warm wineserver every program start costs seconds, and a wineserver
# started by the first program would keep the caller's pipes open forever.

MVQ_SESSION_DIR=   # this command's session folder, exported as MVQ_SESSION
MVQ_SESSION_DEPTH=0
MVQ_OUTER_TMPDIR=
MVQ_XVFB_PID=
MVQ_WINESERVER_PREFIX=
MVQ_XVFB_DEPTH=${MVQ_XVFB_DEPTH:-24}
MVQ_SESSION_LEFTOVERS=()

# A file the command makes outside the session folder on the way (a partial
# output): removed when the session ends, unless it was moved away before.
session_leftover() { MVQ_SESSION_LEFTOVERS+=("$@"); }

# Stops everything the session started; safe to call more than once.
end_session() {
  stop_wineserver
  stop_xvfb
  stop_pulse_loopback
  [ ${#MVQ_SESSION_LEFTOVERS[@]} -eq 0 ] || rm -f "${MVQ_SESSION_LEFTOVERS[@]}"
  MVQ_SESSION_LEFTOVERS=()
  [ -n "$MVQ_SESSION_DIR" ] && rm -rf "$MVQ_SESSION_DIR"
  MVQ_SESSION_DIR=
  MVQ_SESSION_DEPTH=0
  unset MVQ_SESSION
  if [ -n "${MVQ_OUTER_TMPDIR-}" ]; then export TMPDIR=$MVQ_OUTER_TMPDIR; else unset TMPDIR; fi
}

session_open() {
  MVQ_SESSION_DEPTH=$((MVQ_SESSION_DEPTH + 1))
  [ "$MVQ_SESSION_DEPTH" -gt 1 ] && return 0
  MVQ_SESSION_DIR=$(mktemp -d "${TMPDIR:-/tmp}/mvq-session.XXXXXX") || die "no temporary folder for the session"
  export MVQ_SESSION=$MVQ_SESSION_DIR
  # What Wine and the tools leave in the temporary folder goes with the session.
  MVQ_OUTER_TMPDIR=${TMPDIR-}
  export TMPDIR=$MVQ_SESSION_DIR
  trap end_session EXIT
  trap 'end_session; exit 130' INT
  trap 'end_session; exit 143' TERM
  trap 'end_session; exit 129' HUP
}

session_close() {
  MVQ_SESSION_DEPTH=$((MVQ_SESSION_DEPTH - 1))
  [ "$MVQ_SESSION_DEPTH" -gt 0 ] && return 0
  end_session
  trap - EXIT INT TERM HUP
}

# Xvfb picks a free display and writes its number once it accepts clients.
start_xvfb() {
  local numberFile=$MVQ_SESSION_DIR/display i
  Xvfb -displayfd 3 -screen 0 "1280x1024x$MVQ_XVFB_DEPTH" -nolisten tcp \
    3>"$numberFile" </dev/null >/dev/null 2>&1 &
  MVQ_XVFB_PID=$!
  for i in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$numberFile" 2>/dev/null && break
    kill -0 "$MVQ_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  grep -q '^[0-9][0-9]*$' "$numberFile" 2>/dev/null || { say "Xvfb did not start"; stop_xvfb; return 1; }
  export DISPLAY=":$(cat "$numberFile")"
}

stop_xvfb() {
  [ -n "$MVQ_XVFB_PID" ] || return 0
  kill "$MVQ_XVFB_PID" 2>/dev/null && wait "$MVQ_XVFB_PID" 2>/dev/null
  MVQ_XVFB_PID=
}

# The prepared prefix, copied while no setup changes it. Wine's own libraries
# and programs in system32 (nine tenths of its size) are only ever read: they are
# linked, not copied.
copy_prefix() {  # destination
  local destination=$1 lock rc=0
  [ -f "$MVQ_PREFIX/.mvq-ready" ] || { say "no prepared Wine prefix (run ./moviquill setup)"; return 1; }
  exec {lock}>>"$MVQ_BUILD/.setup-lock"
  flock -s "$lock"
  mkdir -p "$destination" &&
    (cd "$MVQ_PREFIX" && tar --exclude=./drive_c/windows/system32 -cf - .) | (cd "$destination" && tar -xpf -) &&
    cp -al "$MVQ_PREFIX/drive_c/windows/system32" "$destination/drive_c/windows/" || rc=1
  flock -u "$lock"
  exec {lock}>&-
  [ $rc -eq 0 ] || say "the Wine prefix could not be copied"
  return $rc
}

start_wineserver() {  # prefix
  export WINEPREFIX=$1
  MVQ_WINESERVER_PREFIX=$1
  wineserver -p </dev/null >/dev/null 2>&1 &
  # The first program brings up services.exe; do it here with its output sent away.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

# Only the server of the prefix this session started is stopped.
stop_wineserver() {
  [ -n "$MVQ_WINESERVER_PREFIX" ] || return 0
  WINEPREFIX=$MVQ_WINESERVER_PREFIX wineserver -k </dev/null >/dev/null 2>&1
  WINEPREFIX=$MVQ_WINESERVER_PREFIX wineserver -w </dev/null >/dev/null 2>&1
  MVQ_WINESERVER_PREFIX=
}

start_private_wine() {
  copy_prefix "$MVQ_SESSION_DIR/prefix" && start_wineserver "$MVQ_SESSION_DIR/prefix"
}

run_in_session() {  # starters... -- FUNC ARGS...
  local starters=() rc
  while [ "$1" != -- ]; do starters+=("$1"); shift; done
  shift
  session_open
  local starter
  for starter in "${starters[@]}"; do
    "$starter" || { session_close; return 1; }
  done
  "$@"
  rc=$?
  stop_wineserver
  stop_xvfb
  session_close
  return $rc
}

# A session without a loopback of its own plays into none, never into another's.
own_sound_only() {
  [ -n "$MVQ_PULSE_PID" ] && return 0
  export PULSE_SERVER=unix:$MVQ_SESSION_DIR/no-sound MVQ_PULSE_MISSING=1
}

with_wine() { run_in_session own_sound_only start_xvfb start_private_wine -- "$@"; }
with_wine_on_display() { run_in_session start_private_wine -- "$@"; }

start_shared_prefix() { start_wineserver "$MVQ_PREFIX"; }
with_shared_prefix() { run_in_session start_xvfb start_shared_prefix -- "$@"; }
