#!/usr/bin/env bash
# Builds the icon generator (native preset) and rewrites the icon files of resources/ from its
# drawing: talvessa.ico (DEFAULT_ICON), tray.ico and tray_icon_image.cpp. Commit the results.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/icongen"
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target icongen -j 2 >/dev/null
"$build/tools/icongen/icongen" "$root/resources"
echo "icons written to $root/resources"
