# The program's AVI made into another container by ffmpeg, for ./moviquill convert:
#   mp4, mkv, mov   H.264 (yuv420p) and AAC
#   webm            VP9 (yuv420p) and Opus
#   gif             a palette of its own (palettegen, paletteuse), no sound
# The frames keep the AVI's exact rate (29.97 stays 2997/100): every frame is
# one frame of the output, none dropped or doubled.

MVQ_ENCODED_FORMATS="mp4 mkv mov webm gif"

# The extension when ffmpeg makes the file, "avi" for the program's own, else "".
convert_output_kind() {  # path
  local extension
  extension=$(echo "${1##*.}" | tr '[:upper:]' '[:lower:]')
  [ "$extension" != "$1" ] || return 0
  case " avi $MVQ_ENCODED_FORMATS " in *" $extension "*) echo "$extension" ;; esac
}

# The AVI's files in order: the program splits a large one into NAME0000.avi, ...
convert_avi_parts() {  # avi
  local avi=$1 base=${1%.*} number=0 part
  if [ -f "$avi" ]; then echo "$avi"; return 0; fi
  while part=$base$(printf '%04d' "$number").avi; [ -f "$part" ]; do
    echo "$part"
    number=$((number + 1))
  done
}

# The encoder options for the kind, into the array CV_CODEC_OPTIONS.
convert_codec_options() {  # kind crf
  local kind=$1 crf=$2
  # yuv420p halves the colour planes: odd sizes gain one black row or column.
  local even="pad=ceil(iw/2)*2:ceil(ih/2)*2"
  case $kind in
    mp4|mov|mkv) CV_CODEC_OPTIONS=(-vf "$even" -pix_fmt yuv420p -c:v libx264 -crf "${crf:-20}" -preset medium
                   -c:a aac -b:a 192k)
      [ "$kind" = mkv ] || CV_CODEC_OPTIONS+=(-movflags +faststart) ;;
    webm) CV_CODEC_OPTIONS=(-vf "$even" -pix_fmt yuv420p -c:v libvpx-vp9 -crf "${crf:-32}" -b:v 0 -row-mt 1
            -deadline good -cpu-used 4 -c:a libopus -b:a 128k) ;;
    gif) CV_CODEC_OPTIONS=(-vf "split[a][b];[a]palettegen=stats_mode=diff[p];[b][p]paletteuse=dither=bayer:diff_mode=rectangle"
           -an) ;;
  esac
}

# Encodes into a hidden file beside out, renamed to out when complete; the
# session removes the hidden one when the command fails or is interrupted.
convert_encode() {  # avi out kind crf
  local avi=$1 out=$2 kind=$3 crf=$4 parts=() input rate part
  mapfile -t parts < <(convert_avi_parts "$avi")
  [ ${#parts[@]} -gt 0 ] || { say "error: the program wrote no AVI file"; return 1; }
  rate=$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 "${parts[0]}")
  [ -n "$rate" ] || { say "error: ffprobe cannot read the program's AVI"; return 1; }
  input=(-i "${parts[0]}")
  if [ ${#parts[@]} -gt 1 ]; then
    local list=${avi%.*}.parts
    for part in "${parts[@]}"; do printf "file '%s'\n" "${part//\'/\'\\\'\'}"; done >"$list"
    input=(-f concat -safe 0 -i "$list")
  fi
  local partial
  partial=$(dirname "$out")/.$(basename "$out").$$.part.$kind
  session_leftover "$partial"
  convert_codec_options "$kind" "$crf"
  if ! ffmpeg -nostdin -v error -y "${input[@]}" -map 0:v:0 -map '0:a:0?' -r "$rate" -fps_mode cfr \
      "${CV_CODEC_OPTIONS[@]}" -f "$(convert_muxer "$kind")" "$partial"; then
    rm -f "$partial"
    say "error: ffmpeg could not make the $kind file"
    return 1
  fi
  mv -f "$partial" "$out"
}

convert_muxer() {  # kind
  case $1 in mkv) echo matroska ;; *) echo "$1" ;; esac
}
