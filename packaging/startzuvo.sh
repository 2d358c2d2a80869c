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

# What went wrong, in German: on standard error, and when there is no
# terminal to read it (started from the desktop) also as a notification.
fail() {
  printf "startzuvo: %s\n" "$1" >&2
  if [ ! -t 2 ]; then
    if command -v notify-send >/dev/null 2>&1; then
      notify-send "StartZUVO" "$1" 2>/dev/null || true
    elif command -v xmessage >/dev/null 2>&1; then
      xmessage -center "StartZUVO: $1" 2>/dev/null || true
    fi
  fi
  exit 1
}

case ${1:-} in
  -h | --help)
    cat <<'USAGE'
Aufruf: startzuvo [ANLAGE.anl]
Startet den Dialog von StartZUVO unter Wine, auf Wunsch gleich mit einer Anlage.

Umgebung:
  WINEPREFIX     der Wine-Prefix, in dem Kantrelwick installiert ist (sonst ~/.wine)
  WINE           das Wine-Programm (sonst wine)
  STARTZUVO_EXE  StartZUVO.exe (sonst neben diesem Skript oder ../lib/startzuvo)

Für die Befehlszeile ohne Dialog: zuvo --help
USAGE
    exit 0
    ;;
esac

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
[ -f "$exe" ] || fail "$exe fehlt"
if ! command -v "$wine" >/dev/null 2>&1 || ! command -v winepath >/dev/null 2>&1; then
  fail "Wine ist nicht installiert (Paket wine)."
fi
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] ||
  fail "Keine grafische Anzeige: DISPLAY ist nicht gesetzt. Ohne Anzeige hilft zuvo (zuvo --help)."
# The installation is found through the prefix's registry: say what is
# missing before wine would quietly make a new prefix.
prefix=${WINEPREFIX:-${HOME:-}/.wine}
[ -d "$prefix" ] ||
  fail "Kein Wine-Prefix in $prefix. WINEPREFIX auf den Prefix setzen, in dem Kantrelwick installiert ist."
[ -f "$prefix/system.reg" ] || fail "Im Wine-Prefix $prefix fehlt die Datei system.reg."
if ! grep -qi '^\[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command\]' "$prefix/system.reg"; then
  fail "Im Wine-Prefix $prefix ist Kantrelwick nicht eingetragen (Schlüssel HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command fehlt)."
fi
if [ "$#" -ge 1 ]; then
  layout=$1
  shift
  case $layout in
    /*) ;;
    *) layout=$PWD/$layout ;;
  esac
  windows=$(winepath -w -- "$layout" 2>/dev/null) || windows=
  [ -n "$windows" ] || fail "Der Pfad \"$layout\" kann nicht umgewandelt werden."
  exec "$wine" "$exe" "$windows" "$@"
fi
exec "$wine" "$exe"
