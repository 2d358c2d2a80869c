# The whole native test suite again, built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer: any memory error, leak or undefined behaviour
# stops the program and fails its suite. The same build holds the fuzz
# targets (stage 50 runs them), so the sources are compiled once for both; the
# targets' replay programs run the committed seed corpora here.
dir=$ZUVO_BUILD/sanitize
CC=clang CXX=clang++ configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZUVO_SANITIZE=ON -DZUVO_FUZZ=ON || {
  record_counts 0 1 "sanitizer build"
  return 0
}
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The end-to-end suite runs every command many times over; sanitized it
# takes several times as long as natively.
ZUVO_EXE_TIMEOUT_FACTOR=5 run_test_programs sanitize "$dir"

replay_corpus() {
  local exe=$1 corpus=$2 log=$3
  in_time "$exe" "$corpus" >"$log" 2>&1 || {
    tail -n 30 "$log"
    return 1
  }
}
for corpus in "$ZUVO_ROOT"/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  exe=$dir/fuzz/${name}_replay
  if [ ! -x "$exe" ]; then
    record_counts 0 1 "sanitize-replay $name (not built)"
    continue
  fi
  record_check "sanitize-replay $name" replay_corpus "$exe" "$corpus" "$dir/replay-$name.log"
done
return 0
