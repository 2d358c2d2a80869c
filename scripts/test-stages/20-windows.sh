# Windows build with MinGW-w64: the core's suites run under wine, headless.
dir=$ZUVO_BUILD/windows
configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$ZUVO_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo || {
  record_counts 0 1 "windows build"
  return 0
}
prefix=$(wine_prefix)
for exe in "$dir"/tests/zuvo_*_tests.exe; do
  [ -f "$exe" ] || continue
  name=$(basename "$exe" .exe)
  xml=$dir/$name.xml
  rm -f "$xml"
  (cd "$dir" && WINEDEBUG=-all WINEPREFIX=$prefix timeout 600 wine "$exe" --gtest_brief=1 \
    --gtest_output="xml:$name.xml" >"$dir/$name.log" 2>&1)
  rc=$?
  [ $rc -ne 0 ] && tail -n 40 "$dir/$name.log"
  record_gtest_xml "wine $name" "$xml" $rc
done
