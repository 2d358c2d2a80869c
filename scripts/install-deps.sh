#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when missing.
set -eu
packages=(
  cmake make g++ libgtest-dev googletest libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  g++-mingw-w64-x86-64 wine wine64 xvfb xdotool imagemagick
  clang libclang-rt-14-dev gdal-bin zip
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
