# A private PulseAudio loopback for recording what Wine plays: a null sink whose
# monitor is the default source, kept rendering in real time by a loopback from a
# silent null source (without it the sink runs seconds ahead and recordings start
# late). Each command's loopback lives in its session's folder (wine_session.sh),
# so that a recording hears only its own command; PULSE_SERVER points Wine at it,
# and LD_LIBRARY_PATH gives Wine the libpulse.so.0 of platform/sound_loopback.
#
#   start_pulse_loopback DIR   starts it (returns 1 when it does not come up)
#   stop_pulse_loopback        stops the daemon this command started, by its PID
#   with_pulse FUNC ARGS...    runs FUNC with the loopback around it; without one,
#                              FUNC runs anyway with MVQ_PULSE_MISSING set

MVQ_PULSE_DIR=
MVQ_PULSE_PID=

write_pulse_config() {  # dir
  cat >"$1/loopback.pa" <<'PA'
.fail
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=loopsink rate=44100 channels=2 sink_properties=device.description=LoopSink
load-module module-null-source source_name=keepalive rate=44100 channels=2 description=KeepAlive
load-module module-loopback source=keepalive sink=loopsink latency_msec=20 source_dont_move=true sink_dont_move=true
set-default-sink loopsink
set-default-source loopsink.monitor
PA
}

# The sink renders in real time once its reported latency is small.
pulse_sink_settled() {
  local latency
  latency=$(pactl list sinks 2>/dev/null | awk '/Latency:/ {print $2; exit}')
  [ -n "$latency" ] && [ "$latency" -lt 100000 ]
}

MVQ_STEADY_PULSE_DIR=$MVQ_NATIVE_BUILD/steady-pulse

start_pulse_loopback() {  # dir
  local dir=$1 i
  command -v pulseaudio >/dev/null && command -v pactl >/dev/null || { say "pulseaudio is not installed"; return 1; }
  [ -f "$MVQ_STEADY_PULSE_DIR/libpulse.so.0" ] \
    || { say "the sound loopback's libpulse.so.0 is not built (./moviquill setup)"; return 1; }
  mkdir -p "$dir/home" "$dir/run"
  chmod 700 "$dir/run"
  write_pulse_config "$dir"
  rm -f "$dir/pulse.log"
  MVQ_PULSE_DIR=$dir
  HOME=$dir/home XDG_RUNTIME_DIR=$dir/run pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
    -F "$dir/loopback.pa" --use-pid-file=yes --log-target="file:$dir/pulse.log" \
    </dev/null >/dev/null 2>&1 || { say "pulseaudio did not start (see $dir/pulse.log)"; return 1; }
  for i in $(seq 50); do
    [ -s "$dir/run/pulse/pid" ] && break
    sleep 0.1
  done
  MVQ_PULSE_PID=$(cat "$dir/run/pulse/pid" 2>/dev/null)
  [ -n "$MVQ_PULSE_PID" ] || { say "pulseaudio wrote no PID file"; return 1; }
  export PULSE_SERVER=unix:$dir/run/pulse/native
  # Wine's playback streams keep time through an underrun, and its recordings
  # lose nothing while it is held up (platform/sound_loopback).
  MVQ_PULSE_SAVED_LIBRARY_PATH=${LD_LIBRARY_PATH-}
  export LD_LIBRARY_PATH="$MVQ_STEADY_PULSE_DIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  for i in $(seq 100); do
    pulse_sink_settled && return 0
    sleep 0.1
  done
  say "the PulseAudio loopback did not settle"
  stop_pulse_loopback
  return 1
}

# The daemon of an interrupted start is found through its PID file.
started_pulse_pid() {
  local pid
  [ -n "$MVQ_PULSE_PID" ] && { echo "$MVQ_PULSE_PID"; return; }
  [ -n "$MVQ_PULSE_DIR" ] || return 0
  pid=$(cat "$MVQ_PULSE_DIR/run/pulse/pid" 2>/dev/null)
  [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$MVQ_PULSE_DIR/loopback.pa" && echo "$pid"
}

restore_library_path() {
  [ -n "${MVQ_PULSE_SAVED_LIBRARY_PATH+set}" ] || return 0
  if [ -n "$MVQ_PULSE_SAVED_LIBRARY_PATH" ]; then
    export LD_LIBRARY_PATH=$MVQ_PULSE_SAVED_LIBRARY_PATH
  else
    unset LD_LIBRARY_PATH
  fi
  unset MVQ_PULSE_SAVED_LIBRARY_PATH
}

stop_pulse_loopback() {
  local pid i
  pid=$(started_pulse_pid)
  unset PULSE_SERVER
  restore_library_path
  MVQ_PULSE_PID=
  MVQ_PULSE_DIR=
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null
  for i in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  return 0
}

with_pulse() {
  local rc
  session_open
  if start_pulse_loopback "$MVQ_SESSION_DIR/pulse"; then
    unset MVQ_PULSE_MISSING
  else
    export MVQ_PULSE_MISSING=1
    say "no sound loopback: tests that record will skip"
  fi
  "$@"
  rc=$?
  stop_pulse_loopback
  unset MVQ_PULSE_MISSING
  session_close
  return $rc
}
