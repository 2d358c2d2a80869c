# The README's first command: scripts/demo.sh on the native build of this run,
# and its output showing the run.
demo_shows_the_run() {
  local out=$ZUVO_BUILD/demo.out
  ZUVO_DEMO_BUILD=$ZUVO_BUILD/native in_time "$ZUVO_ROOT/scripts/demo.sh" >"$out" 2>&1 || {
    tail -n 40 "$out"
    return 1
  }
  local line
  for line in 'Exit-Status: 0' \
    'Argument 1: C:\Kantrelwick\Anlagen\Demo.anl' \
    '(wie Prellbock\Holz.mod)' \
    'Tausch Parallels\Wetter.txt.sav: 15 Bytes "Wetter: Sonne\r\n"' \
    'Kamera 1 bewegt: PX=9000' \
    '.sav-Dateien: keine' \
    'KamSet=Berg' 'Prellbock=Holz.mod' 'PX1=9000' 'Fahrplanzeit=08:15'; do
    grep -qF -- "$line" "$out" || {
      echo "   demo: missing in its output: $line"
      tail -n 40 "$out"
      return 1
    }
  done
}
record_check "scripts/demo.sh" demo_shows_the_run
return 0
