# ./moviquill gui [MOVIE]: the program under Wine, on the user's display when
# DISPLAY is set, else in an Xvfb of its own; a movie is opened through
# File > Open as a user would, by the UI driver (tools/ui_driver, mvq-ui.exe).
#
# ./moviquill gui --screenshot OUT.png [--play SECONDS] [MOVIE]: in Xvfb, opens
# MOVIE, plays it for SECONDS (0: stays on the first frame), writes a PNG of the
# main window (frame, menu and preview) and quits through File > Exit.

MVQ_ID_OPEN=$(resource_id ID_FILE_OPEN)
MVQ_ID_EXIT=$(resource_id ID_FILE_EXIT)
MVQ_ID_PLAY=$(resource_id ID_CONTROL_PLAY)

# Through a file, not a pipe: the program started by the driver inherits the
# driver's descriptors and would hold a pipe open until it ends.
ui_driver() {  # commands... : one driver run, its replies on stdout
  local replies rc
  replies=$(mktemp "${MVQ_SESSION_DIR:-${TMPDIR:-/tmp}}/mvq-ui.XXXXXX")
  wine "$MVQ_BIN/mvq-ui.exe" "$@" </dev/null >"$replies" 2>/dev/null
  rc=$?
  tr -d '\r' <"$replies"
  rm -f "$replies"
  return $rc
}

# Starts the program in its own folder, as its shortcut does (Help looks for its
# page in the working folder), and opens the movie (if any).
gui_start() {  # movie (may be empty)
  local movie=$1 commands
  commands=("start $(winepath -w "$MVQ_BIN/Moviquill.exe" 2>/dev/null) cwd=\"$(winepath -w "$MVQ_BIN" 2>/dev/null)\""
    "main-window 30000")
  if [ -n "$movie" ]; then
    commands+=("menu $MVQ_ID_OPEN"
      "file-dialog \"Select a Flash File\" \"$(winepath -w "$movie" 2>/dev/null)\" 10000"
      "idle")
  fi
  local replies
  replies=$(ui_driver "${commands[@]}") || { echo "$replies" >&2; return 1; }
}

gui_wait() {
  ui_driver attach "wait-exit 2147483647" >/dev/null
}

gui_screenshot() {  # out.png seconds movie
  local out=$1 seconds=$2 movie=$3
  gui_start "$movie" || { say "the program did not start or open the movie"; return 1; }
  if [ "$seconds" != 0 ]; then
    ui_driver attach "menu $MVQ_ID_PLAY" >/dev/null
    sleep "$seconds"
  fi
  local rect
  rect=$(ui_driver attach window-rect | sed -n 's/^ok \([-0-9]* [-0-9]* [-0-9]* [-0-9]*\)$/\1/p' | tail -1)
  [ -n "$rect" ] || { say "no main window to take a picture of"; return 1; }
  local left top right bottom
  read -r left top right bottom <<<"$rect"
  [ "$left" -lt 0 ] && left=0
  [ "$top" -lt 0 ] && top=0
  local geometry="$((right - left))x$((bottom - top))+$left+$top"
  xwd -root -silent -display "$DISPLAY" | /usr/bin/convert xwd:- -crop "$geometry" +repage "$out" \
    || { say "the screenshot failed"; return 1; }
  ui_driver attach "menu $MVQ_ID_EXIT" "wait-exit 10000" >/dev/null
  say "wrote $out ($geometry)"
}

cmd_gui() {
  local out="" seconds=0 movie=""
  while [ $# -gt 0 ]; do
    case $1 in
      --screenshot) out=${2:-}; shift 2 || die "--screenshot needs a file name" ;;
      --play) seconds=${2:-}; shift 2 || die "--play needs a number of seconds" ;;
      -*) die "usage: ./moviquill gui [--screenshot OUT.png [--play SECONDS]] [MOVIE]" ;;
      *) movie=$1; shift ;;
    esac
  done
  [[ $seconds =~ ^[0-9]+([.][0-9]+)?$ ]] || die "--play takes a number of seconds"
  if [ -n "$movie" ]; then
    [ -f "$movie" ] || die "no such movie: $movie"
    movie=$(cd "$(dirname "$movie")" && pwd)/$(basename "$movie")
  fi
  ensure_setup
  if [ -n "$out" ]; then
    case $out in /*) ;; *) out=$PWD/$out ;; esac
    with_wine gui_screenshot "$out" "$seconds" "$movie"
  elif [ -n "${DISPLAY:-}" ]; then
    with_wine_on_display gui_run "$movie"
  else
    say "no DISPLAY: the program runs in an Xvfb of its own until it ends"
    with_wine gui_run_in_xvfb "$movie"
  fi
}

gui_run() {
  gui_start "$1" && gui_wait
}

gui_run_in_xvfb() {
  say "Xvfb display $DISPLAY"
  gui_run "$1"
}
