#!/usr/bin/env bash
# Runs a Windows test program under Wine inside a session of tools/wine-session.sh. Refuses
# without one, so that a stray `ctest` never makes Wine create ~/.wine or look for a display.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no Wine session; start one with tools/wine-session.sh and source its env file" >&2
  exit 2
fi
exec wine "$@"
