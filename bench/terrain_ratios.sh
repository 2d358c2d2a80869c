#!/usr/bin/env bash
# Runs the terrain benchmark and prints each generation as a ratio to writing
# the same files (same count, same sizes) with one fwrite each in the same
# run, and the peak resident memory of a process that does one generation.
#
#   bench/terrain_ratios.sh [BENCH-BINARY]
#
# The binary defaults to build/native/bench/zuvo_terrain_bench (configure with
# -DZUVO_BUILD_BENCH=ON). Files go to $ZUVO_BENCH_DIR or the temporary folder.
# Targets: generation within 2 times the raw write; peak memory at most the
# two input pictures plus 32 MiB. Exits 1 when a target is missed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$root/build/native/bench/zuvo_terrain_bench}
[ -x "$bench" ] || { echo "no benchmark binary at $bench" >&2; exit 2; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# field NAME-PREFIX KEY: a value from the JSON report in $out.
field() {
  awk -v want="$1" -v key="\"$2\":" '
    $1 == "\"name\":" { name = $2; gsub(/[",]/, "", name) }
    $1 == key && index(name, want) == 1 { v = $2; gsub(/,/, "", v); print v; exit }
  ' "$out"
}

log=$(mktemp)
trap 'rm -f "$out" "$log"' EXIT
"$bench" --benchmark_out="$out" --benchmark_out_format=json >"$log" 2>&1 || { cat "$log"; exit 1; }

status=0
# The ratio: medians of raw writes and generations taken in turns.
printf '%-10s %12s %12s %9s %12s %12s\n' input "raw ms" "generate ms" ratio "tiles/s" "MB/s"
for kind in Bitmap Terragen; do
  raw=$(field "BM_Ratio_$kind" raw_ms)
  gen=$(field "BM_Ratio_$kind" generate_ms)
  ratio=$(field "BM_Ratio_$kind" ratio)
  tiles=$(field "BM_Generate_$kind" tiles_per_second)
  bytes=$(field "BM_Generate_$kind" bytes_per_second)
  printf '%-10s %12.1f %12.1f %9.2f %12.0f %12.1f\n' "$kind" "$raw" "$gen" "$ratio" "$tiles" \
    "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')"
  if awk -v x="$ratio" 'BEGIN { exit !(x > 2.0) }'; then
    echo "  target missed: generation over 2 times the raw write"
    status=1
  fi
done

# Peak memory: one process per generation. The pictures in memory: a bitmap
# of 1025 x 1025 pixels holds 1025 rows of 3076 bytes; the TERRAGEN file
# 1026 x 1026 samples of 2 bytes.
bitmap=$((1025 * 3076))
terragen=$((1026 * 1026 * 2))
for kind in Bitmap Terragen; do
  "$bench" --benchmark_filter="^BM_Generate_$kind" --benchmark_out="$out" \
    --benchmark_out_format=json >"$log" 2>&1 || { cat "$log"; exit 1; }
  peak=$(field "BM_Generate_$kind" peak_rss_mib)
  if [ "$kind" = Bitmap ]; then pictures=$((2 * bitmap)); else pictures=$((terragen + bitmap)); fi
  limit=$(awk -v p="$pictures" 'BEGIN { printf "%.1f", p / 1048576 + 32 }')
  printf 'peak memory %-8s %6.1f MiB (limit %s MiB: pictures %.1f MiB + 32 MiB)\n' "$kind" "$peak" \
    "$limit" "$(awk -v p="$pictures" 'BEGIN { print p / 1048576 }')"
  if awk -v x="$peak" -v l="$limit" 'BEGIN { exit !(x > l) }'; then
    echo "  target missed: peak memory over the limit"
    status=1
  fi
done
exit $status
