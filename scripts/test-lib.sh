# Shared by the test stages: build helpers and the running count of results.
# Sourced by scripts/test.sh; the stages append to $ZUVO_RESULTS one line per
# result: "pass N", "fail N" and a name.

ZUVO_ROOT=${ZUVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
ZUVO_JOBS=${ZUVO_JOBS:-2}

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

# record_gtest_xml NAME XMLFILE EXITCODE: counts from a GoogleTest XML report;
# a run that left no report (a crash) counts as one failure.
record_gtest_xml() {
  local name=$1 xml=$2 rc=$3
  if [ ! -s "$xml" ]; then
    record_counts 0 1 "$name (no report, exit $rc)"
    return
  fi
  local head tests failures errors disabled
  head=$(grep -m1 -o '<testsuites [^>]*' "$xml")
  tests=$(echo "$head" | sed -n 's/.* tests="\([0-9]*\)".*/\1/p')
  failures=$(echo "$head" | sed -n 's/.* failures="\([0-9]*\)".*/\1/p')
  errors=$(echo "$head" | sed -n 's/.* errors="\([0-9]*\)".*/\1/p')
  disabled=$(echo "$head" | sed -n 's/.* disabled="\([0-9]*\)".*/\1/p')
  tests=${tests:-0}; failures=${failures:-0}; errors=${errors:-0}; disabled=${disabled:-0}
  local failed=$((failures + errors))
  local passed=$((tests - disabled - failed))
  if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
  record_counts "$passed" "$failed" "$name"
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

# A throwaway Wine prefix, made once per test run.
wine_prefix() {
  if [ -z "${ZUVO_WINEPREFIX:-}" ]; then
    ZUVO_WINEPREFIX=$(mktemp -d /tmp/zuvo-wine.XXXXXX)
    export ZUVO_WINEPREFIX
    WINEDEBUG=-all WINEPREFIX=$ZUVO_WINEPREFIX wineboot -i >/dev/null 2>&1 || true
  fi
  echo "$ZUVO_WINEPREFIX"
}
