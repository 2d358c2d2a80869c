# The dialog window: StartZUVO.exe under wine and Xvfb, worked by the dialog
# driver as a person would (a smoke test), in a Wine prefix of this stage (a
# copy of the run's prefix) whose registry names a test installation. The
# picture of the dialog is kept in $ZUVO_BUILD/dialog/pictures.
dir=$ZUVO_BUILD/windows
configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$ZUVO_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo || {
  record_counts 0 1 "windows build (dialog)"
  return 0
}
driver=$dir/tests/dialog/dialog_driver.exe
[ -f "$driver" ] && [ -f "$dir/src/ui/win32/StartZUVO.exe" ] || {
  record_counts 0 1 "dialog driver (not built)"
  return 0
}
# The package for users holds both programs, the read-me (UTF-8 with a byte
# order mark) and the licence.
package_complete() {
  local zip list readme
  zip=$(ls "$dir"/StartZUVO-*.zip 2>/dev/null | head -n 1)
  [ -n "$zip" ] || return 1
  list=$(cmake -E tar tf "$zip") || return 1
  for file in StartZUVO.exe zuvo.exe LIESMICH.txt LICENSE.txt startzuvo; do
    grep -q "/$file\$" <<<"$list" || return 1
  done
  readme=$(ls "$dir"/package/StartZUVO-*/LIESMICH.txt | head -n 1)
  [ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] && iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null
}
record_check "StartZUVO package" package_complete
wine_prefix || {
  record_counts 0 1 "wine prefix"
  return 0
}

run=$ZUVO_BUILD/dialog
rm -rf "$run"
mkdir -p "$run/host" "$run/pictures" || return 0
dialog_prefix=$(mktemp -d /tmp/zuvo-dialog-wine.XXXXXX) || return 0
trap 'WINEPREFIX=$dialog_prefix wineserver -k >/dev/null 2>&1; rm -rf "$dialog_prefix"' RETURN
cp -a "$ZUVO_WINEPREFIX/." "$dialog_prefix/" || {
  record_counts 0 1 "dialog wine prefix"
  return 0
}

# wine in the stage's prefix (the display comes from xvfb-run).
dialog_wine() {
  env WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" \
    WINEPREFIX="$dialog_prefix" "$@"
}

# The registry names the test installation; wine draws the window frames
# itself (Xvfb has no window manager), so the pictures show the captions.
host=$(dialog_wine winepath -w "$run/host" 2>/dev/null)
pictures=$(dialog_wine winepath -w "$run/pictures" 2>/dev/null)
{
  dialog_wine wine reg add 'HKLM\Software\Classes\Kantrelwick\shell\open\command' /ve \
    /d "\"$host\\Kantrelwick.exe\" \"%1\"" /f &&
    dialog_wine wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f &&
    dialog_wine wineserver -w
} >"$run/registry.log" 2>&1 || {
  cat "$run/registry.log"
  record_counts 0 1 "dialog registry entry"
  return 0
}

run_gtest wine-dialog_driver "$run" in_time xvfb-run -a -s "-screen 0 1024x768x24" \
  env WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" \
  WINEPREFIX="$dialog_prefix" ZUVO_DIALOG_HOST="$host" ZUVO_DIALOG_SHOTS="$pictures" wine "$driver"
dialog_wine wineserver -k >/dev/null 2>&1

# The pictures as PNG files (ImageMagick).
for bmp in "$run"/pictures/*.bmp; do
  [ -f "$bmp" ] || continue
  convert-im6.q16 "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
record_check "dialog picture" test -s "$run/pictures/dialog.png"
return 0
