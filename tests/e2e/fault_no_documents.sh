# No documents folder: the clock starts with the defaults, a choice shows at once and goes to the
# fallback file "\Talvessa.ini" in the root of the drive that holds the program, Exit ends the
# program with 0, and the next start reads the fallback file. The program runs from a copy in the
# prefix's drive_c, so that root is drive_c (from the build folder, on Wine's Z: drive, it would be
# the Linux root). The documents folder is not created. Runs without a window manager.
. "$(dirname "$0")/lib.sh"

documents=$(dirname "$settings")
fallback="$WINEPREFIX/drive_c/Talvessa.ini"
program_folder="$WINEPREFIX/drive_c/talvessa-fault"
[ ! -e "$documents.away" ] && [ ! -e "$fallback" ] && [ ! -e "$program_folder" ] ||
  fail "left over from an earlier run: $documents.away, $fallback or $program_folder"
linux_root_had_file=no
[ -e /Talvessa.ini ] && linux_root_had_file=yes

put_back() {
  rm -rf "$program_folder"
  rm -f "$fallback"
  if [ -d "$documents.away" ]; then
    rm -rf "$documents"
    mv "$documents.away" "$documents"
  fi
}
cleanup_steps+=(put_back)

mkdir -p "$program_folder"
cp "$exe" "$program_folder/Talvessa.exe"
exe="$program_folder/Talvessa.exe"
cd "$program_folder" || fail "no program folder"
mv "$documents" "$documents.away"

start_clock
expect_default_look "the default colour and format"
choose Down Right Return
shoot yellow
expect_text "$shot" 255,255,0 2 "the first colour at once"
[ "$(cat "$fallback" 2>/dev/null)" = $'[conf]\r\ncolor=65535\r' ] ||
  fail "the choice did not reach the fallback file: $(sed -n l "$fallback" 2>&1)"
exit_by_menu
expect_equal "$clock_status" 0 "the exit code after Exit"
expect_equal "$(cat "$fallback")" $'[conf]\r\ncolor=65535\r\nleft='"$clock_left"$'\r\ntop='"$clock_top"$'\r' \
  "the fallback file after Exit"
[ ! -e "$documents" ] || fail "the documents folder was created"
[ "$linux_root_had_file" = yes ] || [ ! -e /Talvessa.ini ] || fail "a settings file was written to /"

start_clock
wait_for_bands fallback-read 2 5
expect_text "$shot" 255,255,0 2 "the colour read back from the fallback file"
stop_clock
