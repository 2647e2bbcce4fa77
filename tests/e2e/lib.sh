# Helpers of the end-to-end scenarios, sourced by each tests/e2e/*.sh.
#
# A scenario runs as `bash SCENARIO.sh PATH/Talvessa.exe` inside a running Wine session (DISPLAY,
# WINEPREFIX and WINEDEBUG exported, as tools/test.sh does from tools/wine-session.sh's env file).
# It drives the real program as a user would (xdotool) and looks at it only from outside: X window
# geometry and properties, screenshots, the settings file in the prefix's Documents folder and the
# process's exit code. Every wait has a timeout; on any exit the scenario's clock and helpers are
# stopped and the settings file is put back as it was.
set -uo pipefail

exe=${1:?usage: bash SCENARIO.sh PATH/Talvessa.exe}
scenario=$(basename "$0" .sh)

fail() {
  echo "FAIL [$scenario]: $*" >&2
  exit 1
}

note() {
  echo "[$scenario] $*"
}

[ -f "$exe" ] || fail "no program at $exe"
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] ||
  fail "no Wine session: run inside tools/test.sh, or source the env file of tools/wine-session.sh"
xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"

work=$(mktemp -d "${TMPDIR:-/tmp}/talvessa-e2e-$scenario.XXXXXX")
settings="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Talvessa.ini"
mkdir -p "$(dirname "$settings")"
if [ -f "$settings" ]; then cp -p "$settings" "$work/settings.saved"; fi
rm -f "$settings"

clock_pid=""
clock_window=""
clock_starts=0
helper_pids=()
cleanup_steps=()  # commands a scenario adds to run at its end, after its programs are stopped
screen_width=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
screen_height=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')

