# First start with no settings file: the window opens where the design size (219 x 83) centred on
# the screen puts its corner, 80 x 30, alpha 165; it shows "Talvessa" in white on one line, and
# from the first tick on the date and the time on two lines, the time line changing every second
# while the date line stays. Starting writes nothing. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

start_clock '2024-03-05 07:08:09'
shoot start
start_shot=$shot
expect_text "$start_shot" 255,255,255 1 "the start text, before the first tick"
expect_clock_geometry "$(((screen_width - 219) / 2)) $(((screen_height - 83) / 2)) 80 30"
expect_alpha 165

wait_for_bands first-tick 2 5
expect_text "$shot" 255,255,255 2 "after the first tick"
read -r date_band time_band < <(text_bands "$shot" | tr '\n' ' ')
date_pixels=$(band_pixels "$shot" "$date_band")
time_pixels=$(band_pixels "$shot" "$time_band")

time_changed() {
  shoot later-tick
  [ "$(text_bands "$shot" | tr '\n' ' ')" = "$date_band $time_band " ] ||
    fail "the text's rows moved between ticks: $(text_bands "$shot" | tr '\n' ' ')"
  [ "$(band_pixels "$shot" "$time_band")" != "$time_pixels" ]
}
wait_until 4 "the time line to change at a later tick" time_changed
expect_equal "$(band_pixels "$shot" "$date_band")" "$date_pixels" "the date line at a later tick"

expect_no_settings "after starting"
stop_clock
