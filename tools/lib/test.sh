# ./moviquill test: every test, native and under Wine, summed up from the
# GoogleTest reports into one closing line.

# Tests under the ctest label "long" (minutes of real-time recording each) run
# only with --long, and then alone.
run_ctest() {  # build dir, label, ctest label options...
  local dir=$1 label=$2
  shift 2
  say "running $label tests"
  (cd "$dir" && ctest --output-on-failure -j 1 "$@" </dev/null) || return 1
}

clear_results() {  # build dir
  rm -rf "$1/test-results"
  mkdir -p "$1/test-results"
}

# Tests labelled "loopback" record through the sound loopback, whose audio path
# in a VM now and then underruns for a moment: one that fails is run up to twice
# more (its report is the last run's). A real fault fails every time.
run_windows_ctest() {  # ctest label options...
  if [ "$*" = "-L long" ]; then
    run_ctest "$MVQ_WIN_BUILD" Windows "$@"
    return
  fi
  local rc=0
  run_ctest "$MVQ_WIN_BUILD" Windows -LE 'long|loopback' || rc=1
  run_ctest "$MVQ_WIN_BUILD" "Windows sound loopback" -L loopback -LE long --repeat until-pass:3 || rc=1
  return $rc
}

summarize_results() {
  python3 "$MVQ_ROOT/tools/test_summary.py" "$MVQ_NATIVE_BUILD/test-results" "$MVQ_WIN_BUILD/test-results"
}

# The reports of one run sit in the build trees: a second test run of the same
# checkout waits for the first instead of mixing its reports in.
lock_test_results() {
  exec {MVQ_TEST_LOCK}>>"$MVQ_BUILD/.test-lock"
  flock -n "$MVQ_TEST_LOCK" && return 0
  say "waiting for another test run of $MVQ_BUILD"
  flock "$MVQ_TEST_LOCK"
}

cmd_test() {
  local labels=(-LE long)
  if [ "${1:-}" = --long ]; then
    labels=(-L long)
  elif [ $# -gt 0 ]; then
    say "usage: ./moviquill test [--long]"
    return 2
  fi
  cmd_setup
  local rc=0
  cmd_lint || rc=1
  lock_test_results
  clear_results "$MVQ_NATIVE_BUILD"
  clear_results "$MVQ_WIN_BUILD"
  run_ctest "$MVQ_NATIVE_BUILD" native "${labels[@]}" || rc=1
  # The Windows tests record what they play: a private PulseAudio loopback stands
  # in for the sound card (tests that need it skip when it does not start).
  with_pulse with_wine run_windows_ctest "${labels[@]}" || rc=1
  summarize_results || rc=1
  return $rc
}
