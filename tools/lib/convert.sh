# ./moviquill convert [IN.swf [OUT]] [--start N] [--end N] [--fps100 N]
#   [--mode skip-backward|frame-by-frame|normal] [--size WxH] [--keep-aspect|--stretch]
#   [--sound none|record|FILE.wav] [--codec lossless|uncompressed] [--crf N] [--quiet]
# ./moviquill convert IN... --out-dir DIR [--format F] [--jobs N] [options above]
# The program under Xvfb, worked by the UI driver as a user would: File > Open,
# Options for the size, File > Create AVI, the settings dialog filled from the
# options (unset ones keep the dialog's values), the compressor chosen, OK, the
# wait for the progress window to go, File > Exit. An OUT of another kind than
# .avi is made by ffmpeg from an AVI in the session folder (convert_encode.sh).
# Prints the files written and what ffprobe says. An error box of the program
# becomes the error message and exit status 1. Many movies: convert_batch.sh.

MVQ_ID_CREATE_AVI=$(resource_id ID_FILE_CREATE_AVI)
MVQ_ID_DIMENSIONS=$(resource_id ID_OPTIONS_DIMENSIONS)
MVQ_ID_KEEP_ASPECT=$(resource_id ID_OPTIONS_KEEP_ASPECT)
MVQ_ID_COMPRESSOR_SELECT=$(resource_id IDC_COMPRESSOR_SELECT)
# The system's compressor chooser and its list of compressors.
MVQ_CHOOSER_TITLE="Video Compression"
MVQ_CHOOSER_LIST=880
MVQ_LOSSLESS_NAME=ZMBV

convert_usage() {
  die "usage: convert [IN.swf [OUT.avi|.mp4|.mkv|.mov|.webm|.gif]] [--start N] [--end N] [--fps100 N] [--mode skip-backward|frame-by-frame|normal] [--size WxH] [--keep-aspect|--stretch] [--sound none|record|FILE.wav] [--codec lossless|uncompressed] [--crf N] [--quiet]; convert IN... --out-dir DIR [--format mp4|avi|mkv|mov|webm|gif] [--jobs N] [options]"
}

wpath() { winepath -w "$1" 2>/dev/null; }

# The reply text of a driver command's "ok" line, or fails.
convert_expect_ok() {  # replies...
  local line
  for line in "$@"; do
    case $line in ok*) ;; *) return 1 ;; esac
  done
}

# An error box now showing: its text on stderr, OK pressed; true when there was one.
convert_error_box() {  # timeout-ms
  local reply
  reply=$(ui_driver attach "message-box $1" "press-box OK" | sed -n '2p')
  case $reply in
    ok*) say "error: $(echo "${reply#ok }" | cut -d'|' -f2)"; return 0 ;;
  esac
  return 1
}

convert_quit() {
  ui_driver attach "menu $MVQ_ID_EXIT" "wait-exit 20000" >/dev/null
  ui_driver attach terminate >/dev/null 2>&1
}

convert_size_window() {  # WxH keep-aspect(1/0/"")
  local size=$1 aspect=$2
  if [ -n "$aspect" ]; then
    local state
    state=$(ui_driver attach "menu-state $MVQ_ID_KEEP_ASPECT" | tail -1)
    case "$aspect:$state" in
      1:*unchecked|0:*" checked") ui_driver attach "menu $MVQ_ID_KEEP_ASPECT" idle >/dev/null ;;
    esac
  fi
  [ -n "$size" ] || return 0
  local width=${size%x*} height=${size#*x}
  ui_driver attach "menu $MVQ_ID_DIMENSIONS" "dialog Dimensions 10000" "check $(resource_id IDC_USE_ORIGINAL_SIZE) off" \
    "set-text $(resource_id IDC_DIMENSION_WIDTH) $width" "set-text $(resource_id IDC_DIMENSION_HEIGHT) $height" "press 1" "wait-closed 5000" idle >/dev/null
}

