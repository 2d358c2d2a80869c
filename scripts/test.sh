#!/usr/bin/env bash
# Runs every test: installs the Debian packages that are missing, builds
# natively and for Windows, and runs every stage in scripts/test-stages in
# order. Ends with one line "N passed, N failed"; exits 0 only when nothing
# failed.
#
# Environment: ZUVO_BUILD (build folder, default build/), ZUVO_ONLY (run only
# the stages whose name contains it), ZUVO_JOBS (parallel compile jobs),
# ZUVO_TEST_TIMEOUT (seconds one test program may run), ZUVO_WINEPREFIX (a
# Wine prefix to reuse instead of a throwaway one), ZUVO_FUZZ_SECONDS (how
# long each fuzz target runs, default 30).
set -u
ZUVO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
export ZUVO_ROOT
cd "$ZUVO_ROOT" || exit 1

"$ZUVO_ROOT/scripts/install-deps.sh" || { echo "0 passed, 1 failed"; exit 1; }

export ZUVO_BUILD=${ZUVO_BUILD:-$ZUVO_ROOT/build}
mkdir -p "$ZUVO_BUILD" || { echo "0 passed, 1 failed"; exit 1; }
ZUVO_RESULTS=$(mktemp) || { echo "0 passed, 1 failed"; exit 1; }
export ZUVO_RESULTS

# The Wine prefix of this run: made by the first stage that needs it (the
# stages run in subshells, so its path is fixed here) and removed at the end.
if [ -z "${ZUVO_WINEPREFIX:-}" ]; then
  ZUVO_WINEPREFIX=$(mktemp -d /tmp/zuvo-wine.XXXXXX) || { echo "0 passed, 1 failed"; exit 1; }
  zuvo_own_prefix=1
else
  zuvo_own_prefix=0
fi
export ZUVO_WINEPREFIX

cleanup() {
  if command -v wineserver >/dev/null 2>&1 && [ -d "$ZUVO_WINEPREFIX" ]; then
    WINEPREFIX=$ZUVO_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  fi
  [ "$zuvo_own_prefix" -eq 1 ] && rm -rf "$ZUVO_WINEPREFIX"
  rm -f "$ZUVO_RESULTS"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=scripts/test-lib.sh
. "$ZUVO_ROOT/scripts/test-lib.sh"

for stage in "$ZUVO_ROOT"/scripts/test-stages/*.sh; do
  [ -n "${ZUVO_ONLY:-}" ] && [[ "$(basename "$stage")" != *"$ZUVO_ONLY"* ]] && continue
  echo "== $(basename "$stage" .sh)"
  start=$(date +%s)
  # shellcheck disable=SC1090
  ( . "$stage" ) || record_counts 0 1 "stage $(basename "$stage" .sh) stopped"
  echo "   ($(($(date +%s) - start)) s)"
done

passed=$(awk '{p += $1} END {print p + 0}' "$ZUVO_RESULTS")
failed=$(awk '{f += $2} END {print f + 0}' "$ZUVO_RESULTS")
# A run in which nothing ran at all proves nothing.
if [ "$passed" -eq 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
