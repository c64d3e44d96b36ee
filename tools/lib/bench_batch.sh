# ./moviquill bench batch: eight short movies converted by one batch with
# --jobs 2 against --jobs 1, in one run. ratio = throughput with two at once
# over throughput with one (above 1 when the runs overlap usefully).

MVQ_BENCH_BATCH_MOVIES=8

bench_batch_movie() {  # path
  wine "$MVQ_BIN/make-sample-movie.exe" "$(winepath -w "$1" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

# Seconds taken by one batch of the movies, its JSON lines checked.
bench_batch_run() {  # jobs folder movies...
  local jobs=$1 folder=$2 start end lines
  shift 2
  start=${EPOCHREALTIME/,/.}
  MVQ_NO_SETUP=1 "$MVQ_ROOT/moviquill" convert "$@" --out-dir "$folder/out-$jobs" --format avi --jobs "$jobs" \
    --sound none --end 23 >"$folder/jobs-$jobs.jsonl" 2>/dev/null || return 1
  end=${EPOCHREALTIME/,/.}
  lines=$(grep -c '"result": "ok"' "$folder/jobs-$jobs.jsonl")
  [ "$lines" -eq $# ] || return 1
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

bench_batch() {
  cmd_setup >/dev/null
  local folder movies=() i one two
  folder=$(mktemp -d "${TMPDIR:-/tmp}/mvq-bench-batch.XXXXXX") || die "no temporary folder"
  with_wine bench_batch_movie "$folder/m0.swf" && [ -f "$folder/m0.swf" ] || { rm -rf "$folder"; die "no sample movie"; }
  for i in $(seq 0 $((MVQ_BENCH_BATCH_MOVIES - 1))); do
    [ "$i" -eq 0 ] || cp "$folder/m0.swf" "$folder/m$i.swf"
    movies+=("$folder/m$i.swf")
  done
  say "running bench batch ($MVQ_BENCH_BATCH_MOVIES movies, --jobs 1 then --jobs 2)"
  one=$(bench_batch_run 1 "$folder" "${movies[@]}") && two=$(bench_batch_run 2 "$folder" "${movies[@]}") \
    || { rm -rf "$folder"; die "bench batch: a conversion failed"; }
  rm -rf "$folder"
  echo "bench batch ratio=$(awk -v a="$one" -v b="$two" 'BEGIN { printf "%.2f", a / b }') movies=$MVQ_BENCH_BATCH_MOVIES jobs1=${one}s jobs2=${two}s cores=$(nproc)"
}
