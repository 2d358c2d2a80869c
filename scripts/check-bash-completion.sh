#!/usr/bin/env bash
# Works the bash completion of zuvo as bash does when Tab is pressed: loads
# bash-completion and the installed script, sets COMP_WORDS, COMP_CWORD,
# COMP_LINE and COMP_POINT for a command line and calls the function that
# "complete -p zuvo" names. Each case names the words typed (the last one is
# being completed) and the completions expected, in order.
#
# Usage: check-completion.sh ROOT DEMO
#   ROOT  a root with the package unpacked (ROOT/usr/bin/zuvo and
#         ROOT/usr/share/bash-completion/completions/zuvo)
#   DEMO  an installation with the layout Anlagen/Demo.anl (examples/demo)
set -u
root=$1 demo=$2
# shellcheck disable=SC1091
. /usr/share/bash-completion/bash_completion || exit 1
# shellcheck disable=SC1091
. "$root/usr/share/bash-completion/completions/zuvo" || exit 1
function=$(complete -p zuvo 2>/dev/null | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
[ -n "$function" ] || { echo "   completion: nothing completes zuvo"; exit 1; }
zuvo=$root/usr/bin/zuvo
layout=$demo/Anlagen/Demo.anl
failed=0

# expect "WORD WORD ... CURRENT" EXPECTED...
expect() {
  local line=$1
  shift
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$zuvo
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  "$function" zuvo "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got expected
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
  expected=$(printf '%s\n' "$@" | sort)
  if [ "$got" != "$expected" ]; then
    echo "   completion of \"$line\": got [${COMPREPLY[*]}], expected [$*]"
    failed=1
  fi
}

expect "zuvo st" start standard
expect "zuvo --h" --help --host
expect "zuvo --host $demo/Pre" "$demo/Prellbock"
expect "zuvo start --ca" --camera-set --catenary
expect "zuvo remove-missing " rolling-stock gbos real-estate
expect "zuvo remove-missing gbos $demo/Anlagen/De" "$demo/Anlagen/Demo.anl" "$demo/Anlagen/Demo.danl"
expect "zuvo --host $demo start $layout --camera-set " Bahnhof Berg
expect "zuvo --host $demo start $layout --buffer-stop=" Holz.mod Rot.mod
expect "zuvo delete-camera-set --host $demo $layout B" Bahnhof Berg
expect "zuvo --yes map $layout -o $demo/Anlagen/Demo_F" "$demo/Anlagen/Demo_Farbe.bmp"
exit "$failed"
