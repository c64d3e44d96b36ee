# The sample-movie half of "bench codec": the sample movie converted by the
# program with the lossless compressor and uncompressed, best of two each, in
# one run. ratio = uncompressed seconds / lossless seconds (above 1: the
# compressor is faster than writing the frames plain); size = lossless bytes /
# uncompressed bytes. The frames come from the control either way, so this is
# what a user sees; the codec alone is the bench-codec program.

bench_codec_export_run() {  # codec folder: seconds of one conversion
  local start end
  start=${EPOCHREALTIME/,/.}
  MVQ_NO_SETUP=1 "$MVQ_ROOT/moviquill" convert "$2/sample.swf" "$2/$1.avi" --codec "$1" --sound none --quiet \
    >/dev/null 2>&1 || return 1
  end=${EPOCHREALTIME/,/.}
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

bench_codec_export_best() {  # codec folder
  local best="" s
  for _ in 1 2; do
    s=$(bench_codec_export_run "$1" "$2") || return 1
    best=$(awk -v a="${best:-$s}" -v b="$s" 'BEGIN { print (b < a ? b : a) }')
  done
  echo "$best"
}

bench_codec_export() {
  local folder plain lossless frames
  folder=$(mktemp -d "${TMPDIR:-/tmp}/mvq-bench-codec.XXXXXX") || die "no temporary folder"
  with_wine bench_batch_movie "$folder/sample.swf" && [ -f "$folder/sample.swf" ] \
    || { rm -rf "$folder"; die "no sample movie"; }
  say "running bench codec on the sample movie (lossless, then uncompressed, through the program)"
  lossless=$(bench_codec_export_best lossless "$folder") && plain=$(bench_codec_export_best uncompressed "$folder") \
    || { rm -rf "$folder"; die "bench codec: a conversion failed"; }
  frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 \
             "$folder/lossless.avi" 2>/dev/null)
  echo "bench codec-sample ratio=$(awk -v a="$plain" -v b="$lossless" 'BEGIN { printf "%.2f", a / b }')" \
       "size=$(awk -v a="$(stat -c %s "$folder/lossless.avi")" -v b="$(stat -c %s "$folder/uncompressed.avi")" \
                 'BEGIN { printf "%.4f", a / b }')" \
       "lossless=${lossless}s uncompressed=${plain}s frames=${frames:-?}"
  rm -rf "$folder"
}
