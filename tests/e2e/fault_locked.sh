# A settings file held open by another program with no sharing (tools/hold_file.exe): while it is
# held, every read of the clock falls back to the defaults (Wine's profile functions cannot open
# the file and give the default) and every write is lost without a sign; the clock keeps ticking
# and its choices show at once. Once the file is let go it is byte for byte as it was, and the
# next choice is written to it. Exit while the file is held ends the program with 0 and loses the
# position. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

hold_exe=${TALVESSA_HOLD_FILE:-$(dirname "$exe")/../tools/hold_file.exe}
[ -f "$hold_exe" ] || fail "no file holder at $hold_exe"
windows_settings='C:\users\'"$(id -un)"'\Documents\Talvessa.ini'
holds=0

# hold: another program opens the settings file with no sharing and keeps it open.
hold() {
  holds=$((holds + 1))
  wine "$hold_exe" "$windows_settings" "Z:${work//\//\\}\\release-$holds" >"$work/hold-$holds.log" 2>&1 &
  holder_pid=$!
  helper_pids+=("$holder_pid")
  wait_until 20 "the other program to hold the file" grep -q held "$work/hold-$holds.log"
}

# let_go: the other program closes the file and ends.
let_go() {
  touch "$work/release-$holds"
  wait_until 10 "the other program to let the file go" holder_ended
  wait "$holder_pid" || fail "the file holder ended with $?"
}

holder_ended() {
  ! kill -0 "$holder_pid" 2>/dev/null
}

stored=$'[conf]\r\ncolor=255\r\nhyaline=205\r\nwidth=100\r\nheight=45\r\n'
write_settings "$stored"
hold
start_clock
expect_default_look "the default colour while the file is held"
choose Down Right Return
shoot yellow
expect_text "$shot" 255,255,0 2 "the first colour chosen while the file is held"
let_go
expect_settings "$stored" "the file let go after a choice"

choose Down Right Down Down Down Down Down Return
shoot sky-blue
expect_text "$shot" 0,136,255 2 "the sixth colour chosen after the file was let go"
written=$'[conf]\r\ncolor=16746496\r\nhyaline=205\r\nwidth=100\r\nheight=45\r\n'
expect_settings "$written" "the choice after the file was let go"

hold
choose Down Down Right Return
expect_clock_geometry "$clock_left $clock_top 62 16"
wait_for_bands time-only 1 3
expect_text "$shot" 0,136,255 1 "the time alone, chosen while the file is held"
exit_by_menu
expect_equal "$clock_status" 0 "the exit code after Exit while the file is held"
let_go
expect_settings "$written" "the file let go after a format choice and Exit"
