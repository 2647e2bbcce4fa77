# A settings file that cannot be written: the clock starts with what the file holds, a colour
# chosen from the popup shows at once, and Exit ends the program with 0.
#
# First the file's write bits are taken away (chmod a-w). Wine shows such a file as read-only
# (attrib gives R), but it opens files with the rights of the Unix process: as root every write
# still succeeds, so there the choice and the position reach the file; as any other user they fail
# and the file stays as it was. Then, where the file system allows it (chattr +i, root only), the
# file is made immutable, which no process can write: the file must stay byte for byte as it was,
# and the next start shows the stored colour again. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

stored=$'[conf]\r\ncolor=255\r\nhyaline=205\r\nwidth=100\r\nheight=45\r\n'

release_file() {
  chattr -i "$settings" 2>/dev/null
  chmod u+w "$settings" 2>/dev/null
}
cleanup_steps+=(release_file)

# red_then_yellow: starts the clock on the stored file, checks it shows the stored colour, chooses
# the first colour (yellow) and checks it shows at once, then exits; sets clock_place to the
# window's "left top" at Exit.
red_then_yellow() {
  start_clock
  expect_alpha 205
  read -r clock_left clock_top _ _ <<<"$(clock_geometry)"
  expect_clock_geometry "$clock_left $clock_top 100 45"
  wait_for_bands "$1-red" 2 5
  expect_text "$shot" 255,0,0 2 "$1: the stored colour"
  choose Down Right Return
  shoot "$1-yellow"
  expect_text "$shot" 255,255,0 2 "$1: the chosen colour at once"
  exit_by_menu
  expect_equal "$clock_status" 0 "$1: the exit code after Exit"
}

write_settings "$stored"
chmod a-w "$settings"
red_then_yellow no-write-bits
if [ "$(id -u)" -eq 0 ]; then
  expect_settings $'[conf]\r\ncolor=65535\r\nhyaline=205\r\nwidth=100\r\nheight=45\r\n'"left=$clock_left"$'\r\n'"top=$clock_top"$'\r\n' \
    "a file without write bits, written as root"
else
  expect_settings "$stored" "a file without write bits"
fi
release_file

write_settings "$stored"
if chattr +i "$settings" 2>/dev/null; then
  red_then_yellow immutable
  expect_settings "$stored" "an immutable file after a choice and Exit"
  start_clock
  wait_for_bands immutable-next-start 2 5
  expect_text "$shot" 255,0,0 2 "the next start after a lost choice"
  stop_clock
else
  note "the file system cannot make the file immutable: that half is left out"
fi
