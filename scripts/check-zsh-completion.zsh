#!/usr/bin/env zsh
# Works the zsh completion of zuvo at a real zsh prompt: starts an
# interactive zsh in a pseudo-terminal with compinit and the installed
# _zuvo, types each command line with Tab twice (the second lists what the
# first could not decide) and reads the screen until every
# completion expected is shown (at most 10 seconds a line). Each line is
# typed only once zsh shows its prompt again: typed ahead while zsh still
# handles the Ctrl-C of the line before, it may be thrown away.
#
# Usage: check-zsh-completion.zsh ROOT DEMO
#   ROOT  a root with the package unpacked (ROOT/usr/bin/zuvo and
#         ROOT/usr/share/zsh/vendor-completions/_zuvo)
#   DEMO  an installation with the layout Anlagen/Demo.anl (examples/demo)
emulate -L zsh
zmodload zsh/zpty || exit 1
root=$1 demo=$2 layout=$2/Anlagen/Demo.anl
home=$(mktemp -d) || exit 1
zpty -b z env -i HOME=$home TERM=dumb PATH=$root/usr/bin:/usr/bin:/bin zsh -f -i || exit 1
# The prompt is drawn as "ready> "; the echo of the line that sets it
# reads "rea%{%}dy> ", so only a drawn prompt matches. Without bracketed
# paste nothing follows the prompt: a fresh one ends what zsh printed.
zpty -w z "stty columns 300; fpath=($root/usr/share/zsh/vendor-completions \$fpath); autoload -Uz compinit; compinit -u -d $home/dump; unset zle_bracketed_paste; PS1='rea%{%}dy> '"
failed=0

# await_prompt: reads until zsh draws its prompt (at most 10 seconds).
await_prompt() {
  local seen chunk i
  for ((i = 0; i < 100; i++)); do
    while zpty -r -t z chunk; do seen+=$chunk; done
    [[ $seen == *'ready> ' ]] && return 0
    sleep 0.1
  done
  return 1
}

# expect LINE EXPECTED...: typing LINE and Tab shows every EXPECTED.
expect() {
  local line=$1 screen chunk word missing
  shift
  zpty -w -n z "$line"$'\t\t'
  for ((i = 0; i < 100; i++)); do
    while zpty -r -t z chunk; do screen+=$chunk; done
    missing=()
    for word in "$@"; do [[ $screen == *$word* ]] || missing+=($word); done
    (( $#missing )) || break
    sleep 0.1
  done
  if (( $#missing )); then
    print -r -- "   zsh completion of \"$line\": no ${(j:, :)missing}"
    failed=1
  fi
  zpty -w -n z $'\C-c'
  await_prompt
}

await_prompt || { print -r -- "   zsh shows no prompt after compinit"; exit 1; }
expect "zuvo sta" standard start
expect "zuvo start --ca" --camera-set --catenary
expect "zuvo remove-missing " rolling-stock gbos real-estate
expect "zuvo --host $demo start $layout --camera-set " Bahnhof Berg
expect "zuvo --host $demo start $layout --buffer-stop " Holz.mod Rot.mod
expect "zuvo show $demo/Anlagen/" Demo.anl Demo.danl
zpty -d z
rm -rf $home
exit $failed