cleanup() {
  local status=$?
  kill_clock
  local pid
  for pid in "${helper_pids[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  local step
  for step in "${cleanup_steps[@]}"; do "$step"; done
  # Wine drops the icon of a killed process a moment later; the next scenario starts without it.
  wait_quietly 10 tray_gone
  rm -f "$settings"
  if [ -f "$work/settings.saved" ]; then cp -p "$work/settings.saved" "$settings"; fi
  if [ "$status" -eq 0 ]; then
    rm -rf "$work"
    note "passed"
  else
    echo "[$scenario] screenshots and logs kept in $work" >&2
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

# wait_quietly SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds (status 0) or the
# time is up (status 1).
wait_quietly() {
  local deadline=$((SECONDS + $1))
  shift
  while :; do
    "$@" && return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# wait_until SECONDS WHAT COMMAND...: as wait_quietly, and fails the scenario on timeout.
wait_until() {
  local seconds=$1 what=$2
  shift 2
  wait_quietly "$seconds" "$@" || fail "timed out after ${seconds}s waiting for $what"
}

# expect_equal ACTUAL EXPECTED WHAT
expect_equal() {
  [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
}

# --- The program ---------------------------------------------------------------------------------

# start_clock [FAKETIME]: starts the program (under faketime when given, e.g. '2024-03-05 07:08:09')
# and waits for its window; sets clock_pid and clock_window.
start_clock() {
  clock_starts=$((clock_starts + 1))
  local log="$work/clock-$clock_starts.log"
  if [ $# -gt 0 ]; then
    faketime "$1" wine "$exe" >"$log" 2>&1 &
  else
    wine "$exe" >"$log" 2>&1 &
  fi
  clock_pid=$!
  clock_window=""
  wait_until 30 "the clock's window to show" find_clock_window
}

find_clock_window() {
  kill -0 "$clock_pid" 2>/dev/null || fail "the program ended at start-up (see $work)"
  clock_window=$(xdotool search --onlyvisible --class talvessa.exe 2>/dev/null | head -n 1)
  [ -n "$clock_window" ]
}

# wait_for_exit SECONDS: waits for the program to end and sets clock_status to its exit code
# (an exit code of -1 shows as 255).
wait_for_exit() {
  wait_until "$1" "the program to end" clock_ended
  wait "$clock_pid"
  clock_status=$?
  clock_pid=""
  clock_window=""
}

clock_ended() {
  ! kill -0 "$clock_pid" 2>/dev/null
}

# kill_clock: ends the program, if it runs, without its menu. faketime runs it as a child.
kill_clock() {
  [ -n "$clock_pid" ] || return 0
  local pids
  pids="$(pgrep -P "$clock_pid") $clock_pid"
  # shellcheck disable=SC2086
  kill $pids 2>/dev/null
  wait "$clock_pid" 2>/dev/null
  clock_pid=""
  clock_window=""
}

# stop_clock: kill_clock, then wait until Wine has dropped its tray icon.
stop_clock() {
  kill_clock
  wait_until 10 "the tray icon of the stopped clock to go" tray_gone
}

# --- Windows -------------------------------------------------------------------------------------

# geometry WINDOW: "left top width height" in screen pixels.
geometry() {
  # Empty for a window that went away meanwhile (a popup closing).
  local X="" Y="" WIDTH="" HEIGHT=""
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  echo "$X $Y $WIDTH $HEIGHT"
}

clock_geometry() {
  geometry "$clock_window"
}

expect_clock_geometry() {
  expect_equal "$(clock_geometry)" "$1" "the clock's left, top, width, height"
}

# opacity WINDOW: the window's _NET_WM_WINDOW_OPACITY, or "none".
opacity() {
  local value
  value=$(xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | sed -nE 's/.* = ([0-9]+)$/\1/p')
  echo "${value:-none}"
}

# expect_alpha ALPHA: the layered alpha shows as ALPHA * 0x01010101; Wine removes the property
# for a fully opaque window (255).
expect_alpha() {
  local expected=$(($1 * 0x01010101))
  [ "$1" -eq 255 ] && expected=none
  expect_equal "$(opacity "$clock_window")" "$expected" "the clock's opacity for alpha $1"
}

# popups: "id left top width height" of each visible window of the program but the clock.
popups() {
  local window
  for window in $(xdotool search --onlyvisible --class talvessa.exe 2>/dev/null); do
    [ "$window" = "$clock_window" ] || echo "$window $(geometry "$window")"
  done
}

popup_count_is() {
  [ "$(popups | grep -c .)" -eq "$1" ]
}

# wait_popups COUNT WHAT: waits until exactly COUNT popup windows are open.
wait_popups() {
  wait_until 10 "$2 ($1 popup windows open)" popup_count_is "$1"
}

popup_open() {
  ! popup_count_is 0
}

# expect_no_popup_after SECONDS WHAT: no popup opens within SECONDS.
expect_no_popup_after() {
  if wait_quietly "$1" popup_open; then fail "$2 opened a popup: $(popups)"; fi
}

# The popup just opened: "id left top width height" of the one popup whose id is not in $1.
popup_other_than() {
  popups | awk -v known=" $1 " 'index(known, " " $1 " ") == 0' | head -n 1
}

# Menu item layout, learnt from the main popup (4 entries) and one submenu of N entries: sets
# item_height and menu_border.
learn_item_layout() {
  local main_height=$1 sub_height=$2 entries=$3
  item_height=$(((sub_height - main_height) / (entries - 4)))
  menu_border=$(((main_height - 4 * item_height) / 2))
  [ "$item_height" -gt 0 ] && [ "$menu_border" -ge 0 ] ||
    fail "menu heights $main_height and $sub_height do not fit 4 and $entries entries"
}

# click_item "left top width height" INDEX BUTTON: clicks the middle of entry INDEX (from 0).
click_item() {
  local left top width height
  read -r left top width height <<<"$1"
  xdotool mousemove $((left + width / 2)) $((top + menu_border + item_height * $2 + item_height / 2))
  sleep 0.2
  xdotool click "$3"
}

# --- Pixels --------------------------------------------------------------------------------------

# shoot NAME: a screenshot of the clock's window; sets shot to its path, $work/NAME.png.
shoot() {
  shot="$work/$1.png"
  import -window "$clock_window" "$shot" || fail "no screenshot of the clock"
}

# shoot_area NAME LEFT TOP WIDTH HEIGHT: a screenshot of part of the screen; sets shot.
shoot_area() {
  shot="$work/$1.png"
  import -window root -crop "$4x$5+$2+$3" +repage "$shot" || fail "no screenshot of the screen"
}

# colours FILE: each colour of the image but black, as "r,g,b", one a line.
colours() {
  convert "$1" -colorspace sRGB -type TrueColor -format %c histogram:info:- |
    sed -nE 's/^ *[0-9]+: \( *([0-9]+), *([0-9]+), *([0-9]+).*/\1,\2,\3/p' | grep -vx '0,0,0' | sort
}

# text_bands FILE: the runs of rows that hold a non-black pixel, as "first-last", one a line.
text_bands() {
  convert "$1" -colorspace sRGB -type TrueColor txt:- |
    awk -F'[,:() ]+' 'NR > 1 && ($3 + $4 + $5) > 0 { lit[$2] = 1 }
      END {
        first = -1
        for (y = 0; y <= 4096; y++) {
          if ((y in lit) && first < 0) first = y
          if (!(y in lit) && first >= 0) { print first "-" (y - 1); first = -1 }
        }
      }'
}

band_count() {
  text_bands "$1" | grep -c .
}

# band_pixels FILE BAND: a digest of the pixels of the rows FIRST-LAST.
band_pixels() {
  local first=${2%-*} last=${2#*-}
  convert "$1" -crop "x$((last - first + 1))+0+$first" +repage rgb:- | md5sum | cut -d' ' -f1
}

# expect_text FILE COLOUR BANDS WHAT: the face holds text in exactly COLOUR ("r,g,b") on black,
# in BANDS bands of rows.
expect_text() {
  local found
  found=$(colours "$1" | tr '\n' ' ')
  expect_equal "$found" "$2 " "$4: the colours of the text"
  expect_equal "$(band_count "$1")" "$3" "$4: the text's bands of rows ($(text_bands "$1" | tr '\n' ' '))"
}

# wait_for_bands NAME BANDS SECONDS: screenshots the clock until its text has BANDS bands of rows;
# sets shot to that screenshot.
wait_for_bands() {
  local deadline=$((SECONDS + $3))
  while :; do
    shoot "$1"
    [ "$(band_count "$shot")" -eq "$2" ] && return 0
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out after $3s waiting for $2 bands of text (see $shot)"
    sleep 0.1
  done
}

# --- Settings file -------------------------------------------------------------------------------

# write_settings TEXT: the settings file as a user would leave it (pass \r\n line ends).
write_settings() {
  printf '%s' "$1" >"$settings"
}

# expect_settings TEXT WHAT: the settings file holds exactly TEXT.
expect_settings() {
  [ -f "$settings" ] || fail "$2: no settings file"
  if ! cmp -s <(printf '%s' "$1") "$settings"; then
    fail "$2: the settings file differs; expected:
$(printf '%s' "$1" | sed -n l)
found:
$(sed -n l "$settings")"
  fi
}

expect_no_settings() {
  [ ! -e "$settings" ] || fail "$1: a settings file was written:
$(sed -n l "$settings")"
}

# --- Tray ----------------------------------------------------------------------------------------

# Without a tray host Wine shows the icons in its own "Wine System Tray" window, which goes away
# with the last icon.
tray_window() {
  xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null | head -n 1
}

tray_gone() {
  [ -z "$(tray_window)" ]
}

tray_shown() {
  [ -n "$(tray_window)" ]
}

# --- Window manager ------------------------------------------------------------------------------

# start_window_manager: runs openbox on the display until the scenario ends.
start_window_manager() {
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  helper_pids+=($!)
  wait_until 10 "openbox to manage the display" window_manager_running
  # openbox announces itself before it handles map requests: a window mapped in that moment
  # stays unmanaged and unmapped.
  sleep 1
}

window_manager_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# drag FROM_X FROM_Y DX DY: presses the left button, moves in ten steps, releases.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4 step
  xdotool mousemove "$x" "$y" mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.05
    xdotool mousemove $((x + dx * step / 10)) $((y + dy * step / 10))
  done
  sleep 0.1
  xdotool mouseup 1
}

# --- Choices -------------------------------------------------------------------------------------

# choose KEYS...: opens the popup with a right click on the middle of the clock, presses KEYS
# (e.g. Down Right Return: the first colour) and waits for the popup to close.
choose() {
  open_clock_popup
  xdotool key "$@"
  wait_popups 0 "the popup to close after the keys $*"
}

# exit_by_menu: chooses Exit, the popup's last entry, and waits for the program to end; sets
# clock_status.
exit_by_menu() {
  open_clock_popup
  xdotool key Up Return
  wait_for_exit 15
}

open_clock_popup() {
  local left top width height
  read -r left top width height <<<"$(clock_geometry)"
  xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 3
  wait_popups 1 "the popup after a right click on the clock"
}

# expect_ticking WHAT: the clock's face changes within 3 s (the seconds go on).
expect_ticking() {
  shoot "$1-before"
  local before=$shot deadline=$((SECONDS + 3))
  while :; do
    sleep 0.3
    shoot "$1-after"
    cmp -s "$before" "$shot" || return 0
    [ "$SECONDS" -lt "$deadline" ] || fail "$1: the clock's face did not change within 3 s"
  done
}

# expect_default_look WHAT: the clock shows the defaults: alpha 165, 80 x 30 where it stands (its
# place goes to clock_left and clock_top), and two lines of white text.
expect_default_look() {
  expect_alpha 165
  read -r clock_left clock_top _ _ <<<"$(clock_geometry)"
  expect_clock_geometry "$clock_left $clock_top 80 30"
  wait_for_bands defaults 2 5
  expect_text "$shot" 255,255,255 2 "$1"
}
