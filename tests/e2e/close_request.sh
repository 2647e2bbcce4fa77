# A close request from the system (taskkill without /f posts WM_CLOSE) ends the program with exit
# code 0 and writes no position, even after a drag; the tray icon goes with the window. Runs
# without a window manager.
. "$(dirname "$0")/lib.sh"

edited=$'[conf]\r\nhyaline=205\r\nleft=100\r\ntop=100\r\n'
write_settings "$edited"
start_clock
expect_clock_geometry "100 100 80 30"
drag 110 110 60 40
expect_clock_geometry "160 140 80 30"
wine taskkill /im Talvessa.exe >"$work/taskkill.log" 2>&1 || fail "taskkill failed: $(cat "$work/taskkill.log")"
wait_for_exit 15
expect_equal "$clock_status" 0 "the exit code after a close request"
wait_until 10 "the tray icon to go after a close request" tray_gone
expect_settings "$edited" "after a close request"
