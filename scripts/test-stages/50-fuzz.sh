# Each fuzz target (clang, libFuzzer, AddressSanitizer, UndefinedBehavior-
# Sanitizer) runs for ZUVO_FUZZ_SECONDS (default 30) on its seed corpus and
# what earlier runs in this build folder found; any crash, leak, time-out or
# failed check fails the target. The targets are built in the sanitizer
# stage's folder. Longer runs: fuzz/run-all.sh SECONDS.
seconds=${ZUVO_FUZZ_SECONDS:-30}
export ZUVO_FUZZ_BUILD=$ZUVO_BUILD/sanitize
for source in "$ZUVO_ROOT"/fuzz/*_fuzzer.cpp; do
  target=$(basename "$source" _fuzzer.cpp)
  if out=$("$ZUVO_ROOT/fuzz/run-all.sh" "$seconds" "$target" 2>&1); then
    echo "   $out"
    record_counts 1 0 "fuzz $target"
  else
    echo "$out" | tail -n 25
    record_counts 0 1 "fuzz $target"
  fi
done
return 0
