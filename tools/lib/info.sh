# ./moviquill info FILE...: one JSON line per file from the movie readers
# functions (tools/movie_info.cpp), all files in one process.

cmd_info() {
  [ $# -gt 0 ] || die "usage: ./moviquill info FILE..."
  if [ -x "$MVQ_NATIVE_BIN/movie-info" ]; then
    cmake --build "$MVQ_NATIVE_BUILD" -j "$MVQ_JOBS" --target movie-info >"$MVQ_BUILD/info-build.log" 2>&1 \
      || { tail -20 "$MVQ_BUILD/info-build.log" >&2; die "building movie-info failed"; }
  else
    cmd_setup >/dev/null
  fi
  "$MVQ_NATIVE_BIN/movie-info" "$@"
}
