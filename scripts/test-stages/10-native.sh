# Native build: every GoogleTest suite, including the end-to-end tests.
dir=$ZUVO_BUILD/native
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVO_BUILD_BENCH=ON || {
  record_counts 0 1 "native build"
  return 0
}
for exe in "$dir"/tests/zuvo_*_tests "$dir"/tests/*/zuvo_*_tests; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  run_gtest "native-$(basename "$exe")" "$dir" in_time "$exe"
done
return 0
