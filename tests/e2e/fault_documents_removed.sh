# The documents folder removed while the clock runs: the clock keeps ticking, a choice shows at
# once and goes to the fallback file "\Talvessa.ini" in the root of the program's drive, and Exit
# ends the program with 0, writing the position there too. The program runs from a copy in the
# prefix's drive_c, so that root is drive_c. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

documents=$(dirname "$settings")
fallback="$WINEPREFIX/drive_c/Talvessa.ini"
program_folder="$WINEPREFIX/drive_c/talvessa-fault"
[ ! -e "$fallback" ] && [ ! -e "$program_folder" ] ||
  fail "left over from an earlier run: $fallback or $program_folder"

put_back() {
  rm -rf "$program_folder"
  rm -f "$fallback"
  mkdir -p "$documents"
}
cleanup_steps+=(put_back)

mkdir -p "$program_folder"
cp "$exe" "$program_folder/Talvessa.exe"
exe="$program_folder/Talvessa.exe"
cd "$program_folder" || fail "no program folder"

write_settings $'[conf]\r\ncolor=255\r\nhyaline=205\r\n'
start_clock
expect_alpha 205
wait_for_bands stored 2 5
expect_text "$shot" 255,0,0 2 "the stored colour"
rm -rf "$documents"
expect_ticking "without the documents folder"
choose Down Right Return
shoot yellow
expect_text "$shot" 255,255,0 2 "the first colour at once"
expect_ticking "after a choice without the documents folder"
read -r clock_left clock_top _ _ <<<"$(clock_geometry)"
exit_by_menu
expect_equal "$clock_status" 0 "the exit code after Exit"
expect_equal "$(cat "$fallback")" $'[conf]\r\ncolor=65535\r\nleft='"$clock_left"$'\r\ntop='"$clock_top"$'\r' \
  "the fallback file after Exit"
[ ! -e "$documents" ] || fail "the documents folder was created again"
