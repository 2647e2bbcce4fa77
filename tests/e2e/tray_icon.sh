# The tray icon: a left click or a double click opens nothing; a right click opens the same popup
# with its right edge 5 pixels left of the pointer and its top 5 pixels above it (moved onto the
# screen), where a right click on an entry chooses nothing, a left click chooses it, and Escape
# closes it without a choice. Runs without a window manager, with Wine's own tray window.
. "$(dirname "$0")/lib.sh"

start_clock
wait_until 10 "the tray icon" tray_shown
read -r tray_left tray_top _ tray_height <<<"$(geometry "$(tray_window)")"
icon_x=$((tray_left + tray_height / 2))
icon_y=$((tray_top + tray_height / 2))

xdotool mousemove "$icon_x" "$icon_y" click 1
expect_no_popup_after 2 "a left click on the tray icon"
xdotool click --repeat 2 --delay 80 1
expect_no_popup_after 2 "a double click on the tray icon"

xdotool click 3
wait_popups 1 "the popup after a right click on the tray icon"
read -r main_id main <<<"$(popups)"
read -r left top width main_height <<<"$main"
expected_left=$((icon_x - 5 - width))
[ "$expected_left" -ge 0 ] || expected_left=0
expect_equal "$left $top" "$expected_left $((icon_y - 5))" "the tray popup's corner"
xdotool key Escape
wait_popups 0 "the tray popup to close on Escape"

xdotool mousemove "$icon_x" "$icon_y" click 3
wait_popups 1 "the tray popup again"
read -r main_id main <<<"$(popups)"
xdotool key Down Right
wait_popups 2 "the colour submenu of the tray popup"
read -r _ sub <<<"$(popup_other_than "$main_id")"
learn_item_layout "$main_height" "$(echo "$sub" | cut -d' ' -f4)" 7
click_item "$sub" 3 3
sleep 1
popup_count_is 2 || fail "a right click on an entry of the tray popup closed it: $(popups)"
expect_no_settings "after a right click on an entry of the tray popup"
click_item "$sub" 3 1
wait_popups 0 "the tray popup to close after a choice"
wait_for_bands red 2 5
expect_text "$shot" 255,0,0 2 "the fourth colour chosen from the tray popup"
expect_settings $'[conf]\r\ncolor=255\r\n' "after the fourth colour from the tray popup"
stop_clock
