# A hand-edited settings file is applied at start: position, size (any value, not only a preset's),
# colour, alpha and the date and time pictures. A position with an edge at 0 or below is not
# restored, and an empty date picture leaves the time alone. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

edited=$'[conf]\r\ncolor=255\r\ndate=yyyy/M/d?dddd?\r\ntime=hh:mm:ss\r\nhyaline=205\r\nwidth=100\r\nheight=45\r\nleft=40\r\ntop=1\r\n'
write_settings "$edited"
start_clock '2024-03-05 07:08:09'
shoot start
expect_text "$shot" 255,0,0 1 "the start text in the stored colour"
expect_clock_geometry "40 1 100 45"
expect_alpha 205
wait_for_bands three-lines 3 5
expect_text "$shot" 255,0,0 3 "date, weekday and time"
expect_settings "$edited" "after starting with a hand-edited file"
stop_clock

time_only=$'[conf]\r\ncolor=65280\r\ndate=\r\nhyaline=75\r\nwidth=62\r\nheight=16\r\nleft=0\r\ntop=200\r\n'
write_settings "$time_only"
start_clock '2024-03-05 07:08:09'
expect_clock_geometry "$(((screen_width - 219) / 2)) $(((screen_height - 83) / 2)) 62 16"
expect_alpha 75
sleep 2.5
shoot time-only
expect_text "$shot" 0,255,0 1 "the time alone"
expect_settings "$time_only" "after starting with left=0"
stop_clock
