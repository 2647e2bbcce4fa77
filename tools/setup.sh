#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Talvessa need, when missing.
# Runs as root (or through sudo when available).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine fonts-liberation fonts-wqy-microhei
  xvfb xauth xdotool x11-utils imagemagick locales faketime openbox trayer xcompmgr procps
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The clock text's tests read Chinese day names from the C library's zh_CN locale.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
