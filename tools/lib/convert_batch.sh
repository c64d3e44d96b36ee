# ./moviquill convert IN... --out-dir DIR [--format F] [--jobs N] [movie options]
# Several movies side by side, each one a ./moviquill convert of its own (own
# session: display, Wine server, sound loopback, temporary folder), at most N at
# once (default: the number of cores). One JSON line per movie on stdout as it
# ends, a summary on stderr, exit status 1 when any failed. Ctrl-C stops the
# runs this batch started, and only those: each runs in a process group of its
# own, which gets SIGTERM (its session then cleans up after itself).

MVQ_BATCH_DIR=
MVQ_BATCH_RUNNING=()   # "pid index" of each run in flight

json_string() {  # text
  local s=$1
  s=${s//\\/\\\\}
  s=${s//\"/\\\"}
  s=${s//$'\n'/\\n}
  s=${s//$'\r'/\\r}
  s=${s//$'\t'/\\t}
  printf '"%s"' "${s//[$'\001'-$'\037']/ }"
}

# DIR/NAME.FORMAT, NAME-2.FORMAT, ... for movies of the same name.
batch_output_names() {  # format inputs...
  local format=$1 input name candidate number
  shift
  declare -A taken=()
  for input in "$@"; do
    name=$(basename "${input%.*}")
    candidate=$CV_OUT_DIR/$name.$format
    number=1
    while [ -n "${taken[$candidate]:-}" ]; do
      number=$((number + 1))
      candidate=$CV_OUT_DIR/$name-$number.$format
    done
    taken[$candidate]=1
    echo "$candidate"
  done
}

batch_start() {  # index input output
  local index=$1 input=$2 output=$3
  # A fresh session each: none of the caller's (a test's) Wine, display or sound.
  setsid env -u MVQ_CONVERT_NO_SETUP -u MVQ_SESSION -u PULSE_SERVER -u MVQ_PULSE_MISSING MVQ_NO_SETUP=1 \
    "$MVQ_ROOT/moviquill" convert --quiet "${CV_PASS[@]}" "$input" "$output" \
    </dev/null >"$MVQ_BATCH_DIR/$index.out" 2>"$MVQ_BATCH_DIR/$index.err" &
  MVQ_BATCH_RUNNING+=("$! $index")
  echo "${EPOCHREALTIME/,/.}" >"$MVQ_BATCH_DIR/$index.start"
}

# The run's last words: its error (or warning), without the command's prefix.
batch_message() {  # index
  grep -v '^\s*$' "$MVQ_BATCH_DIR/$1.err" 2>/dev/null | tail -1 | sed 's/^moviquill: //'
}

batch_report() {  # index status input output
  local index=$1 status=$2 input=$3 output=$4 start seconds result=ok
  start=$(cat "$MVQ_BATCH_DIR/$index.start")
  seconds=$(awk -v a="$start" -v b="${EPOCHREALTIME/,/.}" 'BEGIN { printf "%.1f", b - a }')
  [ "$status" -eq 0 ] || result=error
  printf '{"input": %s, "output": %s, "result": "%s", "message": %s, "seconds": %s}\n' \
    "$(json_string "$input")" "$(json_string "$output")" "$result" "$(json_string "$(batch_message "$index")")" \
    "$seconds"
  rm -f "$MVQ_BATCH_DIR/$index".*
}

# Waits for any run to end; its index and exit status in BATCH_DONE and BATCH_STATUS.
batch_reap() {
  local pid entry kept=()
  wait -n -p pid "${MVQ_BATCH_RUNNING[@]%% *}"
  BATCH_STATUS=$?
  for entry in "${MVQ_BATCH_RUNNING[@]}"; do
    if [ "${entry%% *}" = "$pid" ]; then BATCH_DONE=${entry#* }; else kept+=("$entry"); fi
  done
  MVQ_BATCH_RUNNING=("${kept[@]}")
}

batch_interrupted() {
  local entry
  for entry in "${MVQ_BATCH_RUNNING[@]}"; do kill -TERM -- "-${entry%% *}" 2>/dev/null; done
  for entry in "${MVQ_BATCH_RUNNING[@]}"; do wait "${entry%% *}" 2>/dev/null; done
  MVQ_BATCH_RUNNING=()
  [ -n "$MVQ_BATCH_DIR" ] && rm -rf "$MVQ_BATCH_DIR"
  say "interrupted: the runs in flight were stopped"
  exit 130
}

convert_batch() {
  [ ${#CV_INPUTS[@]} -gt 0 ] || convert_usage
  local format=${CV_FORMAT:-mp4} jobs=${CV_JOBS:-$(nproc)}
  convert_check_kind "$format"
  mkdir -p "$CV_OUT_DIR" || die "cannot create $CV_OUT_DIR"
  CV_OUT_DIR=$(cd "$CV_OUT_DIR" && pwd)
  [ -n "${MVQ_CONVERT_NO_SETUP:-}" ] || ensure_setup
  local outputs=() inputs=() input
  for input in "${CV_INPUTS[@]}"; do
    case $input in /*) inputs+=("$input") ;; *) inputs+=("$PWD/$input") ;; esac
  done
  mapfile -t outputs < <(batch_output_names "$format" "${inputs[@]}")
  MVQ_BATCH_DIR=$(mktemp -d "${TMPDIR:-/tmp}/mvq-batch.XXXXXX") || die "no temporary folder for the batch"
  trap batch_interrupted INT TERM HUP
  local next=0 failed=0 total=${#inputs[@]} begun=${EPOCHREALTIME/,/.}
  while [ "$next" -lt "$total" ] || [ ${#MVQ_BATCH_RUNNING[@]} -gt 0 ]; do
    if [ "$next" -lt "$total" ] && [ ${#MVQ_BATCH_RUNNING[@]} -lt "$jobs" ]; then
      batch_start "$next" "${CV_INPUTS[$next]}" "${outputs[$next]}"
      next=$((next + 1))
      continue
    fi
    batch_reap
    [ "$BATCH_STATUS" -eq 0 ] || failed=$((failed + 1))
    batch_report "$BATCH_DONE" "$BATCH_STATUS" "${CV_INPUTS[$BATCH_DONE]}" "${outputs[$BATCH_DONE]}"
  done
  trap - INT TERM HUP
  rm -rf "$MVQ_BATCH_DIR"
  say "$((total - failed)) of $total movies converted, $failed failed, in $(awk -v a="$begun" \
    -v b="${EPOCHREALTIME/,/.}" 'BEGIN { printf "%.1f", b - a }') s with $jobs at once"
  [ "$failed" -eq 0 ]
}