convert_fill_dialog() {  # prints driver commands for the settings dialog
  [ -n "$CV_START" ] && echo "set-text $(resource_id IDC_START_FRAME) $CV_START"
  [ -n "$CV_END" ] && echo "set-text $(resource_id IDC_END_FRAME) $CV_END"
  case $CV_MODE in
    skip-backward) echo "click $(resource_id IDC_SKIP_BACKWARD)" ;;
    frame-by-frame) echo "click $(resource_id IDC_FRAME_BY_FRAME)" ;;
    normal) echo "click $(resource_id IDC_NORMAL)" ;;
  esac
  case $CV_SOUND in
    none) echo "click $(resource_id IDC_AUDIO_NONE)" ;;
    record) echo "click $(resource_id IDC_AUDIO_RECORD)" ;;
    "") ;;
    *) echo "click $(resource_id IDC_AUDIO_WAV)" ;;
  esac
  # After the sound choice: choosing recording resets the rate.
  [ -n "$CV_FPS100" ] && echo "set-text $(resource_id IDC_FRAME_RATE) $CV_FPS100"
  true
}

convert_choose_wav() {
  case $CV_SOUND in none|record|"") return 0 ;; esac
  ui_driver attach "dialog \"AVI Export Setting\" 5000" "click $(resource_id IDC_WAV_BROWSE)" \
    "file-dialog \"Open WAV file\" \"$(wpath "$CV_SOUND")\" 10000" >/dev/null
  sleep 0.5
}

convert_report() {  # out
  local out=$1 files=() f
  mapfile -t files < <(convert_avi_parts "$out")
  [ ${#files[@]} -gt 0 ] || { say "error: no file was written"; return 1; }
  for f in "${files[@]}"; do
    echo "$f"
    ffprobe -v error -count_frames -show_entries \
      stream=codec_type,codec_name,width,height,r_frame_rate,nb_read_frames,duration,sample_rate,channels \
      -of compact=p=0 "$f" | sed 's/^/  /'
  done
}

# The sample movie, made by its generator inside the session.
convert_make_sample() {
  [ "$CV_IN" = "$MVQ_ROOT/samples/sample.swf" ] || return 0
  local made=$MVQ_SESSION_DIR/sample.swf
  wine "$MVQ_BIN/make-sample-movie.exe" "$(wpath "$made")" </dev/null >/dev/null 2>&1 \
    && mkdir -p "$(dirname "$CV_IN")" && mv -f "$made" "$CV_IN" || { say "error: the sample movie could not be made"; return 1; }
}

# The compressor of the settings dialog now open. Lossless is the chooser's entry
# naming ZMBV; without one the dialog's default, uncompressed, stays (with a
# warning when the user asked for a lossless AVI).
convert_choose_codec() {
  [ "$CV_CODEC" = lossless ] || return 0
  local replies
  replies=$(ui_driver attach "dialog \"AVI Export Setting\" 5000" "click $MVQ_ID_COMPRESSOR_SELECT" \
    "dialog \"$MVQ_CHOOSER_TITLE\" 10000" "choose-item $MVQ_CHOOSER_LIST $MVQ_LOSSLESS_NAME")
  case $replies in
    *"ok $MVQ_CHOOSER_TITLE"*)
      if [[ $(echo "$replies" | tail -1) == ok* ]]; then
        ui_driver attach "dialog \"$MVQ_CHOOSER_TITLE\" 2000" "press 1" "wait-closed 5000" >/dev/null
        return 0
      fi
      ui_driver attach "dialog \"$MVQ_CHOOSER_TITLE\" 2000" cancel "wait-closed 5000" >/dev/null ;;
  esac
  [ "$CV_KIND" = avi ] && say "warning: no $MVQ_LOSSLESS_NAME compressor is installed; the AVI is uncompressed"
  return 0
}

# The AVI the program writes: the output itself, or one in the session folder
# that ffmpeg then makes into the output.
convert_program_avi() {
  if [ "$CV_KIND" = avi ]; then echo "$CV_OUT"; else echo "$MVQ_SESSION_DIR/program.avi"; fi
}

convert_run() {
  local avi
  avi=$(convert_program_avi)
  convert_run_program "$avi" || return 1
  if [ "$CV_KIND" != avi ]; then
    convert_encode "$avi" "$CV_OUT" "$CV_KIND" "$CV_CRF" || return 1
  fi
  convert_report "$CV_OUT"
}

convert_run_program() {  # avi
  local avi=$1 commands replies
  convert_make_sample || return 1
  commands=("start $(wpath "$MVQ_BIN/Moviquill.exe") cwd=\"$(wpath "$PWD")\"" "main-window 30000"
    "menu $MVQ_ID_OPEN" "file-dialog \"Select a Flash File\" \"$(wpath "$CV_IN")\" 10000" idle)
  replies=$(ui_driver "${commands[@]}")
  convert_expect_ok $replies >/dev/null 2>&1 || true
  if convert_error_box 500; then convert_quit; return 1; fi
  convert_size_window "$CV_SIZE" "$CV_ASPECT"

  rm -f "$avi"
  replies=$(ui_driver attach "menu $MVQ_ID_CREATE_AVI" \
    "file-dialog \"Create AVI File\" \"$(wpath "$avi")\" 10000" "dialog \"AVI Export Setting\" 10000")
  case $replies in
    *"ok AVI Export Setting"*) ;;
    *) say "error: the settings dialog did not open"; convert_quit; return 1 ;;
  esac
  convert_choose_wav
  convert_choose_codec
  local fill=()
  mapfile -t fill < <(convert_fill_dialog)
  ui_driver attach "dialog \"AVI Export Setting\" 5000" "${fill[@]}" "press 1" >/dev/null
  if convert_error_box 1500; then
    ui_driver attach "dialog \"AVI Export Setting\" 2000" cancel >/dev/null
    convert_quit
    return 1
  fi
  # The progress window comes and goes once per pass (recording, then video);
  # a pass that fails ends with a message box instead of the next window.
  local pass
  for pass in 1 2; do
    convert_wait_pass || break
  done
  convert_end_passes
  if convert_error_box 500; then convert_quit; return 1; fi
  convert_quit
  return 0
}

