# The Debian package, made by CPack from the native build (with StartZUVO.exe
# of the Windows build when that was built): its files and control fields,
# lintian (no error, no warning; the informational tags are listed), the
# desktop entry and the AppStream metainfo validated, and what is installed
# from it into a throwaway root: zuvo runs, the launcher finds the dialog,
# the manual pages are German and English and know every command, the MIME
# types, the desktop entry and the icon fit together, and the bash and zsh
# completion complete (scripts/check-bash-completion.sh and
# scripts/check-zsh-completion.zsh).
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
icon_sizes=(16 22 24 32 48 64 128 256)

deb_lists_its_files() {
  local list file size
  list=$(dpkg-deb -c "$deb") || return 1
  local files=(usr/bin/zuvo usr/bin/startzuvo
    usr/share/man/man1/zuvo.1.gz usr/share/man/man1/startzuvo.1.gz
    usr/share/man/en/man1/zuvo.1.gz usr/share/man/en/man1/startzuvo.1.gz
    usr/share/bash-completion/completions/zuvo usr/share/zsh/vendor-completions/_zuvo
    usr/share/doc/zuvo/copyright usr/share/doc/zuvo/changelog.gz usr/share/doc/zuvo/NEWS.gz
    usr/share/applications/startzuvo.desktop usr/share/mime/packages/startzuvo.xml
    usr/share/metainfo/org.example.startzuvo.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/startzuvo.svg
    ${exe:+usr/lib/startzuvo/StartZUVO.exe})
  for size in "${icon_sizes[@]}"; do files+=("usr/share/icons/hicolor/${size}x${size}/apps/startzuvo.png"); done
  for file in "${files[@]}"; do
    grep -q " \./$file\$" <<<"$list" || { echo "   deb: $file missing"; return 1; }
  done
}
deb_control_fields() {
  [ "$(dpkg-deb -f "$deb" Package)" = zuvo ] &&
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] &&
    [ "$(dpkg-deb -f "$deb" Section)" = utils ] &&
    dpkg-deb -f "$deb" Depends | grep -q 'libc6' &&
    dpkg-deb -f "$deb" Recommends | grep -qw wine
}
# Every tag in the log; errors and warnings fail.
lintian_is_clean() {
  local log=$dir/lintian.log
  lintian --display-info --fail-on error,warning "$deb" >"$log" 2>&1
  local status=$?
  sed 's/^/   lintian: /' "$log"
  return "$status"
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
  # What the launcher checks before wine: a display, and a prefix in which
  # the simulator is registered.
  mkdir -p "$root/fake-prefix" || return 1
  printf '[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\n' >"$root/fake-prefix/system.reg"
  out=$(cd "$root" && env -u STARTZUVO_EXE PATH="$bin:$PATH" DISPLAY=:0 WINEPREFIX="$root/fake-prefix" \
    usr/bin/startzuvo a.anl) || return 1
  [ "$out" = "$root/usr/lib/startzuvo/StartZUVO.exe|Z:\\layout.anl|" ] || {
    echo "   startzuvo ran: $out"
    return 1
  }
}
# man_text PAGE.gz: the page as man shows it; warnings of groff and man on
# standard error.
man_text() {
  gzip -dc "$1" >"$root/page.1" || return 1
  groff -man -ww -z "$root/page.1" && MANWIDTH=80 man --warnings -l "$root/page.1"
}
# man finds the German page first and the English one for English.
manual_pages_found() {
  local man=$root/usr/share/man
  [ "$(MANPATH=$man LC_ALL=C man -w zuvo)" = "$man/man1/zuvo.1.gz" ] &&
    [ "$(MANPATH=$man LC_ALL=C man -L en -w startzuvo)" = "$man/en/man1/startzuvo.1.gz" ]
}
# Both pages of zuvo have an entry for every command that the help lists
# and every option of the command table; the English one has its own text
# for each (zuvo_docgen marks where it took the German one).
manual_pages_know_every_command() {
  local page text warnings command option heading
  for page in man1:BEFEHLE en/man1:COMMANDS; do
    heading=${page#*:}
    page=$root/usr/share/man/${page%:*}/zuvo.1.gz
    warnings=$(man_text "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$warnings"; return 1; }
    text=$(man_text "$page" 2>/dev/null)
    grep -qx "$heading" <<<"$text" || { echo "   $page: no section $heading"; return 1; }
    for command in $("$root/usr/bin/zuvo" --help | sed -n 's/^  \([a-z][a-z-]*\)  .*/\1/p'); do
      grep -qE "^       $command( |\$)" <<<"$text" || { echo "   $page: no entry for $command"; return 1; }
      for option in $("$root/usr/bin/zuvo" "$command" --help | sed -n 's/^  \(-[a-z-]*\).*/\1/p'); do
        [ "$option" = -h ] && continue
        # An option with a short and a long name is listed as "-o, --output".
        grep -qE "^ +$option(,| |\$)" <<<"$text" || { echo "   $page: no entry for $command $option"; return 1; }
      done
    done
  done
  ! gzip -dc "$root/usr/share/man/en/man1/zuvo.1.gz" | grep 'missing text:'
}
startzuvo_pages_render() {
  local page warnings
  for page in man1 en/man1; do
    warnings=$(man_text "$root/usr/share/man/$page/startzuvo.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  done
  man_text "$root/usr/share/man/man1/startzuvo.1.gz" 2>/dev/null | grep -q '^BEZEICHNUNG$'
}
# png_size FILE: "WIDTHxHEIGHT" from the PNG header.
png_size() {
  local words
  read -r -a words < <(od -An -tu1 -j16 -N8 "$1")
  [ "${#words[@]}" -eq 8 ] || return 1
  echo "$(((words[2] << 8) | words[3]))x$(((words[6] << 8) | words[7]))"
}
# shared-mime-info reads the types; the desktop entry opens both of them;
# both name the icon, which the theme has at every size.
types_desktop_entry_and_icon() {
  local mime=$root/mime type size icons=$root/usr/share/icons/hicolor
  local desktop=$root/usr/share/applications/startzuvo.desktop
  mkdir -p "$mime/packages" && cp "$root/usr/share/mime/packages/startzuvo.xml" "$mime/packages/" &&
    update-mime-database "$mime" >/dev/null 2>&1 || return 1
  for type in application/x-kantrelwick-layout:anl application/x-kantrelwick-settings:danl; do
    grep -qx "50:${type%%:*}:\*\.${type##*:}" "$mime/globs2" || return 1
    grep -qx "${type%%:*}:startzuvo" "$mime/icons" || { echo "   ${type%%:*}: no icon"; return 1; }
    grep -q "^MimeType=.*${type%%:*};" "$desktop" || return 1
  done
  grep -qx 'Exec=startzuvo %f' "$desktop" && grep -qx 'Icon=startzuvo' "$desktop" || return 1
  grep -q '<svg ' "$icons/scalable/apps/startzuvo.svg" || return 1
  for size in "${icon_sizes[@]}"; do
    [ "$(png_size "$icons/${size}x${size}/apps/startzuvo.png")" = "${size}x${size}" ] ||
      { echo "   icon ${size}x${size}: $(png_size "$icons/${size}x${size}/apps/startzuvo.png")"; return 1; }
  done
}
desktop_entry_valid() {
  desktop-file-validate "$root/usr/share/applications/startzuvo.desktop"
}
# The metainfo, and with it the desktop entry and the icon it names.
metainfo_valid() {
  appstreamcli validate --no-net --explain "$root/usr/share/metainfo/org.example.startzuvo.metainfo.xml" &&
    appstreamcli validate-tree --no-net "$root"
}
record_check "deb contents" deb_lists_its_files
record_check "deb control fields" deb_control_fields
record_check "lintian: no error, no warning" lintian_is_clean
record_check "deb installed: zuvo --version" installed_zuvo_runs
record_check "deb installed: startzuvo finds StartZUVO.exe" launcher_finds_the_dialog
record_check "deb installed: man zuvo German, -L en English" manual_pages_found
record_check "deb installed: zuvo(1) knows every command and option" manual_pages_know_every_command
record_check "deb installed: startzuvo(1)" startzuvo_pages_render
record_check "deb installed: MIME types, desktop entry and icon" types_desktop_entry_and_icon
record_check "desktop-file-validate" desktop_entry_valid
record_check "appstreamcli validate" metainfo_valid
record_check "deb installed: bash completion" bash "$ZUVO_ROOT/scripts/check-bash-completion.sh" "$root" \
  "$ZUVO_ROOT/examples/demo"
record_check "deb installed: zsh completion" zsh "$ZUVO_ROOT/scripts/check-zsh-completion.zsh" "$root" \
  "$ZUVO_ROOT/examples/demo"
return 0
