# A settings file of 256 KB of random bytes (NUL bytes, lone line ends, high bytes).
# The clock starts with the defaults and keeps ticking; choices show at once and are written; the
# next start reads the last one back. A write lets the profile functions rewrite the whole file in
# their own form (Wine, for one, ends a line at a NUL byte and drops the rest of that line, and trims
# some blanks at line ends only when it reads its own output again): the first write must keep the
# file's last line and add the section `conf` with the key after it, and once that form has settled
# (after the second write) a choice changes only its own line. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

# awk's generator with a fixed seed: the same bytes at every run on one machine. The last line
# holds no blank, control character, "[" or "=", so that any profile writer keeps it as it is.
LC_ALL=C awk 'BEGIN {
  srand(7)
  for (i = 0; i < 262080; i++) printf "%c", int(rand() * 256)
  printf "\n"
  for (i = 0; i < 63; i++) {
    do b = 33 + int(rand() * 223); while (b == 61 || b == 91)
    printf "%c", b
  }
}' >"$settings"
tail -c 63 "$settings" >"$work/last-line"
[ "$(stat -c %s "$settings")" -eq 262144 ] || fail "the random bytes are not 256 KB"
grep -qai '\[conf\]' "$settings" && fail "the random bytes hold a section conf"

start_clock
expect_default_look "the default colour and format"

choose Down Right Return
shoot yellow
expect_text "$shot" 255,255,0 2 "the first colour at once"
printf '\r\n[conf]\r\ncolor=65535\r\n' >>"$work/last-line"
tail -c "$(stat -c %s "$work/last-line")" "$settings" | cmp -s - "$work/last-line" ||
  fail "the first write did not keep the last line and add the colour after it: $(tail -c 60 "$settings" | sed -n l)"

choose Down Right Down Down Down Down Down Return
shoot sky-blue
expect_text "$shot" 0,136,255 2 "the sixth colour at once"
cp "$settings" "$work/settled.ini"

choose Down Right Down Down Down Return
shoot red
expect_text "$shot" 255,0,0 2 "the fourth colour at once"
expect_ticking "after three choices"
cp "$settings" "$work/third.ini"
LC_ALL=C sed 's/^color=16746496\r$/color=255\r/' "$work/settled.ini" >"$work/expected.ini"
cmp "$work/expected.ini" "$work/third.ini" || fail "the third choice changed more than the colour's line"

exit_by_menu
expect_equal "$clock_status" 0 "the exit code after Exit"
start_clock
wait_for_bands read-back 2 5
expect_text "$shot" 255,0,0 2 "the colour read back at the next start"
stop_clock
