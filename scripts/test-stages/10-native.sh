# Native build: every GoogleTest suite, including the end-to-end tests.
dir=$ZUVO_BUILD/native
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVO_BUILD_BENCH=ON || {
  record_counts 0 1 "native build"
  return 0
}
for exe in "$dir"/tests/zuvo_*_tests "$dir"/tests/*/zuvo_*_tests; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  xml=$dir/$name.xml
  rm -f "$xml"
  (cd "$dir" && "$exe" --gtest_brief=1 --gtest_output="xml:$xml" >"$dir/$name.log" 2>&1)
  rc=$?
  [ $rc -ne 0 ] && tail -n 40 "$dir/$name.log"
  record_gtest_xml "native $name" "$xml" $rc
done
