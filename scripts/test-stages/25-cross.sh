# The native zuvo and zuvo.exe under wine heal each other's runs: the
# end-to-end test that needs both builds and the run's Wine prefix.
native=$ZUVO_BUILD/native/tests/e2e/zuvo_e2e_tests
windows=$ZUVO_BUILD/windows
[ -x "$native" ] && [ -f "$windows/src/ui/console/zuvo.exe" ] && [ -f "$windows/tools/stand-in/Kantrelwick.exe" ] || {
  record_counts 0 1 "cross-program test (a build is missing)"
  return 0
}
wine_prefix || {
  record_counts 0 1 "wine prefix"
  return 0
}
# in_time is a shell function: it runs first and hands env the command.
run_gtest "cross-program" "$ZUVO_BUILD/native" in_time env ZUVO_CROSS_WINDOWS_BUILD="$windows" \
  ZUVO_CROSS_WINEPREFIX="$ZUVO_WINEPREFIX" WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" \
  "$native" --gtest_filter='CrossProgram*'
wine_env wineserver -k >/dev/null 2>&1
return 0
