#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehavior-
# Sanitizer) and runs each for SECONDS on its seed corpus, one after another.
# Exits non-zero when a target found anything (crash, leak, time-out,
# sanitizer report, failed check) or could not be built or run.
#
#   fuzz/run-all.sh SECONDS [TARGET...]
#
# Environment: ZUVO_FUZZ_BUILD (build folder, default build/fuzz), ZUVO_JOBS.
# New inputs go to $ZUVO_FUZZ_BUILD/corpus/<target> (kept between runs; the
# committed seeds in fuzz/corpus stay as they are), findings to
# $ZUVO_FUZZ_BUILD/findings/, and one line per run to $ZUVO_FUZZ_BUILD/runs.log:
# date, target, seconds it ran, executions, result.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: fuzz/run-all.sh SECONDS [TARGET...]" >&2
  exit 2
fi
shift
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then  # every target: fuzz/<target>_fuzzer.cpp
  for source in "$root"/fuzz/*_fuzzer.cpp; do targets+=("$(basename "$source" _fuzzer.cpp)"); done
fi

build=${ZUVO_FUZZ_BUILD:-$root/build/fuzz}
jobs=${ZUVO_JOBS:-2}
mkdir -p "$build" || exit 1
# The same configuration as the test command's sanitizer stage, so that the
# two can share a build folder.
if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZUVO_SANITIZE=ON -DZUVO_FUZZ=ON >"$build.configure.log" 2>&1; then
  cat "$build.configure.log"
  exit 1
fi
fuzzers=()
for t in "${targets[@]}"; do fuzzers+=("${t}_fuzzer"); done
if ! cmake --build "$build" -j"$jobs" --target "${fuzzers[@]}" >"$build.build.log" 2>&1; then
  tail -n 60 "$build.build.log"
  exit 1
fi

# Every finding stops the run and is reported; leaks count as findings.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

status=0
for t in "${targets[@]}"; do
  exe=$build/fuzz/${t}_fuzzer
  work=$build/corpus/$t
  findings=$build/findings
  log=$build/$t.fuzz.log
  mkdir -p "$work" "$findings"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/$t-")
  [ -f "$root/fuzz/dict/$t.dict" ] && options+=(-dict="$root/fuzz/dict/$t.dict")
  [ "$t" = layout ] && options+=(-max_len=16384)
  before=$(find "$findings" -name "$t-*" 2>/dev/null | wc -l)
  started=$(date +%s)
  nice -n 10 "$exe" "${options[@]}" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  elapsed=$(($(date +%s) - started))
  after=$(find "$findings" -name "$t-*" 2>/dev/null | wc -l)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$rc" -eq 0 ] && [ "$after" -eq "$before" ]; then
    result=ok
  else
    result="FINDING (exit $rc)"
    status=1
    grep -E "ERROR|runtime error|check failed|SUMMARY|Test unit written" "$log" | head -n 20
  fi
  printf '%-14s %5s s %12s executions  %s\n' "$t" "$elapsed" "${execs:-?}" "$result"
  echo "$(date -u +%FT%TZ) $t $elapsed ${execs:-0} ${result// /_}" >>"$build/runs.log"
done
exit "$status"