# Options into CV_*; the movie options also into CV_PASS, for a batch's runs.
convert_parse() {  # args...
  CV_INPUTS=() CV_PASS=() CV_START="" CV_END="" CV_FPS100="" CV_MODE="" CV_SIZE="" CV_ASPECT="" CV_SOUND=""
  CV_CODEC="" CV_CRF="" CV_OUT_DIR="" CV_FORMAT="" CV_JOBS=""
  while [ $# -gt 0 ]; do
    case $1 in
      --start|--end|--fps100|--mode|--size|--sound|--codec|--crf)
        [ $# -ge 2 ] || convert_usage
        CV_PASS+=("$1" "$2")
        convert_option "$1" "$2"
        shift 2 ;;
      --keep-aspect) CV_ASPECT=1; CV_PASS+=("$1"); shift ;;
      --stretch) CV_ASPECT=0; CV_PASS+=("$1"); shift ;;
      --quiet) MVQ_QUIET=1; shift ;;
      --out-dir) CV_OUT_DIR=${2:-}; shift 2 || convert_usage; [ -n "$CV_OUT_DIR" ] || convert_usage ;;
      --format) CV_FORMAT=${2:-}; shift 2 || convert_usage
        case " avi $MVQ_ENCODED_FORMATS " in *" $CV_FORMAT "*) ;; *) convert_usage ;; esac ;;
      --jobs) CV_JOBS=${2:-}; shift 2 || convert_usage; [[ $CV_JOBS =~ ^[1-9][0-9]*$ ]] || convert_usage ;;
      -*) convert_usage ;;
      *) CV_INPUTS+=("$1"); shift ;;
    esac
  done
}

