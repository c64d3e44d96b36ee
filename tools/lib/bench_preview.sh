# ./moviquill bench preview: the program's preview clock with the Flash control
# under Wine (app/bench/bench_preview.cpp, bench-preview.exe in the Windows build):
# ticks delivered per second to a 30 fps movie against 30, and the share of
# ticks dropped while the interface thread is busy for a second.

bench_preview() {
  cmd_setup >/dev/null
  [ -f "$MVQ_BIN/bench-preview.exe" ] || die "bench-preview.exe was not built"
  with_wine run_bench_preview
}

run_bench_preview() {
  say "running bench-preview"
  wine "$MVQ_BIN/bench-preview.exe" </dev/null 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}
