# The Debian package, made by CPack from the native build (with StartZUVO.exe
# of the Windows build when that was built): its files and control fields,
# and what is installed from it into a throwaway root: zuvo runs, the
# launcher finds the dialog, the manual page renders without warnings, the
# MIME types and the desktop entry fit together.
dir=$ZUVO_BUILD/native
exe=$(ls "$ZUVO_BUILD"/windows/package/StartZUVO-*/StartZUVO.exe 2>/dev/null | head -n 1)
windows=(-DZUVO_WINDOWS_BUILD=)
[ -n "$exe" ] && windows=(-DZUVO_WINDOWS_BUILD="$ZUVO_BUILD/windows")
rm -f "$dir"/zuvo_*.deb
make_deb() {
  configure_and_build "$dir" "${windows[@]}" || return 1
  (cd "$dir" && cpack -G DEB >"$dir/cpack.log" 2>&1) || {
    tail -n 30 "$dir/cpack.log"
    return 1
  }
}
make_deb || {
  record_counts 0 1 "deb package built"
  return 0
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
deb=$dir/zuvo_${version}_$(dpkg --print-architecture).deb
record_check "deb package built ($(basename "$deb"))" test -s "$deb"
root=$(mktemp -d /tmp/zuvo-deb.XXXXXX) || return 0
trap 'rm -rf "$root"' RETURN

deb_lists_its_files() {
  local list file
  list=$(dpkg-deb -c "$deb") || return 1
  for file in usr/bin/zuvo usr/bin/startzuvo usr/share/man/man1/zuvo.1.gz \
    usr/share/applications/startzuvo.desktop usr/share/mime/packages/startzuvo.xml \
    ${exe:+usr/lib/startzuvo/StartZUVO.exe}; do
    grep -q " \./$file\$" <<<"$list" || { echo "   deb: $file missing"; return 1; }
  done
}
deb_control_fields() {
  [ "$(dpkg-deb -f "$deb" Package)" = zuvo ] &&
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] &&
    dpkg-deb -f "$deb" Depends | grep -q 'libc6' &&
    dpkg-deb -f "$deb" Recommends | grep -qw wine
}
installed_zuvo_runs() {
  dpkg -x "$deb" "$root" || return 1
  [ "$("$root/usr/bin/zuvo" --version)" = "zuvo (StartZUVO) $version" ]
}
# A wine and a winepath that only print what they were given.
launcher_finds_the_dialog() {
  local bin=$root/fake-bin out
  mkdir -p "$bin" "$root/usr/lib/startzuvo" || return 1
  [ -f "$root/usr/lib/startzuvo/StartZUVO.exe" ] || : >"$root/usr/lib/startzuvo/StartZUVO.exe"
  printf '#!/bin/sh\nprintf "%%s|" "$@"\n' >"$bin/wine"
  printf '#!/bin/sh\necho "Z:\\\\layout.anl"\n' >"$bin/winepath"
  chmod +x "$bin/wine" "$bin/winepath"
  out=$(cd "$root" && env -u STARTZUVO_EXE PATH="$bin:$PATH" usr/bin/startzuvo a.anl) || return 1
  [ "$out" = "$root/usr/lib/startzuvo/StartZUVO.exe|Z:\\layout.anl|" ] || {
    echo "   startzuvo ran: $out"
    return 1
  }
}
manual_page_renders() {
  local page=$root/zuvo.1 warnings
  gzip -dc "$root/usr/share/man/man1/zuvo.1.gz" >"$page" || return 1
  warnings=$(groff -man -ww -z "$page" 2>&1; MANWIDTH=80 man -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  # Every command that the help lists has its entry.
  local text command
  text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
  grep -q 'EXIT STATUS' <<<"$text" || return 1
  for command in $("$root/usr/bin/zuvo" --help | sed -n 's/^  \([a-z][a-z-]*\)  .*/\1/p'); do
    grep -qE "^       $command( |\$)" <<<"$text" || { echo "   zuvo.1: no entry for $command"; return 1; }
  done
}
# shared-mime-info reads the types; the desktop entry opens both of them.
types_and_desktop_entry() {
  local mime=$root/mime type
  mkdir -p "$mime/packages" && cp "$root/usr/share/mime/packages/startzuvo.xml" "$mime/packages/" &&
    update-mime-database "$mime" >/dev/null 2>&1 || return 1
  for type in application/x-kantrelwick-layout:anl application/x-kantrelwick-settings:danl; do
    grep -qx "50:${type%%:*}:\*\.${type##*:}" "$mime/globs2" || return 1
    grep -q "^MimeType=.*${type%%:*};" "$root/usr/share/applications/startzuvo.desktop" || return 1
  done
  grep -qx 'Exec=startzuvo %f' "$root/usr/share/applications/startzuvo.desktop"
}
record_check "deb contents" deb_lists_its_files
record_check "deb control fields" deb_control_fields
record_check "deb installed: zuvo --version" installed_zuvo_runs
record_check "deb installed: startzuvo finds StartZUVO.exe" launcher_finds_the_dialog
record_check "deb installed: manual page" manual_page_renders
record_check "deb installed: MIME types and desktop entry" types_and_desktop_entry
return 0
