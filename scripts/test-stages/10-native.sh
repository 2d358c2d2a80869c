# Native build: every GoogleTest suite, including the end-to-end tests.
dir=$ZUVO_BUILD/native
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVO_BUILD_BENCH=ON || {
  record_counts 0 1 "native build"
  return 0
}
run_test_programs native "$dir"
launcher() {
  sh "$ZUVO_ROOT/tests/launcher/startzuvo_test.sh" "$ZUVO_ROOT/packaging/startzuvo.sh" >"$dir/launcher.log" 2>&1 || {
    grep FAIL "$dir/launcher.log"
    return 1
  }
}
record_check "native-startzuvo launcher" launcher
return 0
