# Under a window manager (openbox) the clock stays above an ordinary window that is activated and
# raised over it, and its popup opens at the pointer as without one. That it has no taskbar button
# cannot be seen without a taskbar; drag.sh checks the skip-taskbar mark instead.
. "$(dirname "$0")/lib.sh"

ordinary_window_shown() {
  ordinary=$(xdotool search --onlyvisible --class xmessage 2>/dev/null | head -n 1)
  [ -n "$ordinary" ]
}

start_window_manager
left=$(((screen_width - 219) / 2))
top=$(((screen_height - 83) / 2))
xmessage -geometry "300x200+$((left - 100))+$((top - 60))" "an ordinary window" \
  >"$work/xmessage.log" 2>&1 &
helper_pids+=($!)
wait_until 20 "the ordinary window" ordinary_window_shown
sleep 0.5
shoot_area ordinary "$left" "$top" 80 30
[ "$(colours "$shot" | grep -c .)" -gt 0 ] || fail "the ordinary window does not cover the clock's place"

start_clock '2024-03-05 07:08:09'
expect_clock_geometry "$left $top 80 30"
wait_for_bands ticking 2 5
xdotool windowactivate "$ordinary" 2>/dev/null
xdotool windowraise "$ordinary"
sleep 0.5
shoot_area above "$left" "$top" 80 30
expect_text "$shot" 255,255,255 2 "the clock's place after raising the ordinary window"

# The pointer rests on the clock before the click, as a user's would: under openbox a click that
# arrives with the pointer's first motion onto a window was seen to open nothing once.
xdotool mousemove $((left + 20)) $((top + 8))
sleep 0.5
xdotool click 3
wait_popups 1 "the popup under openbox"
read -r _ popup_left popup_top _ _ <<<"$(popups)"
expect_equal "$popup_left $popup_top" "$((left + 23)) $((top + 11))" "the popup's corner under openbox"
xdotool key Escape
wait_popups 0 "the popup to close on Escape"
stop_clock
