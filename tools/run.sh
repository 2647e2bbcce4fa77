#!/usr/bin/env bash
# Runs the clock under Wine on a Debian machine, installing and building what is missing first.
#
#   tools/run.sh               on your display ($DISPLAY) until you choose Exit from its menu; with
#                              no display, on a virtual one for a few seconds, saving a screenshot
#   tools/run.sh --screenshot  remakes docs/screenshot.png: the clock enlarged, with its menu open
#
# The clock runs in a Wine prefix of its own, build/run-wine/prefix, so ~/.wine stays untouched;
# its settings file is Talvessa.ini in that prefix's Documents folder, which Wine links to your
# home (or XDG documents) folder. The virtual display's prefix is build/run-wine/session/prefix.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=${1:-}
case "$mode" in
  "" | --screenshot) ;;
  *)
    echo "usage: $0 [--screenshot]" >&2
    exit 2
    ;;
esac

"$root/tools/setup.sh"
echo "run: building the clock (build/mingw)"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Talvessa keepalive >/dev/null
exe="$root/build/mingw/app/Talvessa.exe"
keepalive="$root/build/mingw/tools/keepalive.exe"
run_dir="$root/build/run-wine"
mkdir -p "$run_dir"

# Chinese menu captions need a font that holds them in place of Tahoma and SimSun.
menu_fonts() {
  local face
  for face in Tahoma SimSun; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
      >>"$run_dir/wine.log" 2>&1 || true
  done
}

if [ -n "${DISPLAY:-}" ] && [ -z "$mode" ]; then
  export WINEPREFIX="$run_dir/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: making the Wine prefix $WINEPREFIX (once, about 10 s)"
    mkdir -p "$WINEPREFIX"
    # Wine's background processes inherit the first process's output: a file, never a pipe.
    wineboot -i >"$run_dir/wine.log" 2>&1 || true
    menu_fonts
  fi
  echo "run: the clock is on $DISPLAY; right-click it for its menu, Exit ends it"
  exec wine "$exe" >>"$run_dir/wine.log" 2>&1
fi

session="$run_dir/session"
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
"$root/tools/wine-session.sh" start "$session" "$keepalive" >/dev/null
# shellcheck disable=SC1091
. "$session/env"
settings="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Talvessa.ini"
rm -f "$settings"
# A desktop colour, so the black face stands out from the virtual display's black.
convert -size 16x16 xc:'#3a6e8c' "$session/desktop.png"
display -window root "$session/desktop.png" || true  # sets the background, then reports 1

# A fixed moment for the README's picture; otherwise the real time.
if [ -n "$mode" ]; then
  faketime '2024-03-05 07:08:09' wine "$exe" >"$session/clock.log" 2>&1 &
else
  wine "$exe" >"$session/clock.log" 2>&1 &
fi
clock=$!

window=""
for _ in $(seq 1 300); do
  window=$(xdotool search --onlyvisible --class talvessa.exe 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "run: the clock did not show within 30 s (see $session/clock.log)" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
sleep 2.5  # the first ticks

if [ -z "$mode" ]; then
  shot="$run_dir/screenshot.png"
  import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage \
    -filter point -resize 400% "$shot"
  echo "run: no display, so the clock ran on a virtual one; its picture after the first ticks, 4 times"
  echo "     enlarged: $shot"
else
  # The menu open beside the clock, with the colour submenu.
  xdotool mousemove $((X + WIDTH - 4)) $((Y + HEIGHT - 4)) click 3
  sleep 0.5
  xdotool key Down Right
  sleep 0.5
  shot="$root/docs/screenshot.png"
  mkdir -p "$root/docs"
  import -window root -crop "240x190+$((X - 12))+$((Y - 12))" +repage -filter point -resize 300% \
    -strip "$shot"
  xdotool key Escape Escape
  echo "run: wrote $shot"
fi

kill $(pgrep -P "$clock") "$clock" 2>/dev/null || true  # faketime runs Wine as its child
wait "$clock" 2>/dev/null || true
