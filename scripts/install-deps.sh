#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when missing.
set -eu
packages=(
  cmake make g++ libgtest-dev googletest libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool imagemagick
  clang libclang-rt-14-dev gdal-bin zip
  python3-jsonschema
)
installed() {
  # "dpkg -s" also succeeds for a package that was removed but left its
  # configuration behind; only "install ok installed" counts.
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || {
      echo "install-deps: missing packages and no sudo; install them as root: ${missing[*]}" >&2
      exit 1
    }
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
