# ./moviquill render IN.swf OUTDIR [--frames A-B] [--size WxH]
#                    [--mode frame-by-frame|normal] [--keep-aspect] [--project FILE.ppj] [--quiet]
# Frames of a movie through the importer plug-in, loaded by the editor host
# (mvq-editor.exe) under Wine as a video editor would load it, written as
# OUTDIR/frame_NNNNN.png: 8-bit RGBA with the plug-in's alpha channel. Without
# --frames, every frame of the clip length the plug-in describes. With
# --project the editor opens that project first and the clip takes its saved
# length from it.

render_usage() {
  die "usage: ./moviquill render IN.swf OUTDIR [--frames A-B] [--size WxH] [--mode frame-by-frame|normal] [--keep-aspect] [--project FILE.ppj] [--quiet]"
}

# Inside the Wine session: the host writes raw frames, then they become PNGs.
render_in_wine() {
  local movie=$1 out=$2 project=$3
  shift 3
  local args=(render --movie "$(winepath -w "$movie" 2>/dev/null)" --out "$(winepath -w "$out" 2>/dev/null)")
  [ -n "$project" ] && args+=(--project "$(winepath -w "$project" 2>/dev/null)")
  local log=$out/.render.log rc host
  wine "$MVQ_BIN/mvq-editor.exe" "${args[@]}" "$@" </dev/null >"$log" 2>"$out/.render.err" &
  host=$!
  render_follow "$host" "$log"
  wait "$host"
  rc=$?
  sed 's/\r$//' "$out/.render.err" | grep -v '^$' >&2
  local size width height
  size=$(sed -n 's/^size \([0-9]*\)x\([0-9]*\)\r*$/\1 \2/p' "$log")
  if [ -n "$size" ]; then
    read -r width height <<<"$size"
    python3 "$MVQ_ROOT/tools/rgba_to_png.py" "$width" "$height" "$out" || rc=1
    say "$(grep -c '^frame ' "$log") frames of ${width}x${height} in $out"
  fi
  rm -f "$log" "$out/.render.err"
  return $rc
}

# On a terminal, the frames the host has written so far as the progress line:
# it prints "frames FIRST LAST", then "frame N" as each one is written.
render_follow() {  # pid log
  local pid=$1 log=$2 range done
  progress_wanted || return 0
  while kill -0 "$pid" 2>/dev/null; do
    range=$(sed -n 's/^frames \([0-9]*\) \([0-9]*\)\r*$/\1 \2/p' "$log" 2>/dev/null)
    if [ -n "$range" ]; then
      done=$(grep -c '^frame ' "$log")
      progress_frames "$done" $(( ${range#* } - ${range% *} + 1 ))
    fi
    sleep 0.25
  done
  progress_end
}

cmd_render() {
  [ $# -ge 2 ] || render_usage
  local movie=$1 out=$2 project=""
  shift 2
  [ -f "$movie" ] || die "no movie at $movie"
  local options=()
  while [ $# -gt 0 ]; do
    case $1 in
      --frames | --size | --mode)
        [ $# -ge 2 ] || render_usage
        options+=("$1" "$2")
        shift 2 ;;
      --keep-aspect)
        options+=("$1")
        shift ;;
      --quiet)
        MVQ_QUIET=1
        shift ;;
      --project)
        [ $# -ge 2 ] && [ -f "$2" ] || die "no project file at ${2:-}"
        project=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
        shift 2 ;;
      *) render_usage ;;
    esac
  done
  movie=$(cd "$(dirname "$movie")" && pwd)/$(basename "$movie")
  mkdir -p "$out" || die "cannot create $out"
  out=$(cd "$out" && pwd)
  ensure_setup
  [ -f "$MVQ_BIN/mvq-editor.exe" ] && [ -f "$MVQ_BIN/im-tq-swf.prm" ] || die "the editor host or the plug-in is not built"
  with_wine render_in_wine "$movie" "$out" "$project" "${options[@]}"
}
