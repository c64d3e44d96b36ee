# The one-line progress display of long commands (convert, render), drawn on
# standard error when it is a terminal and --quiet was not given:
#   recording [#######.............]  3/10 s
#   [##########..........] 120/240 frames  24.3 fps  0:05 left
#
#   progress_wanted              true when the line should be drawn
#   progress_recording S TOTAL   the seconds of sound recorded so far
#   progress_frames DONE TOTAL   frames done; the rate is measured from the first call
#   progress_end                 clears the line

MVQ_QUIET=${MVQ_QUIET:-}
MVQ_PROGRESS_START=
MVQ_PROGRESS_FIRST=0
MVQ_PROGRESS_DRAWN=

progress_wanted() { [ -z "$MVQ_QUIET" ] && [ -t 2 ]; }

progress_bar() {  # done total width
  local done=$1 total=$2 width=$3 filled=0
  [ "$total" -gt 0 ] && filled=$((done * width / total))
  [ "$filled" -gt "$width" ] && filled=$width
  local bar
  printf -v bar '%*s' "$filled" ''
  local rest
  printf -v rest '%*s' $((width - filled)) ''
  printf '[%s%s]' "${bar// /#}" "${rest// /.}"
}

progress_draw() {  # text
  printf '\r%s\033[K' "$1" >&2
  MVQ_PROGRESS_DRAWN=1
}

progress_recording() {  # seconds total
  progress_draw "recording $(progress_bar "$1" "$2" 20) $1/$2 s"
}

# Microseconds since the epoch, from bash's own clock.
progress_now() { local t=${EPOCHREALTIME/[.,]/}; echo "$t"; }

progress_frames() {  # done total
  local done=$1 total=$2 now elapsed rate="" left=""
  now=$(progress_now)
  if [ -z "$MVQ_PROGRESS_START" ]; then
    MVQ_PROGRESS_START=$now
    MVQ_PROGRESS_FIRST=$done
  fi
  elapsed=$((now - MVQ_PROGRESS_START))
  local made=$((done - MVQ_PROGRESS_FIRST))
  if [ "$elapsed" -gt 0 ] && [ "$made" -gt 0 ]; then
    local tenths=$((made * 10000000 / elapsed))  # frames per second, times ten
    rate=$(printf '  %d.%d fps' $((tenths / 10)) $((tenths % 10)))
    local seconds=$(((total - done) * elapsed / made / 1000000))
    left=$(printf '  %d:%02d left' $((seconds / 60)) $((seconds % 60)))
  fi
  progress_draw "$(progress_bar "$done" "$total" 20) $done/$total frames$rate$left"
}

progress_end() {
  [ -n "$MVQ_PROGRESS_DRAWN" ] && printf '\r\033[K' >&2
  MVQ_PROGRESS_DRAWN=
  MVQ_PROGRESS_START=
}
