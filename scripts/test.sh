#!/usr/bin/env bash
# Runs every test: installs the Debian packages that are missing, builds
# natively and for Windows, and runs every stage in scripts/test-stages in
# order. Ends with one line "N passed, N failed"; exits 0 only when nothing
# failed.
set -u
ZUVO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
export ZUVO_ROOT
cd "$ZUVO_ROOT" || exit 1

"$ZUVO_ROOT/scripts/install-deps.sh" || { echo "0 passed, 1 failed"; exit 1; }

export ZUVO_BUILD=${ZUVO_BUILD:-$ZUVO_ROOT/build}
mkdir -p "$ZUVO_BUILD"
ZUVO_RESULTS=$(mktemp)
export ZUVO_RESULTS
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

if [ -n "${ZUVO_WINEPREFIX:-}" ]; then
  WINEPREFIX=$ZUVO_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  rm -rf "$ZUVO_WINEPREFIX"
fi

passed=$(awk '{p += $1} END {print p + 0}' "$ZUVO_RESULTS")
failed=$(awk '{f += $2} END {print f + 0}' "$ZUVO_RESULTS")
rm -f "$ZUVO_RESULTS"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
