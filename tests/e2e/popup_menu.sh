# The right button on the clock: pressing opens nothing, releasing opens the popup with its corner
# 3 pixels right of and below the pointer, holding four entries whose submenus hold 7, 4 and 5
# entries (read from the windows' heights). A colour, a display format and a transparency level,
# each chosen once with the mouse and once with the keys, take effect at once and are written.
# Runs without a window manager.
. "$(dirname "$0")/lib.sh"

start_clock '2024-03-05 07:08:09'
wait_for_bands ticking 2 5
read -r clock_left clock_top _ _ <<<"$(clock_geometry)"
pointer_x=$((clock_left + 20))
pointer_y=$((clock_top + 8))

# open_popup: right click on the clock; sets main to the popup's "left top width height".
open_popup() {
  xdotool mousemove "$pointer_x" "$pointer_y" click 3
  wait_popups 1 "the popup after a right click on the clock"
  read -r main_id main <<<"$(popups)"
}

# open_submenu INDEX: clicks entry INDEX of the popup; sets sub to the submenu's geometry.
open_submenu() {
  click_item "$main" "$1" 1
  wait_popups 2 "submenu $1 after a click on its entry"
  read -r _ sub <<<"$(popup_other_than "$main_id")"
}

submenu_height_by_keys() {
  xdotool key "$@"
  wait_popups 2 "a submenu after the keys $*"
  read -r _ _ _ _ height <<<"$(popup_other_than "$main_id")"
  echo "$height"
  xdotool key Escape
  wait_popups 1 "the submenu to close on Escape"
}

chose() {
  wait_popups 0 "the popup to close after a choice"
}

xdotool mousemove "$pointer_x" "$pointer_y" mousedown 3
expect_no_popup_after 1 "pressing the right button"
xdotool mouseup 3
wait_popups 1 "the popup after releasing the right button"
read -r main_id main <<<"$(popups)"
read -r left top _ main_height <<<"$main"
expect_equal "$left $top" "$((pointer_x + 3)) $((pointer_y + 3))" "the popup's corner"
theme_height=$(submenu_height_by_keys Down Right)
format_height=$(submenu_height_by_keys Down Right)
alpha_height=$(submenu_height_by_keys Down Right)
xdotool key Escape
wait_popups 0 "the popup to close on Escape"
entry=$((alpha_height - main_height))
[ "$entry" -gt 0 ] && [ "$format_height" -eq "$main_height" ] &&
  [ "$theme_height" -eq $((main_height + 3 * entry)) ] ||
  fail "submenu heights $theme_height, $format_height, $alpha_height against the popup's $main_height do not hold 7, 4 and 5 entries"
learn_item_layout "$main_height" "$theme_height" 7

open_popup
xdotool key Down Right Down Down Down Down Down Return
chose
shoot sky-blue
expect_text "$shot" 0,136,255 2 "the sixth colour chosen by keys"
expect_settings $'[conf]\r\ncolor=16746496\r\n' "after the sixth colour"

open_popup
open_submenu 0
click_item "$sub" 4 1
chose
shoot orange
expect_text "$shot" 255,128,0 2 "the fifth colour chosen by mouse"

open_popup
open_submenu 1
click_item "$sub" 3 1
chose
expect_clock_geometry "$clock_left $clock_top 80 43"
wait_for_bands three-lines 3 3
expect_text "$shot" 255,128,0 3 "the fourth format chosen by mouse, from the next tick"
expect_settings $'[conf]\r\ncolor=33023\r\ndate=yyyy/M/d?dddd?\r\ntime=hh:mm:ss\r\nwidth=80\r\nheight=43\r\n' \
  "after the fourth format"

open_popup
open_submenu 2
click_item "$sub" 4 1
chose
expect_alpha 255

open_popup
xdotool key Down Down Right Return
chose
expect_clock_geometry "$clock_left $clock_top 62 16"
wait_for_bands time-only 1 3
expect_text "$shot" 255,128,0 1 "the first format chosen by keys"

open_popup
xdotool key Down Down Down Right Return
chose
expect_alpha 75
expect_settings $'[conf]\r\ncolor=33023\r\ndate=\r\ntime=hh:mm:ss\r\nwidth=62\r\nheight=16\r\nhyaline=75\r\n' \
  "after every choice"
stop_clock
