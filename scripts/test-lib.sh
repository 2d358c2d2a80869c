# Shared by the test stages: build helpers, running a GoogleTest program, and
# the running count of results. Sourced by scripts/test.sh; the stages append
# to $ZUVO_RESULTS one line per result: passed count, failed count, name.

ZUVO_ROOT=${ZUVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
ZUVO_JOBS=${ZUVO_JOBS:-2}
ZUVO_TEST_TIMEOUT=${ZUVO_TEST_TIMEOUT:-300}

# record_counts PASSED FAILED NAME
record_counts() {
  echo "$1 $2 $3" >>"$ZUVO_RESULTS"
  if [ "$2" -eq 0 ]; then
    echo "   ok   $3 ($1 passed)"
  else
    echo "  FAIL  $3 ($1 passed, $2 failed)"
  fi
}

# record_check NAME COMMAND...: one result for a command's exit status.
record_check() {
  local name=$1
  shift
  if "$@"; then record_counts 1 0 "$name"; else record_counts 0 1 "$name"; fi
}

# xml_count ATTRIBUTE HEADER: the number in ATTRIBUTE="N" of an XML start tag,
# empty when it is missing.
xml_count() {
  echo "$2" | sed -n "s/.* $1=\"\\([0-9][0-9]*\\)\".*/\\1/p"
}

# record_gtest_xml NAME XMLFILE EXITCODE: counts from a GoogleTest XML report.
# A run that left no complete report (a crash, a hang) counts as one failure,
# and so does a non-zero exit with no failed test in the report.
record_gtest_xml() {
  local name=$1 xml=$2 rc=$3
  if [ ! -s "$xml" ] || ! grep -q '</testsuites>' "$xml"; then
    record_counts 0 1 "$name (no report, exit $rc)"
    return 0
  fi
  local head tests failures errors disabled skipped
  head=$(grep -m1 -o '<testsuites [^>]*' "$xml")
  tests=$(xml_count tests "$head")
  failures=$(xml_count failures "$head")
  errors=$(xml_count errors "$head")
  disabled=$(xml_count disabled "$head")
  if [ -z "$tests" ] || [ -z "$failures" ]; then
    record_counts 0 1 "$name (unreadable report, exit $rc)"
    return 0
  fi
  errors=${errors:-0}; disabled=${disabled:-0}
  # Skipped tests neither pass nor fail.
  skipped=$(grep -c '<skipped' "$xml")
  local failed=$((failures + errors))
  local passed=$((tests - disabled - failed - skipped))
  [ "$passed" -lt 0 ] && passed=0
  if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
  [ "$skipped" -gt 0 ] && echo "   ($name: $skipped skipped)"
  record_counts "$passed" "$failed" "$name"
}

# run_gtest NAME DIR COMMAND...: runs one GoogleTest program, started by
# COMMAND (which may begin with a shell function such as wine_env), in DIR.
# Its output goes to DIR/NAME.log and its report to DIR/NAME.xml, named
# relative to DIR so that the path also works under wine; the counts are
# recorded. Returns the program's exit status.
run_gtest() {
  local name=$1 dir=$2
  shift 2
  local xml=$dir/$name.xml log=$dir/$name.log rc
  rm -f "$xml"
  (cd "$dir" && "$@" --gtest_brief=1 --gtest_output="xml:$name.xml" >"$log" 2>&1 </dev/null)
  rc=$?
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    echo "   $name: stopped by the time limit" >>"$log"
  fi
  [ "$rc" -ne 0 ] && tail -n 40 "$log"
  record_gtest_xml "$name" "$xml" "$rc"
  return "$rc"
}

# run_gtest_shard NAME DIR INDEX COUNT COMMAND...: run_gtest for one shard of
# a program's tests (GoogleTest's own sharding), named NAME-INDEX.
run_gtest_shard() {
  local name=$1 dir=$2 index=$3 count=$4
  shift 4
  GTEST_SHARD_INDEX=$index GTEST_TOTAL_SHARDS=$count run_gtest "$name-$((index + 1))of$count" "$dir" "$@"
}

# run_gtests_parallel PREFIX DIR EXE...: runs the GoogleTest programs, at most
# $ZUVO_JOBS at a time; a program whose name contains "e2e" (the slowest, by
# far) is split into $ZUVO_JOBS shards that run side by side. The tests keep
# their state in folders of their own, so they do not meet. Set
# ZUVO_EXE_TIMEOUT_FACTOR to give the end-to-end shards a longer time limit.
run_gtests_parallel() {
  local prefix=$1 dir=$2 jobs=${ZUVO_JOBS:-2} exe i name
  shift 2
  [ "$jobs" -ge 1 ] 2>/dev/null || jobs=1
  local -a queue=()
  # The end-to-end shards go first, so the short suites fill in around them.
  for exe in "$@"; do
    case $(basename "$exe") in
      *e2e*) for ((i = 0; i < jobs; i++)); do queue+=("$i:$jobs:$exe"); done ;;
    esac
  done
  for exe in "$@"; do
    case $(basename "$exe") in *e2e*) ;; *) queue+=("0:1:$exe") ;; esac
  done
  local item index count limit running=0
  for item in "${queue[@]}"; do
    index=${item%%:*}
    item=${item#*:}
    count=${item%%:*}
    exe=${item#*:}
    name=$prefix-$(basename "$exe")
    limit=$ZUVO_TEST_TIMEOUT
    case $name in *e2e*) limit=$((ZUVO_TEST_TIMEOUT * ${ZUVO_EXE_TIMEOUT_FACTOR:-1})) ;; esac
    while [ "$running" -ge "$jobs" ]; do
      wait -n
      running=$((running - 1))
    done
    if [ "$count" -eq 1 ]; then
      ZUVO_TEST_TIMEOUT=$limit run_gtest "$name" "$dir" in_time "$exe" &
    else
      ZUVO_TEST_TIMEOUT=$limit run_gtest_shard "$name" "$dir" "$index" "$count" in_time "$exe" &
    fi
    running=$((running + 1))
  done
  wait
  return 0
}

