# A settings file of about 10 MB: 290 other sections of 1000 keys each, with the section `conf` and
# its keys at the very end, so every read goes through the whole file. The clock starts in
# reasonable time with the stored colour and alpha, keeps ticking, and a choice and Exit change
# only their own lines: every other byte of the file stays as it was. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

LC_ALL=C awk 'BEGIN {
  for (s = 0; s < 290; s++) {
    printf "[pad%04d]\r\n", s
    for (k = 0; k < 1000; k++) printf "key%04d=the value of line %07d\r\n", k, s * 1000 + k
  }
  printf "[conf]\r\ncolor=255\r\nhyaline=205\r\n"
}' >"$settings"
size=$(stat -c %s "$settings")
[ "$size" -gt 10000000 ] || fail "the large file holds only $size bytes"
cp "$settings" "$work/stored.ini"

started=$SECONDS
start_clock
expect_alpha 205
wait_for_bands stored 2 10
note "ticking $((SECONDS - started)) s after the start with a file of $size bytes"
expect_text "$shot" 255,0,0 2 "the stored colour"

choose Down Right Return
shoot yellow
expect_text "$shot" 255,255,0 2 "the first colour at once"
expect_ticking "after a choice"
LC_ALL=C sed 's/^color=255\r$/color=65535\r/' "$work/stored.ini" >"$work/expected.ini"
cmp "$work/expected.ini" "$settings" || fail "the choice changed more than the colour's line"

read -r clock_left clock_top _ _ <<<"$(clock_geometry)"
exit_by_menu
expect_equal "$clock_status" 0 "the exit code after Exit"
printf 'left=%s\r\ntop=%s\r\n' "$clock_left" "$clock_top" >>"$work/expected.ini"
cmp "$work/expected.ini" "$settings" || fail "Exit changed more than adding the position"
