# Native build: every GoogleTest suite, including the end-to-end tests.
dir=$ZUVO_BUILD/native
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVO_BUILD_BENCH=ON || {
  record_counts 0 1 "native build"
  return 0
}
exes=()
for exe in "$dir"/tests/zuvo_*_tests "$dir"/tests/*/zuvo_*_tests; do
  [ -f "$exe" ] && [ -x "$exe" ] && exes+=("$exe")
done
run_gtests_parallel native "$dir" "${exes[@]}"
launcher() {
  sh "$ZUVO_ROOT/tests/launcher/startzuvo_test.sh" "$ZUVO_ROOT/packaging/startzuvo.sh" >"$dir/launcher.log" 2>&1 || {
    grep FAIL "$dir/launcher.log"
    return 1
  }
}
record_check "native-startzuvo launcher" launcher
return 0
