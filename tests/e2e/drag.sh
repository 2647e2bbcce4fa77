# A left press on the clock moves it: a click without motion leaves it in place, a drag moves it
# by exactly the pointer's motion, also off the screen's left edge, and nothing is written. Runs
# without a window manager, then again under openbox, where the clock also stays marked to skip
# the taskbar and to stay above (a taskbar itself is not there to look at).
. "$(dirname "$0")/lib.sh"

drag_checks() {
  local where=$1 left top
  start_clock
  read -r left top _ _ <<<"$(clock_geometry)"
  xdotool mousemove $((left + 10)) $((top + 10)) click 1
  sleep 0.5
  expect_clock_geometry "$left $top 80 30"
  drag $((left + 10)) $((top + 10)) -120 90
  wait_until 5 "the clock to follow the drag $where" clock_at "$((left - 120)) $((top + 90)) 80 30"
  # Pressed 70 pixels into the face and released at x 20: the left edge ends at -50.
  drag $((left - 50)) $((top + 100)) $((70 - left)) -50
  wait_until 5 "the clock to follow the drag off the left edge $where" \
    clock_at "-50 $((top + 40)) 80 30"
  expect_no_settings "after dragging $where"
}

clock_at() {
  [ "$(clock_geometry)" = "$1" ]
}

drag_checks "without a window manager"
stop_clock

start_window_manager
drag_checks "under openbox"
xprop -id "$clock_window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
  fail "under openbox the clock is not marked to skip the taskbar: $(xprop -id "$clock_window" _NET_WM_STATE)"
xprop -id "$clock_window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE ||
  fail "under openbox the clock is not marked to stay above: $(xprop -id "$clock_window" _NET_WM_STATE)"
stop_clock
