#!/usr/bin/env bash
# A Wine session for tests and for running the clock on a virtual display.
#
#   tools/wine-session.sh start DIR [KEEPALIVE_EXE]   start Xvfb and Wine with the prefix DIR/prefix;
#                                                      writes DIR/env (source it to use the session)
#   tools/wine-session.sh stop DIR                    stop what start started
#
# Order matters: the Wine server is made persistent before wineboot, the first Wine process writes
# to a file (never to a pipe: Wine's background processes inherit it), and a keepalive program
# keeps Wine's desktop process running so each later window appears at once.
set -euo pipefail

command=${1:?start or stop}
dir=$(mkdir -p "${2:?session folder}" && cd "$2" && pwd)

stop_session() {
  if [ -f "$dir/env" ]; then
    # shellcheck disable=SC1091
    . "$dir/env"
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1 || true
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$dir/env"
}

case "$command" in
  stop)
    stop_session
    exit 0
    ;;
  start) ;;
  *)
    echo "usage: $0 start|stop DIR [KEEPALIVE_EXE]" >&2
    exit 2
    ;;
esac

keepalive=${3:-}
stop_session

# A free display number: no lock file and no socket.
display=""
for n in $(seq 91 250); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=":$n"
    break
  fi
done
[ -n "$display" ] || { echo "wine-session: no free display" >&2; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
echo $! >"$dir/xvfb.pid"
for _ in $(seq 1 100); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "wine-session: Xvfb did not start" >&2; exit 1; }

cat >"$dir/env" <<ENV
export DISPLAY=$display
export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export LC_ALL=\${TALVESSA_LC_ALL:-C.UTF-8}
ENV
# shellcheck disable=SC1091
. "$dir/env"
mkdir -p "$WINEPREFIX"

wineserver -p
wineboot -i >"$dir/wineboot.log" 2>&1 || true

# A real Documents folder inside the prefix instead of the link to $HOME, so that tests never
# write into the user's home.
docs="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
if [ -L "$docs" ]; then rm -f "$docs"; fi
mkdir -p "$docs"

# Menus: fonts that hold the Chinese captions.
for face in Tahoma SimSun; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
    >>"$dir/wineboot.log" 2>&1 || true
done

if [ -n "$keepalive" ]; then
  wine "$keepalive" >"$dir/keepalive.log" 2>&1 &
  sleep 1
fi
echo "$dir/env"
