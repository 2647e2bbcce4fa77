# Exit from the popup writes the window's left and top (keeping the other keys), removes the tray
# icon and ends the program with exit code 0; the next start restores the position with the rest.
# An Exit with the left edge off the screen writes the negative value, and the start after it
# keeps the centred place. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

edited=$'[conf]\r\ncolor=16754943\r\ndate=dddd?\r\ntime=hh:mm:ss\r\nhyaline=125\r\nwidth=64\r\nheight=30\r\n'
write_settings "$edited"
centred_left=$(((screen_width - 219) / 2))
centred_top=$(((screen_height - 83) / 2))

# expect_exit: after Exit was chosen: the popup closes, the tray icon goes, the program ends with 0.
expect_exit() {
  wait_popups 0 "the popup to close after Exit"
  wait_until 10 "the tray icon to go after Exit" tray_gone
  wait_for_exit 15
  expect_equal "$clock_status" 0 "the exit code after Exit"
}

start_clock
expect_clock_geometry "$centred_left $centred_top 64 30"
tray_shown || fail "no tray icon while the clock runs"
drag $((centred_left + 10)) $((centred_top + 10)) 100 -80
moved_left=$((centred_left + 100))
moved_top=$((centred_top - 80))
expect_clock_geometry "$moved_left $moved_top 64 30"
xdotool mousemove $((moved_left + 20)) $((moved_top + 10)) click 3
wait_popups 1 "the popup"
read -r main_id main <<<"$(popups)"
xdotool key Down Right
wait_popups 2 "the colour submenu"
read -r _ _ _ _ theme_height <<<"$(popup_other_than "$main_id")"
learn_item_layout "$(echo "$main" | cut -d' ' -f4)" "$theme_height" 7
xdotool key Escape
wait_popups 1 "the colour submenu to close"
click_item "$main" 3 1
expect_exit
expect_settings "$edited"$'left='"$moved_left"$'\r\ntop='"$moved_top"$'\r\n' "after Exit"

start_clock
expect_clock_geometry "$moved_left $moved_top 64 30"
expect_alpha 125
wait_for_bands weekday-and-time 2 5
expect_text "$shot" 255,168,255 2 "the restored colour and format"

# Pressed 50 pixels into the face and released at x 20: the left edge ends at -30.
drag $((moved_left + 50)) $((moved_top + 10)) $((20 - moved_left - 50)) 0
expect_clock_geometry "-30 $moved_top 64 30"
xdotool mousemove 20 $((moved_top + 10)) click 3
wait_popups 1 "the popup at the screen's edge"
xdotool key Up Return
expect_exit
expect_settings "$edited"$'left=-30\r\ntop='"$moved_top"$'\r\n' "after Exit off the left edge"

start_clock
expect_clock_geometry "$centred_left $centred_top 64 30"
stop_clock
