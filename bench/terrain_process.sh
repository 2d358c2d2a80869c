#!/usr/bin/env bash
# Times the whole "zuvo terrain" process for a 625-tile and a 2,500-tile
# terrain, each into a new folder and over an existing one, as a ratio to
# writing the same files (same names, same bytes) raw, each with one write
# call, and one sync of the file system; and counts its system calls with strace -c -f, so that the
# flushes are seen not to grow with the number of tiles. Over an existing
# folder it also prints the raw replacement of the same files (written
# beside, synced, each moved over its old file) and the ratio to that.
#
#   bench/terrain_process.sh [ZUVO-BINARY]
#
# The binary defaults to build/native/src/ui/console/zuvo. Files go to
# $ZUVO_BENCH_DIR or the temporary folder. Target: each generation within 2
# times the raw write, and the same number of flushes for both sizes. Exits 1
# when a target is missed; without strace the counts are left out.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
zuvo=${1:-$root/build/native/src/ui/console/zuvo}
[ -x "$zuvo" ] || { echo "no zuvo binary at $zuvo" >&2; exit 2; }
work=$(mktemp -d "${ZUVO_BENCH_DIR:-${TMPDIR:-/tmp}}/zuvo-terrain-process.XXXXXX")
trap 'rm -rf "$work"' EXIT
# An empty Wine prefix: Z: is the root, so Unix paths name themselves.
mkdir -p "$work/prefix"
export WINEPREFIX=$work/prefix
# The demo installation, with its layout under another name.
cp -r "$root/examples/demo" "$work/Sim"
cp "$work/Sim/Anlagen/Demo.anl" "$work/Sim/Anlagen/Gross.anl"

# bitmap FILE SIZE: a 24-bit bitmap of SIZE x SIZE pixels with a gentle slope.
bitmap() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
path, n = sys.argv[1], int(sys.argv[2])
row = (3 * n + 3) & ~3
with open(path, "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", 54 + row * n, 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, n, n, 1, 24, 0, row * n, 2835, 2835, 0, 0))
    for y in range(n):
        line = bytearray()
        for x in range(n):
            line += bytes(((x + y) % 256, (x * 3) % 256, 100))
        f.write(bytes(line) + b"\0" * (row - 3 * n))
PY
}

# raw_write FROM TO [replace]: writes every file of FROM into the new folder
# TO, each from memory with one write call, and syncs the file system once;
# prints the milliseconds that took (the files are read before the clock
# starts). With "replace", TO exists: the files go into a new folder beside
# it, are synced, and each is moved over the old file of its name, as a
# replacement that is never half written must do; what the file system
# takes to replace files, which no writer of them can avoid.
raw_write() {
  python3 - "$1" "$2" "${3:-}" <<'PY'
import os, subprocess, sys, time
source, target, mode = sys.argv[1], sys.argv[2], sys.argv[3]
files = [(name, open(os.path.join(source, name), "rb").read()) for name in sorted(os.listdir(source))]
folder = target + ".raw-new" if mode == "replace" else target
start = time.monotonic()
os.mkdir(folder)
for name, data in files:
    fd = os.open(os.path.join(folder, name), os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o666)
    view = memoryview(data)
    while view:
        view = view[os.write(fd, view):]
    os.close(fd)
subprocess.run(["sync", "-f", folder], check=True)
if mode == "replace":
    for name, _ in files:
        os.rename(os.path.join(folder, name), os.path.join(target, name))
    os.rmdir(folder)
    fd = os.open(target, os.O_RDONLY)
    os.fsync(fd)
    os.close(fd)
print((time.monotonic() - start) * 1000)
PY
}

# now: seconds since the epoch, with nanoseconds.
now() { date +%s.%N; }

# median3 A B C
median3() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

