#!/usr/bin/env bash
# Installs the Debian packages that are missing for one purpose:
#   install-deps.sh demo     what scripts/demo.sh needs: zuvo and the stand-in
#   install-deps.sh windows  the demo's and the MinGW cross compilers
#                            (scripts/build-windows.sh)
#   install-deps.sh [all]    everything scripts/test.sh needs (the default)
set -eu
group=${1:-all}

# The native build of zuvo and the stand-in simulator (tests left out).
demo=(g++ cmake make libcli11-dev nlohmann-json3-dev libstb-dev)
# StartZUVO.exe, zuvo.exe and the zip (MinGW-w64, posix thread model).
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix)
all=(
  "${demo[@]}" "${windows[@]}"
  # the test suites and the benchmarks
  libgtest-dev googletest libbenchmark-dev
  # the Windows programs under wine, the dialog under Xvfb, its pictures
  wine wine64 xvfb xdotool imagemagick zip
  # the sanitizer build and the fuzz targets
  clang libclang-rt-14-dev
  # the reference files of the terrain tests (tests/terrain/data/make-data.sh)
  gdal-bin
  # pictures: the layout map (SVG rendered to PNG) and the terrain preview
  librsvg2-bin libpng-dev
  # JSON output checked against its schema
  python3-jsonschema
  # the Debian package and its checks: lintian, the manual pages, the MIME
  # types, the desktop entry, the AppStream metainfo, the shell completion
  dpkg-dev file lintian man-db groff-base shared-mime-info desktop-file-utils appstream
  bash-completion zsh
  # the layout of the sources, checked by the format stage
  clang-format
)
case $group in
  demo) packages=("${demo[@]}") ;;
  windows) packages=("${demo[@]}" "${windows[@]}") ;;
  all) packages=("${all[@]}") ;;
  *)
    echo "usage: install-deps.sh [demo|windows|all]" >&2
    exit 2
    ;;
esac

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
