# ./moviquill fuzz [SECONDS]: builds the libFuzzer targets (clang, native, in
# build/fuzz) and runs each one for SECONDS (default 60). A target is any executable
# fuzz-NAME that the fuzz build makes (declare it with mvq_add_fuzzer). Its corpus
# (build/fuzz/corpus/NAME) keeps growing from run to run and starts from builder-made
# movies plus the small SWF files of ../shared/corpus when present. Crashes, leaks and
# hangs are saved in build/fuzz/artifacts/ and make the command fail.

configure_fuzz_build() {
  [ -f "$MVQ_FUZZ_BUILD/CMakeCache.txt" ] && return 0
  command -v clang++ >/dev/null || cmd_setup
  say "configuring the fuzz build"
  cmake -S "$MVQ_ROOT" -B "$MVQ_FUZZ_BUILD" -DMVQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null || die "cmake failed for the fuzz build"
}

build_fuzz_targets() {
  say "building the fuzz targets"
  cmake --build "$MVQ_FUZZ_BUILD" -j "$MVQ_JOBS" >"$MVQ_BUILD/fuzz-build.log" 2>&1 \
    || { tail -40 "$MVQ_BUILD/fuzz-build.log"; die "fuzz build failed"; }
}

fresh_seeds() {  # dir
  local seeds=$1 corpus=$MVQ_ROOT/../shared/corpus n=0 f
  rm -rf "$seeds"
  mkdir -p "$seeds"
  "$MVQ_FUZZ_BUILD/bin/swf-seed-movies" "$seeds" || die "cannot write the seed movies"
  [ -d "$corpus" ] || return 0
  while IFS= read -r f; do  # many corpus movies share a file name
    n=$((n + 1))
    cp "$f" "$seeds/corpus-$n.swf"
  done < <(find "$corpus" -name '*.swf' -size -64k)
}

run_fuzz_target() {  # target, seconds
  local target=$1 seconds=$2 name
  name=$(basename "$target")
  local corpus=$MVQ_FUZZ_BUILD/corpus/$name log=$MVQ_FUZZ_BUILD/$name.log
  mkdir -p "$corpus" "$MVQ_FUZZ_BUILD/artifacts"
  say "fuzzing $name for $seconds s"
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$MVQ_FUZZ_BUILD/artifacts/$name-" "$corpus" "$MVQ_FUZZ_BUILD/seeds" \
      </dev/null >"$log" 2>&1; then
    say "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs, nothing found (corpus $(ls "$corpus" | wc -l) files)"
  else
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5 >&2
    say "$name found a problem; see $log"
    return 1
  fi
}

cmd_fuzz() {
  local seconds=${1:-60} rc=0 target found=
  case $seconds in '' | *[!0-9]*) die "usage: ./moviquill fuzz [SECONDS]" ;; esac
  configure_fuzz_build
  build_fuzz_targets
  fresh_seeds "$MVQ_FUZZ_BUILD/seeds"
  for target in "$MVQ_FUZZ_BUILD"/bin/fuzz-*; do
    [ -x "$target" ] || continue
    found=1
    run_fuzz_target "$target" "$seconds" || rc=1
  done
  [ -n "$found" ] || die "no fuzz targets were built"
  return $rc
}
