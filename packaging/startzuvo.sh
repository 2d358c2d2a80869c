#!/bin/sh
# Starts StartZUVO.exe under wine on Linux. A layout named as the first
# argument is handed over as a Windows path, the way wine names Unix files
# (winepath -w: the drive whose folder holds the file, else Z:). Further
# arguments go as they are.
#
# Environment: WINE (the wine program, default "wine"), WINEPREFIX (the Wine
# prefix in which the simulator is installed, default ~/.wine), STARTZUVO_EXE
# (StartZUVO.exe, default: beside this script, as in the zip, else
# ../lib/startzuvo/StartZUVO.exe, as installed).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exe=${STARTZUVO_EXE:-$here/StartZUVO.exe}
if [ -z "${STARTZUVO_EXE:-}" ] && [ ! -f "$exe" ] && [ -f "$here/../lib/startzuvo/StartZUVO.exe" ]; then
  exe=$(cd "$here/../lib/startzuvo" && pwd)/StartZUVO.exe
fi
wine=${WINE:-wine}
# Unix file names are UTF-8: wine reads the arguments in the locale's
# encoding, so a locale without UTF-8 is replaced by C.UTF-8.
case ${LC_ALL:-${LC_CTYPE:-${LANG:-}}} in
  *UTF-8* | *utf-8* | *UTF8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
if [ ! -f "$exe" ]; then
  echo "startzuvo: $exe fehlt" >&2
  exit 1
fi
if ! command -v "$wine" >/dev/null 2>&1 || ! command -v winepath >/dev/null 2>&1; then
  echo "startzuvo: wine ist nicht installiert" >&2
  exit 1
fi
if [ "$#" -ge 1 ]; then
  layout=$1
  shift
  case $layout in
    /*) ;;
    *) layout=$PWD/$layout ;;
  esac
  windows=$(winepath -w -- "$layout" 2>/dev/null) || windows=
  if [ -z "$windows" ]; then
    echo "startzuvo: der Pfad \"$layout\" kann nicht umgewandelt werden" >&2
    exit 1
  fi
  exec "$wine" "$exe" "$windows" "$@"
fi
exec "$wine" "$exe"
