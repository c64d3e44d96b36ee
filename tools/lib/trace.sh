# ./moviquill trace: what movies send to trace(), from the stand-in control's
# SWF player (native build, platform/flashcontrol/player/tools).

# ./moviquill trace [--frames N] MOVIE...
cmd_trace() {
  [ $# -gt 0 ] || die "usage: ./moviquill trace [--frames N] MOVIE..."
  if [ ! -f "$MVQ_NATIVE_BUILD/CMakeCache.txt" ]; then
    cmd_setup >&2 || return 1
  fi
  { cmake "$MVQ_NATIVE_BUILD" && cmake --build "$MVQ_NATIVE_BUILD" -j "$MVQ_JOBS" --target swf-trace; } \
    >"$MVQ_BUILD/trace-tool-build.log" 2>&1 \
    || { tail -30 "$MVQ_BUILD/trace-tool-build.log" >&2; die "building the trace tool failed"; }
  "$MVQ_NATIVE_BIN/swf-trace" "$@"
}
