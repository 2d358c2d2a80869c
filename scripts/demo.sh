#!/usr/bin/env bash
# Builds zuvo and the stand-in simulator, copies the demo installation
# (examples/demo) into a throwaway Wine-style prefix, where the registry names
# it as the simulator's installation C:\Kantrelwick, installs the stand-in
# there as Kantrelwick.exe, runs "zuvo start" on the demo layout (as the
# button "Starte ZUVO" does) and shows what happened: what the simulator saw
# during its run, the files of the installation afterwards, and what was
# stored in the layout's settings file.
#
# Environment: ZUVO_DEMO_BUILD (build folder, default build/demo; a build that
# has the targets zuvo and zuvo_stand_in may be reused), ZUVO_DEMO_KEEP=1
# (keep the throwaway folder to look at it).
set -eu
ZUVO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ZUVO_ROOT/scripts/install-deps.sh" demo

build=${ZUVO_DEMO_BUILD:-$ZUVO_ROOT/build/demo}
mkdir -p "$build"
echo "== Bauen (zuvo und der Stand-in-Simulator) in $build"
# A new build folder leaves out the tests: the demo needs no GoogleTest.
configure=(-S "$ZUVO_ROOT" -B "$build")
[ -f "$build/CMakeCache.txt" ] || configure+=(-DZUVO_BUILD_TESTS=OFF)
cmake "${configure[@]}" >"$build/demo-configure.log" 2>&1 || {
  tail -n 40 "$build/demo-configure.log"
  exit 1
}
cmake --build "$build" -j2 --target zuvo zuvo_stand_in >"$build/demo-build.log" 2>&1 || {
  tail -n 40 "$build/demo-build.log"
  exit 1
}
zuvo=$build/src/ui/console/zuvo
stand_in=$build/tools/stand-in/Kantrelwick.exe

# The prefix: drive C: is a folder of it, the registry's machine hive names
# C:\Kantrelwick\Kantrelwick.exe as the program that opens the simulator's
# files.
work=$(mktemp -d /tmp/zuvo-demo.XXXXXX)
if [ "${ZUVO_DEMO_KEEP:-0}" = 1 ]; then
  trap 'echo; echo "Die Demo-Installation bleibt in $work"' EXIT
else
  trap 'rm -rf "$work"' EXIT
fi
prefix=$work/prefix
mkdir -p "$prefix/dosdevices" "$prefix/drive_c"
ln -s ../drive_c "$prefix/dosdevices/c:"
cat >"$prefix/system.reg" <<'EOF'
WINE REGISTRY Version 2
;; All keys relative to \\Machine

[Software\\Classes\\Kantrelwick\\shell\\open\\command] 1700000000
@="\"C:\\Kantrelwick\\Kantrelwick.exe\" \"%1\""
EOF
inst=$prefix/drive_c/Kantrelwick
cp -r "$ZUVO_ROOT/examples/demo" "$inst"
cp "$stand_in" "$inst/Kantrelwick.exe"
log=$inst/Kantrelwick.log
danl=$inst/Anlagen/Demo.danl

# sections NAME...: those sections of Demo.danl, with views 2 to 5 of a camera
# set left out.
sections() {
  local names="|$(IFS='|'; echo "$*")|"
  tr -d '\r' <"$danl" | awk -v names="$names" '
    /^\[/ { name = substr($0, 2, length($0) - 2); show = index(names, "|" name "|") > 0
            if (show) print "   " $0; next }
    show && $0 != "" && $0 !~ /^(PX|PY|PZ|OW|LH|WX|WH)[2-5]=/ { print "   " $0 }'
}

echo
echo "== Anlagen\\Demo.danl vorher (Auszug)"
sections Zuvo "KamSet Berg"

# The demo's choices: the camera set "Berg", a wooden buffer stop and the snow
# texture. The catenary keeps the choice stored in Demo.danl (Kettenwerk.mod),
# the guide post gets the installation's own.
args=(start "$inst/Anlagen/Demo.anl" --camera-set Berg --buffer-stop Holz.mod
      --ground-texture Schnee.bmp)
echo
echo "== zuvo start C:\\Kantrelwick\\Anlagen\\Demo.anl --camera-set Berg --buffer-stop Holz.mod --ground-texture Schnee.bmp"
echo "   (C:\\Kantrelwick ist $inst)"
set +e
WINEPREFIX=$prefix "$zuvo" "${args[@]}"
status=$?
set -e
echo "   Exit-Status: $status"

echo
echo "== Was der Simulator (Stand-in) während des Laufs sah und tat"
if [ -f "$log" ]; then
  sed 's/^/   /' "$log"
else
  echo "   (er lief nicht)"
fi

# Which file of the kind folder an active file now equals.
same_as() {
  local active=$1 folder=$2 f found=""
  for f in "$inst/$folder"/*; do
    if cmp -s "$inst/$active" "$f"; then found="$found $folder\\$(basename "$f")"; fi
  done
  echo "${found:- (keiner Datei des Ordners $folder gleich)}"
}
echo
echo "== Die Installation danach"
printf '   %-28s =%s\n' 'Mods\Prellbock.mod' "$(same_as Mods/Prellbock.mod Prellbock)"
printf '   %-28s =%s\n' 'Mods\Oberleitung.mod' "$(same_as Mods/Oberleitung.mod Oberleitung)"
printf '   %-28s =%s\n' 'Mods\Leitpfosten.mod' "$(same_as Mods/Leitpfosten.mod Leitpfosten)"
printf '   %-28s =%s\n' 'Parallels\Tex256_256a.bmp' "$(same_as Parallels/Tex256_256a.bmp Bodentextur)"
for f in Parallels/Wetter.txt Parallels/Wetter_Schnee.txt; do
  printf '   %-28s : %s\n' "${f//\//\\}" "$(tr -d '\r' <"$inst/$f")"
done
sav=$(cd "$inst" && find . -name '*.sav' | sed 's|^\./||')
echo "   .sav-Dateien: ${sav:-keine}"

# The sections of the settings file that the run wrote or kept.
echo
echo "== Anlagen\\Demo.danl danach (Auszug)"
sections Zuvo "KamSet Berg" Kantrelwick
exit "$status"
