#!/bin/sh
# The Linux launcher's checks before it starts wine, with stand-ins for wine
# and winepath: each case's exit status and the line it must print.
set -u
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/pfx" "$work/empty"
cat >"$work/bin/wine" <<'STUB'
#!/bin/sh
printf '%s\n' "$@" >"$STUB_LOG"
exit "${STUB_EXIT:-0}"
STUB
cat >"$work/bin/winepath" <<'STUB'
#!/bin/sh
echo "Z:\\layout\\Berg.anl"
STUB
chmod +x "$work/bin/wine" "$work/bin/winepath"
: >"$work/StartZUVO.exe"
printf 'WINE REGISTRY Version 2\n\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000000\n@="C:\\\\Sim\\\\Kantrelwick.exe %%1"\n' >"$work/pfx/system.reg"
: >"$work/empty/system.reg"
failures=0

# check NAME EXPECTED-STATUS EXPECTED-TEXT ENV... -- ARGS...
check() {
  name=$1 status=$2 text=$3
  shift 3
  envs=
  while [ "$1" != -- ]; do envs="$envs $1"; shift; done
  shift
  out=$(env -i PATH="$work/bin:/usr/bin:/bin" HOME="$work/home" STARTZUVO_EXE="$work/StartZUVO.exe" \
    STUB_LOG="$work/log" $envs sh "$script" "$@" 2>&1 </dev/null)
  got=$?
  if [ "$got" != "$status" ] || { [ -n "$text" ] && ! printf '%s\n' "$out" | grep -qF -- "$text"; }; then
    printf 'FAIL %s: status %s (want %s), output: %s\n' "$name" "$got" "$status" "$out"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

check help 0 "Aufruf: startzuvo [ANLAGE.anl]" -- --help
check "no display" 1 "Keine grafische Anzeige" WINEPREFIX="$work/pfx" -- Berg.anl
check "no prefix" 1 "Kein Wine-Prefix in $work/home/.wine" DISPLAY=:9 --
check "no system.reg" 1 "fehlt die Datei system.reg" DISPLAY=:9 WINEPREFIX="$work/bin" --
check "no key" 1 "ist Kantrelwick nicht eingetragen (Schlüssel HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command fehlt)" \
  DISPLAY=:9 WINEPREFIX="$work/empty" --
check "no wine" 1 "Wine ist nicht installiert" DISPLAY=:9 WINEPREFIX="$work/pfx" WINE=wine-fehlt --
check "wine's status" 3 "" DISPLAY=:9 WINEPREFIX="$work/pfx" STUB_EXIT=3 -- Berg.anl -x
if [ "$(cat "$work/log" 2>/dev/null)" != "$(printf '%s\n%s\n%s' "$work/StartZUVO.exe" 'Z:\layout\Berg.anl' -x)" ]; then
  printf 'FAIL wine arguments: %s\n' "$(cat "$work/log" 2>/dev/null)"
  failures=$((failures + 1))
fi
[ "$failures" = 0 ]
