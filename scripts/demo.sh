#!/usr/bin/env bash
# Builds zuvo and runs it on the demo installation in examples/demo.
set -eu
ZUVO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ZUVO_ROOT/scripts/install-deps.sh"
build=$ZUVO_ROOT/build/demo
cmake -S "$ZUVO_ROOT" -B "$build" -DZUVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target zuvo >/dev/null
"$build/src/ui/console/zuvo" --help
