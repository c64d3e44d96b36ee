# ./moviquill bench [NAME]: the benchmarks, each printing one line
# "bench NAME ratio=X ...details...".
#
# Adding a benchmark: declare it in any folder's CMakeLists.txt with
#   mvq_add_bench(NAME SOURCES bench_NAME.cpp LIBS ...)
# which makes the executable bench-NAME in the benchmark build only. The program
# generates its own input in a temporary folder, prints its one line on stdout,
# deletes what it made and exits non-zero when the measured operation failed.
# The benchmark build is build/bench: native, Release, no sanitizers.

build_benches() {
  MVQ_BENCH_BUILD=$MVQ_BUILD/bench
  command -v cmake >/dev/null && command -v g++ >/dev/null || cmd_setup
  if [ ! -f "$MVQ_BENCH_BUILD/CMakeCache.txt" ]; then
    say "configuring the benchmark build"
    cmake -S "$MVQ_ROOT" -B "$MVQ_BENCH_BUILD" -DMVQ_BENCH=ON -DMVQ_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release \
      >/dev/null || die "cmake failed for the benchmark build"
  fi
  say "building the benchmarks"
  cmake --build "$MVQ_BENCH_BUILD" -j "$MVQ_JOBS" --target benches >"$MVQ_BUILD/bench-build.log" 2>&1 \
    || { tail -30 "$MVQ_BUILD/bench-build.log" >&2; die "benchmark build failed"; }
}

cmd_bench() {
  build_benches
  local programs=() rc=0 p
  if [ $# -gt 0 ]; then
    for p in "$@"; do
      [ -x "$MVQ_BENCH_BUILD/bin/bench-$p" ] || die "no benchmark named $p"
      programs+=("$MVQ_BENCH_BUILD/bin/bench-$p")
    done
  else
    programs=("$MVQ_BENCH_BUILD"/bin/bench-*)
  fi
  for p in "${programs[@]}"; do
    say "running $(basename "$p")"
    "$p" || { say "$(basename "$p") failed"; rc=1; }
  done
  return $rc
}
