#!/usr/bin/env bash
# Runs the layout benchmark and prints each result as a ratio to the raw
# baseline of the same run: load and link to one fread of the file's bytes,
# save and its parts (preparing, building the bytes, the safe replacement) to
# one fwrite of the same bytes, and the save also to that fwrite made durable
# (fflush and fsync), the lists and the removal passes to the
# fread as well. Then the cost per record of the large layout over that of the
# small one. Each time is the least of several runs
# (real time), so that other work on the machine counts as little as it can.
#
#   bench/layout_ratios.sh [path/to/zuvo_layout_bench] [repetitions]
#
# Exits 1 when a target is missed: on the large layout, load within 10 times
# one fread of the same bytes and save within 3 times one fwrite; and the
# per-record cost of the large layout within 1.2 times that of the small one
# (load, save, link, the lists and the removals); and at its peak a large
# load holds at most 3 times the file's size more than the records need.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$root/build/native/bench/zuvo_layout_bench}
repetitions=${2:-5}
[ -x "$bench" ] || { echo "no benchmark program at $bench (configure with -DZUVO_BUILD_BENCH=ON)" >&2; exit 2; }

json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$bench" --benchmark_repetitions="$repetitions" --benchmark_format=json >"$json" 2>/dev/null

awk '
  # One benchmark run per object: name, run_type, real_time (milliseconds).
  /"name":/      { gsub(/[",]/, "", $2); name = $2 }
  /"run_type":/  { gsub(/[",]/, "", $2); type = $2 }
  /"(peak|records|file)_mib":/ {
    key = $1; gsub(/[":]/, "", key); gsub(/,/, "", $2)
    if (type == "iteration") memory[name "/" key] = $2 + 0
  }
  /"real_time":/ {
    gsub(/,/, "", $2)
    if (type == "iteration" && (!(name in best) || $2 + 0 < best[name])) best[name] = $2 + 0
  }
  END {
    split("small large", sizes, " ")
    records["small"] = 3 * int(32767 / 8)
    records["large"] = 3 * 32767
    missed = 0
    printf "layout benchmark, least real time of '"$repetitions"' runs\n\n"
    printf "%-20s %12s %12s %12s %12s\n", "", "small ms", "ratio", "large ms", "ratio"
    n = split("raw_read raw_write raw_write_synced load save save_prepare save_serialize save_replace link inventory missing_list remove_rolling_stock remove_gbos remove_real_estate", kinds, " ")
    for (k = 1; k <= n; ++k) {
      kind = kinds[k]
      line = sprintf("%-20s", kind)
      for (s = 1; s <= 2; ++s) {
        size = sizes[s]
        t = best[kind "/" size]
        base = (kind ~ /^(save|raw_write)/) ? best["raw_write/" size] : best["raw_read/" size]
        ratio = base > 0 ? t / base : 0
        line = line sprintf(" %12.3f %12.2f", t, ratio)
        if (size == "large" && kind == "load" && ratio > 10) missed = 1
        if (size == "large" && kind == "save" && ratio > 3) missed = 1
      }
      print line
    }
    synced = best["raw_write_synced/large"]
    if (synced > 0) printf "\nlarge save over one fwrite made durable (fflush and fsync): %.2f\n", best["save/large"] / synced
    peak = memory["load/large/peak_mib"]; file = memory["load/large/file_mib"]; held = memory["load/large/records_mib"]
    if (file > 0) {
      printf "large load at its peak: %.1f MiB more (file %.1f MiB, records %.1f MiB; within %.1f MiB)\n", peak, file, held, 3 * file + held
      if (peak > 3 * file + held) missed = 1
    }
    printf "\nper record, large over small:\n"
    m = split("load save link inventory missing_list remove_rolling_stock remove_gbos remove_real_estate", measured, " ")
    for (k = 1; k <= m; ++k) {
      kind = measured[k]
      small = best[kind "/small"] / records["small"]
      large = best[kind "/large"] / records["large"]
      ratio = small > 0 ? large / small : 0
      printf "  %-20s %6.2f\n", kind, ratio
      if (ratio > 1.2) missed = 1
    }
    printf "\ntargets: large load within 10 times raw, large save within 3 times raw, per record within 1.2, load memory: %s\n", missed ? "MISSED" : "met"
    exit missed
  }
' "$json"
