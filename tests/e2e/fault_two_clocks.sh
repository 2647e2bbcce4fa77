# Two clocks at once on the same settings file, choosing entries in turn: each shows its own
# choices at once and keeps ticking, every write goes through whole (a key written by one clock is
# not lost when the other writes next), the file ends with the last choice of each key and the
# position of the clock that exited last, and both end with 0. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

# The lib's helpers work on one clock (clock_pid, clock_window); use_clock switches between the
# two, and the other one's window is neither taken for the new clock nor counted as a popup.
declare -A pid_of window_of
other_clock=""

use_clock() {
  clock_pid=${pid_of[$1]}
  clock_window=${window_of[$1]}
  other_clock=${window_of[$2]}
}

find_clock_window() {
  kill -0 "$clock_pid" 2>/dev/null || fail "the program ended at start-up (see $work)"
  clock_window=$(xdotool search --onlyvisible --class talvessa.exe 2>/dev/null |
    grep -vx "${other_clock:-none}" | head -n 1)
  [ -n "$clock_window" ]
}

popups() {
  local window
  for window in $(xdotool search --onlyvisible --class talvessa.exe 2>/dev/null); do
    [ "$window" = "$clock_window" ] || [ "$window" = "$other_clock" ] ||
      echo "$window $(geometry "$window")"
  done
}

# start_as NAME: starts a clock and keeps its process and window under NAME.
start_as() {
  start_clock
  pid_of[$1]=$clock_pid
  window_of[$1]=$clock_window
  helper_pids+=("$clock_pid")
}

write_settings $'[conf]\r\ncolor=255\r\nleft=100\r\ntop=100\r\n'
start_as first
expect_clock_geometry "100 100 80 30"
wait_for_bands first-ticking 2 5
write_settings $'[conf]\r\ncolor=255\r\nleft=500\r\ntop=100\r\n'
other_clock=${window_of[first]}
start_as second
expect_clock_geometry "500 100 80 30"
wait_for_bands second-ticking 2 5

use_clock first second
choose Down Right Return
shoot first-yellow
expect_text "$shot" 255,255,0 2 "the first clock's colour"

use_clock second first
choose Down Down Right Return
expect_clock_geometry "500 100 62 16"
wait_for_bands second-time-only 1 3

use_clock first second
choose Down Down Down Right Return
expect_alpha 75
expect_ticking "the first clock"

use_clock second first
choose Down Right Down Down Down Down Down Return
shoot second-sky-blue
expect_text "$shot" 0,136,255 1 "the second clock's colour over the time alone"
expect_ticking "the second clock"

use_clock first second
choose Down Down Right Down Down Return
expect_clock_geometry "100 100 64 30"
wait_for_bands first-weekday 2 3
expect_text "$shot" 255,255,0 2 "the first clock's weekday and time in its colour"

both=$'[conf]\r\ncolor=16746496\r\nleft=500\r\ntop=100\r\ndate=dddd?\r\ntime=hh:mm:ss\r\nwidth=64\r\nheight=30\r\nhyaline=75\r\n'
expect_settings "$both" "after the choices of both clocks"

use_clock first second
exit_by_menu
expect_equal "$clock_status" 0 "the first clock's exit code"
expect_settings "${both/left=500/left=100}" "after the first clock's Exit"
use_clock second first
other_clock=""
expect_ticking "the second clock after the first one's Exit"
exit_by_menu
expect_equal "$clock_status" 0 "the second clock's exit code"
expect_settings "$both" "after the second clock's Exit"
