# Windows build with MinGW-w64: every layer's suite runs under wine, headless,
# in the throwaway prefix of this run.
dir=$ZUVO_BUILD/windows
configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$ZUVO_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo || {
  record_counts 0 1 "windows build"
  return 0
}
wine_prefix || {
  record_counts 0 1 "wine prefix"
  return 0
}
found=0
for exe in "$dir"/tests/zuvo_*_tests.exe; do
  [ -f "$exe" ] || continue
  found=1
  name=wine-$(basename "$exe" .exe)
  if ! run_gtest "$name" "$dir" wine_env timeout -k 10 "$ZUVO_TEST_TIMEOUT" wine "$exe"; then
    # Whatever a crashed or stopped program left running goes before the next.
    wine_env wineserver -k >/dev/null 2>&1
  fi
done
[ "$found" -eq 1 ] || record_counts 0 1 "windows test programs (none built)"

# The console program itself starts under wine and knows its version.
zuvo_exe_starts() {
  local out
  out=$(cd "$dir" && wine_env timeout -k 10 60 wine "$dir/src/ui/console/zuvo.exe" --version \
    2>/dev/null </dev/null) || return 1
  [[ "$out" == "zuvo "* ]]
}
record_check "wine-zuvo.exe --version" zuvo_exe_starts
wine_env wineserver -k >/dev/null 2>&1
return 0
