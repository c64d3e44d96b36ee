# ./moviquill snapshot and ./moviquill corpus: pictures from the stand-in
# control's SWF player (native build, platform/flashcontrol/player/tools).

# Builds the player tools in the native build (setting everything up first
# when there is no native build yet).
build_player_tools() {
  if [ ! -f "$MVQ_NATIVE_BUILD/CMakeCache.txt" ]; then
    cmd_setup || return 1
  fi
  # Configure again first: the targets may be newer than the build tree.
  lock_setup
  { cmake "$MVQ_NATIVE_BUILD" && cmake --build "$MVQ_NATIVE_BUILD" -j "$MVQ_JOBS" --target swf-snapshot swf-corpus; } \
    >"$MVQ_BUILD/player-tools-build.log" 2>&1 \
    || { tail -30 "$MVQ_BUILD/player-tools-build.log" >&2; die "building the player tools failed"; }
  unlock_setup
}

# ./moviquill snapshot [--frame N] [--size WxH] [--scale show-all|exact-fit] --out DIR FILE...
cmd_snapshot() {
  local args=("$@") out="" i
  for ((i = 0; i < ${#args[@]}; i++)); do
    [ "${args[i]}" = --out ] && out=${args[i + 1]:-}
  done
  [ -n "$out" ] || die "usage: ./moviquill snapshot [--frame N] [--size WxH] [--scale show-all|exact-fit] --out DIR FILE..."
  mkdir -p "$out" || die "cannot create $out"
  build_player_tools
  "$MVQ_NATIVE_BIN/swf-snapshot" "$@"
}

# ./moviquill corpus: every reference movie of ../shared/corpus drawn and
# compared with the picture the real player showed.
cmd_corpus() {
  local corpus=$MVQ_ROOT/../shared/corpus kind rc=0
  [ -d "$corpus" ] || { say "no corpus at $corpus"; return 0; }
  build_player_tools
  for kind in swfdec-image ruffle-visual; do
    [ -d "$corpus/$kind" ] || continue
    "$MVQ_NATIVE_BIN/swf-corpus" "$kind" "$corpus/$kind" || rc=1
  done
  return $rc
}