# run_test_programs PREFIX DIR: run_gtests_parallel for every GoogleTest
# program of the build in DIR.
run_test_programs() {
  local prefix=$1 dir=$2 exe
  local -a exes=()
  for exe in "$dir"/tests/zuvo_*_tests "$dir"/tests/*/zuvo_*_tests; do
    [ -f "$exe" ] && [ -x "$exe" ] && exes+=("$exe")
  done
  run_gtests_parallel "$prefix" "$dir" "${exes[@]}"
}

# in_time COMMAND...: runs a command with the time limit of one test program.
in_time() {
  timeout -k 10 "$ZUVO_TEST_TIMEOUT" "$@"
}

# configure_and_build BUILDDIR CMAKE-ARGS...
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ZUVO_ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 || {
    cat "$dir.configure.log"
    return 1
  }
  cmake --build "$dir" -j"$ZUVO_JOBS" >"$dir.build.log" 2>&1 || {
    tail -n 60 "$dir.build.log"
    return 1
  }
}

# Headless wine for the test programs: no window, no crash dialog, no
# installers for Mono and Gecko, a 64-bit prefix of this run only.
wine_env() {
  env -u DISPLAY -u WAYLAND_DISPLAY WINEDEBUG=-all WINEARCH=win64 \
    WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$ZUVO_WINEPREFIX" "$@"
}

# Makes the Wine prefix $ZUVO_WINEPREFIX (set by scripts/test.sh) once per
# run, and waits until wine has finished writing it, so no test races the
# first-run set-up. Fails when wine cannot make it.
wine_prefix() {
  [ -n "${ZUVO_WINEPREFIX:-}" ] || return 1
  mkdir -p "$ZUVO_WINEPREFIX" || return 1
  local log=${ZUVO_BUILD:-/tmp}/wineboot.log
  if [ ! -f "$ZUVO_WINEPREFIX/system.reg" ]; then
    wine_env timeout -k 10 300 wineboot -i >"$log" 2>&1
    wine_env timeout -k 10 120 wineserver -w
  fi
  [ -f "$ZUVO_WINEPREFIX/system.reg" ] || {
    tail -n 20 "$log" 2>/dev/null
    return 1
  }
}