status=0
printf '%-7s %-9s %9s %9s %7s %13s\n' tiles folder "zuvo ms" "raw ms" ratio "raw replace"
for size in 1001 2001; do
  bitmap "$work/Sim/Anlagen/h$size.bmp" "$size"
  printf '[Terrain Gross]\r\nName=Gross\r\nHoehe=h%s.bmp\r\nFarbe=h%s.bmp\r\nPixelgroesse=1\r\nKachelabstand=40\r\nKachelgroesse=80\r\n' \
    "$size" "$size" >"$work/Sim/Anlagen/Gross.danl"
  run() { "$zuvo" --host "$work/Sim" terrain "$work/Sim/Anlagen/Gross.anl" >/dev/null; }
  for folder in new existing; do
    zuvo_times=() raw_times=() replace_times=()
    for turn in 1 2 3; do
      [ "$folder" = new ] && rm -rf "$work/Sim/Modelle/Gross"
      [ "$folder" = existing ] && [ ! -d "$work/Sim/Modelle/Gross" ] && run
      sync -f "$work/Sim/Modelle"
      start=$(now); run; end=$(now)
      zuvo_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print (b - a) * 1000 }')")
      # The same bytes, raw: each file written from memory with one write
      # into a new folder, then one sync of the file system.
      rm -rf "$work/raw"
      sync -f "$work/Sim/Modelle"
      raw_times+=("$(raw_write "$work/Sim/Modelle/Gross" "$work/raw")")
      if [ "$folder" = existing ]; then
        # The raw files again, now over the raw folder of the same files.
        sync -f "$work/Sim/Modelle"
        replace_times+=("$(raw_write "$work/Sim/Modelle/Gross" "$work/raw" replace)")
      fi
    done
    tiles=$(find "$work/Sim/Modelle/Gross" -name 'bmp*.mod' | wc -l)
    z=$(median3 "${zuvo_times[@]}")
    r=$(median3 "${raw_times[@]}")
    ratio=$(awk -v z="$z" -v r="$r" 'BEGIN { printf "%.2f", z / r }')
    replaced=-
    if [ "$folder" = existing ]; then
      rr=$(median3 "${replace_times[@]}")
      replaced=$(awk -v z="$z" -v r="$rr" 'BEGIN { printf "%.0f ms %.2f", r, z / r }')
    fi
    printf '%-7s %-9s %9.0f %9.0f %7s %13s\n' "$tiles" "$folder" "$z" "$r" "$ratio" "$replaced"
    if awk -v x="$ratio" 'BEGIN { exit !(x > 2.0) }'; then
      echo "  target missed: the process over 2 times the raw write"
      status=1
    fi
    if command -v strace >/dev/null 2>&1; then
      [ "$folder" = new ] && rm -rf "$work/Sim/Modelle/Gross"
      strace -c -f -o "$work/strace.txt" "$zuvo" --host "$work/Sim" terrain "$work/Sim/Anlagen/Gross.anl" >/dev/null
      counts=$(awk '
        $NF ~ /^(fsync|fdatasync|syncfs|sync|stat|lstat|newfstatat|fstatat64|statx|getdents64|openat|rename|renameat|renameat2)$/ {
          n[$NF] = ($4 ~ /^[0-9]+$/) ? $4 : $(NF-1)
        }
        END { for (k in n) printf "%s=%s ", k, n[k] }' "$work/strace.txt")
      echo "  syscalls: $counts"
      flushes=$(awk '$NF ~ /^(fsync|fdatasync|syncfs)$/ { s += ($4 ~ /^[0-9]+$/) ? $4 : $(NF-1) } END { print s + 0 }' "$work/strace.txt")
      key="$folder"
      if [ "$size" = 1001 ]; then eval "small_$key=$flushes"; else
        eval "small=\$small_$key"
        if [ "$small" != "$flushes" ]; then
          echo "  target missed: $flushes flushes for 2,500 tiles, $small for 625"
          status=1
        fi
      fi
    fi
  done
done
exit $status
