#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64, without the test suites:
# StartZUVO.exe (the dialog), zuvo.exe and StartZUVO-<version>.zip (both
# programs, LIESMICH.txt and the Linux launcher startzuvo). Prints where they
# are.
#
# Environment: ZUVO_WINDOWS_BUILD (build folder, default build/windows; the
# test command's build there, with the tests, may be reused), ZUVO_JOBS
# (parallel compile jobs, default 2).
set -eu
ZUVO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ZUVO_ROOT/scripts/install-deps.sh" windows

build=${ZUVO_WINDOWS_BUILD:-$ZUVO_ROOT/build/windows}
mkdir -p "$build"
configure=(-S "$ZUVO_ROOT" -B "$build")
if [ ! -f "$build/CMakeCache.txt" ]; then
  configure+=(-DCMAKE_TOOLCHAIN_FILE="$ZUVO_ROOT/cmake/mingw-w64.cmake"
              -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVO_BUILD_TESTS=OFF)
fi
cmake "${configure[@]}" >"$build/windows-configure.log" 2>&1 || {
  tail -n 40 "$build/windows-configure.log"
  exit 1
}
cmake --build "$build" -j"${ZUVO_JOBS:-2}" --target startzuvo_package \
  >"$build/windows-build.log" 2>&1 || {
  tail -n 40 "$build/windows-build.log"
  exit 1
}
echo "$build/src/ui/win32/StartZUVO.exe"
echo "$build/src/ui/console/zuvo.exe"
ls "$build"/StartZUVO-*.zip