convert_option() {  # name value
  case $1 in
    --start) CV_START=$2 ;;
    --end) CV_END=$2 ;;
    --fps100) CV_FPS100=$2 ;;
    --mode) CV_MODE=$2
      case $CV_MODE in skip-backward|frame-by-frame|normal) ;; *) convert_usage ;; esac ;;
    --size) CV_SIZE=$2; [[ $CV_SIZE =~ ^[0-9]+x[0-9]+$ ]] || convert_usage ;;
    --sound) CV_SOUND=$2 ;;
    --codec) CV_CODEC=$2; case $CV_CODEC in lossless|uncompressed) ;; *) convert_usage ;; esac ;;
    --crf) CV_CRF=$2; [[ $CV_CRF =~ ^[0-9]+$ ]] && [ "$CV_CRF" -le 63 ] || convert_usage ;;
  esac
}

# --codec and --crf each belong to some kinds of output only.
convert_check_kind() {  # kind
  [ -z "$CV_CODEC" ] || [ "$1" = avi ] || die "--codec is for .avi output (other kinds go through a lossless AVI)"
  case $1 in avi|gif) [ -z "$CV_CRF" ] || die "--crf is for .mp4, .mkv, .mov and .webm output" ;; esac
}

cmd_convert() {
  convert_parse "$@"
  if [ -n "$CV_OUT_DIR" ]; then convert_batch; return; fi
  [ -z "$CV_FORMAT" ] && [ -z "$CV_JOBS" ] || die "--format and --jobs go with --out-dir"
  [ ${#CV_INPUTS[@]} -le 2 ] || die "several movies need --out-dir DIR"
  CV_IN=${CV_INPUTS[0]:-} CV_OUT=${CV_INPUTS[1]:-}
  case $CV_SOUND in none|record|"") ;; *) [ -f "$CV_SOUND" ] || die "no such WAV file: $CV_SOUND"
    CV_SOUND=$(cd "$(dirname "$CV_SOUND")" && pwd)/$(basename "$CV_SOUND") ;; esac
  if [ -z "$CV_IN" ]; then
    CV_IN=$MVQ_ROOT/samples/sample.swf
    CV_OUT=${CV_OUT:-sample.avi}
  else
    [ -f "$CV_IN" ] || die "no such movie: $CV_IN"
    CV_IN=$(cd "$(dirname "$CV_IN")" && pwd)/$(basename "$CV_IN")
  fi
  [ -n "$CV_OUT" ] || CV_OUT=$(basename "${CV_IN%.*}").avi
  case $CV_OUT in /*) ;; *) CV_OUT=$PWD/$CV_OUT ;; esac
  CV_KIND=$(convert_output_kind "$CV_OUT")
  [ -n "$CV_KIND" ] || die "the output must end in .avi, .${MVQ_ENCODED_FORMATS// /, .}: $CV_OUT"
  convert_check_kind "$CV_KIND"
  CV_CODEC=${CV_CODEC:-lossless}
  # The program's save dialog would only refuse it, in a box of its own.
  [ -d "$(dirname "$CV_OUT")" ] || die "no such folder for the output: $(dirname "$CV_OUT")"
  [ -n "${MVQ_CONVERT_NO_SETUP:-}" ] || ensure_setup
  # MVQ_CONVERT_NO_SETUP: the caller's session (the tests') already runs Wine,
  # Xvfb and the sound loopback; the run still gets a folder of its own.
  if [ -n "${MVQ_CONVERT_NO_SETUP:-}" ]; then run_in_session -- convert_run; return; fi
  # Recording takes the movie's sound from the sound card: the private loopback.
  # Without --sound the dialog's own choice holds, which records at first.
  case $CV_SOUND in
    none) with_wine convert_run ;;
    record|"") with_pulse with_wine convert_run ;;
    *) with_wine convert_run ;;
  esac
}
