# ./moviquill bench [NAME]: the benchmarks, each printing one line
# "bench NAME ratio=X ...details...". "bench batch" (bench_batch.sh) runs only
# when named: it converts movies through the whole front end; "bench codec"
# adds the sample movie converted through the program (bench_codec_export.sh).
#
# Adding a benchmark: declare it in any folder's CMakeLists.txt with
#   mvq_add_bench(NAME SOURCES bench_NAME.cpp LIBS ...)
# which makes the executable bench-NAME in the benchmark build only. The program
# generates its own input in a temporary folder, prints its one line on stdout,
# deletes what it made and exits non-zero when the measured operation failed.
# The benchmark build is build/bench: native, Release, no sanitizers.
#
# Benchmarks that need the Windows platform (the control, GDI, wave devices) are
# declared with
#   mvq_add_wine_bench(NAME SOURCES bench_NAME.cpp LIBS ...)
# which makes bench-NAME.exe in build/bench-win (MinGW, Release). Those, and any
# bench-NAME.exe the ordinary Windows build puts in build/bin, run under Wine with
# the PulseAudio loopback after the native ones, printing the same one line.

build_benches() {
  MVQ_BENCH_BUILD=$MVQ_BUILD/bench
  command -v cmake >/dev/null && command -v g++ >/dev/null || cmd_setup
  if [ ! -f "$MVQ_BENCH_BUILD/CMakeCache.txt" ]; then
    say "configuring the benchmark build"
    cmake -S "$MVQ_ROOT" -B "$MVQ_BENCH_BUILD" -DMVQ_BENCH=ON -DMVQ_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release \
      >/dev/null || die "cmake failed for the benchmark build"
  fi
  say "building the benchmarks"
  lock_setup
  cmake --build "$MVQ_BENCH_BUILD" -j "$MVQ_JOBS" --target benches >"$MVQ_BUILD/bench-build.log" 2>&1 \
    || { tail -30 "$MVQ_BUILD/bench-build.log" >&2; die "benchmark build failed"; }
  unlock_setup
}

build_wine_benches() {
  MVQ_WIN_BENCH_BUILD=$MVQ_BUILD/bench-win
  if [ ! -f "$MVQ_WIN_BENCH_BUILD/CMakeCache.txt" ]; then
    say "configuring the Windows benchmark build"
    cmake -S "$MVQ_ROOT" -B "$MVQ_WIN_BENCH_BUILD" -DMVQ_BENCH=ON -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$MVQ_ROOT/cmake/toolchain-mingw-i686.cmake" >/dev/null \
      || die "cmake failed for the Windows benchmark build"
  fi
  say "building the Windows benchmarks"
  lock_setup
  cmake --build "$MVQ_WIN_BENCH_BUILD" -j "$MVQ_JOBS" --target wine-benches >"$MVQ_BUILD/bench-win-build.log" 2>&1 \
    || { tail -30 "$MVQ_BUILD/bench-win-build.log" >&2; die "Windows benchmark build failed"; }
  unlock_setup
}

# The named Windows benchmarks (all when none is named), benchmark build first.
wine_bench_programs() {  # names...
  local p name seen=" "
  for p in "$MVQ_WIN_BENCH_BUILD"/bin/bench-*.exe "$MVQ_BIN"/bench-*.exe; do
    [ -x "$p" ] || continue
    name=$(basename "$p" .exe)
    name=${name#bench-}
    case "$seen" in *" $name "*) continue ;; esac
    if [ $# -eq 0 ] || [[ " $* " == *" $name "* ]]; then
      seen="$seen$name "
      echo "$p"
    fi
  done
}

run_wine_benches() {  # programs...
  local p rc=0
  for p in "$@"; do
    say "running $(basename "$p") under Wine"
    wine "$p" </dev/null | tr -d '\r'
    [ "${PIPESTATUS[0]}" -eq 0 ] || { say "$(basename "$p") failed"; rc=1; }
  done
  return $rc
}

cmd_bench() {
  # Whole conversions through the front end, run only when named.
  if [ "$*" = batch ]; then bench_batch; return; fi
  build_benches
  local programs=() wineNames=() winePrograms=() rc=0 p
  if [ $# -gt 0 ]; then
    for p in "$@"; do
      if [ -x "$MVQ_BENCH_BUILD/bin/bench-$p" ]; then
        programs+=("$MVQ_BENCH_BUILD/bin/bench-$p")
      else
        wineNames+=("$p")
      fi
    done
  else
    programs=("$MVQ_BENCH_BUILD"/bin/bench-*)
  fi
  for p in "${programs[@]}"; do
    say "running $(basename "$p")"
    "$p" || { say "$(basename "$p") failed"; rc=1; }
  done
  if [ $# -eq 0 ] || [ ${#wineNames[@]} -gt 0 ]; then
    cmd_setup
    build_wine_benches
    mapfile -t winePrograms < <(wine_bench_programs "${wineNames[@]}")
    [ ${#wineNames[@]} -eq 0 ] || [ ${#winePrograms[@]} -eq ${#wineNames[@]} ] || die "no benchmark named ${wineNames[*]}"
    if [ ${#winePrograms[@]} -gt 0 ]; then
      with_pulse with_wine run_wine_benches "${winePrograms[@]}" || rc=1
    fi
  fi
  # The compressor through the whole program, on the sample movie.
  if [ $# -eq 0 ] || [[ " $* " == *" codec "* ]]; then bench_codec_export || rc=1; fi
  return $rc
}
