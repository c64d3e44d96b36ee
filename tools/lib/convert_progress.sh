# Waiting for the program's progress window ("Converting to AVI") to come and
# go, once per pass. On a terminal the window's own texts and bar are read a few
# times a second by one UI driver kept running for all passes of a conversion (a
# short second pass can come and go while a new driver starts), and shown as the
# progress line (progress_line.sh); otherwise one driver a pass just waits.
#
#   convert_wait_pass   0 when a progress window came and went, 1 when none came
#   convert_end_passes  stops the driver that followed the passes

MVQ_PROGRESS_TITLE="Converting to AVI"
MVQ_PROGRESS_COUNT=$(resource_id IDC_PROGRESS_COUNT)
MVQ_PROGRESS_TOTAL=$(resource_id IDC_PROGRESS_TOTAL)
MVQ_PROGRESS_BAR=$(resource_id IDC_PROGRESS_BAR)
CV_FOLLOWER_PID=

convert_wait_pass() {
  if ! progress_wanted; then
    local replies
    replies=$(ui_driver attach "dialog \"$MVQ_PROGRESS_TITLE\" 3000" "wait-closed 2147483647")
    case $replies in *"ok $MVQ_PROGRESS_TITLE"*) return 0 ;; *) return 1 ;; esac
  fi
  [ -n "$CV_FOLLOWER_PID" ] || convert_start_follower || return 1
  convert_follow_pass
}

# One question to the running driver; its reply in CV_REPLY.
convert_ask() {  # command
  CV_REPLY=
  echo "$1" >&"$CV_DRIVER_IN" 2>/dev/null || return 1
  IFS= read -r -t 60 CV_REPLY <&"$CV_DRIVER_OUT" || return 1
  CV_REPLY=${CV_REPLY%$'\r'}
}

convert_start_follower() {
  coproc CV_DRIVER { exec wine "$MVQ_BIN/mvq-ui.exe" 2>/dev/null; }
  CV_FOLLOWER_PID=$CV_DRIVER_PID
  CV_DRIVER_IN=${CV_DRIVER[1]} CV_DRIVER_OUT=${CV_DRIVER[0]}
  convert_ask attach
}

convert_end_passes() {
  [ -n "$CV_FOLLOWER_PID" ] || return 0
  convert_ask quit
  exec {CV_DRIVER_IN}>&- {CV_DRIVER_OUT}<&-
  wait "$CV_FOLLOWER_PID" 2>/dev/null
  CV_FOLLOWER_PID=
}

convert_follow_pass() {
  local came=1 count total bar
  if convert_ask "dialog \"$MVQ_PROGRESS_TITLE\" 3000" && [[ $CV_REPLY == ok* ]]; then
    came=0
    while convert_ask "get-text $MVQ_PROGRESS_COUNT" && count=$CV_REPLY &&
          convert_ask "get-text $MVQ_PROGRESS_TOTAL" && total=$CV_REPLY &&
          convert_ask "bar $MVQ_PROGRESS_BAR" && bar=$CV_REPLY; do
      convert_show_window "$count" "$total" "$bar"
      convert_ask "wait-closed 250" || break
      [[ $CV_REPLY == ok* ]] && break
    done
  fi
  progress_end
  return $came
}

# The window's texts: "Creating audio : N frames" while the sound is recorded
# (the bar counts seconds), then "Creating video : N frames" and
# "Total : N frames\n(FIRST ~ LAST)".
convert_show_window() {  # count-reply total-reply bar-reply
  local count=$1 total=$2 bar=$3 position low high
  [[ $count == ok* && $bar == ok* ]] || return 0
  read -r position low high <<<"${bar#ok }"
  if [[ $count == *audio* ]]; then
    progress_recording "$((position - low))" "$((high - low))"
  elif [[ $count =~ ([0-9]+) ]]; then
    local done=${BASH_REMATCH[1]}
    [[ $total =~ ([0-9]+) ]] && progress_frames "$done" "${BASH_REMATCH[1]}"
  fi
}
