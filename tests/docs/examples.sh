#!/usr/bin/env bash
# The examples of a documentation file, run as written. In a fenced block a
# line "$ COMMAND" is a command ("> MORE" lines continue it) and the lines up
# to the next command or the end of the block are what it prints (standard
# output and standard error; polyverify's time figure and gfverify's
# seconds are masked). The
# commands of a file run in order, in one shell, in a scratch directory
# where examples/ and tests/ are the repository's. From a command that needs
# yosys (gfverify runs it), berkeley-abc or iverilog when it is absent, the
# rest of the file is skipped
# (status 77 when nothing failed).
#   examples.sh BIN_DIR SOURCE_DIR FILE.md
. "$(dirname "$0")/../lib.sh"
export PATH=$1:$PATH
_root=$2
_doc=$3
mkdir "$work/run" && ln -s "$_root/examples" "$_root/tests" "$work/run/" && cd "$work/run" || exit 1

_mask() {
  sed -E -e 's/^(Total verification time is: )[0-9]+( ms\.)$/\1#\2/' -e 's/[0-9]+\.[0-9]+ s\b/#.## s/g'
}
_cmd="" _want="" _skip="" _ran=0

# Runs the command read last, if any, and compares what it prints.
_flush() {
  [ -n "$_cmd" ] && [ -z "$_skip" ] || { _cmd="" _want=""; return; }
  for _tool in yosys berkeley-abc iverilog; do
    if [[ $_cmd == *"$_tool "* || ($_tool == yosys && $_cmd == *"gfverify "*) ]] &&
      ! command -v "$_tool" >/dev/null; then
      _skip=$_tool
      _cmd="" _want=""
      return
    fi
  done
  eval "$_cmd" >"$work/got" 2>&1 </dev/null
  _ran=$((_ran + 1))
  if [ "$(_mask <"$work/got")" != "$(printf '%s' "$_want" | _mask)" ]; then
    fail "$_doc: \$ $_cmd"
    printf '%s' "$_want" | _mask | diff - <(_mask <"$work/got") | head -20
  fi
  _cmd="" _want=""
}

_fence=0 _cont=0
while IFS= read -r _line || [ -n "$_line" ]; do
  if [[ $_line == '```'* ]]; then
    _flush
    _fence=$((1 - _fence))
  elif [ "$_fence" = 1 ] && [[ $_line == '$ '* ]]; then
    _flush
    _cmd=${_line#'$ '} _cont=1
  elif [ "$_fence" = 1 ] && [ "$_cont" = 1 ] && [[ $_line == '> '* ]]; then
    _cmd+=$'\n'${_line#'> '}
  elif [ "$_fence" = 1 ] && [ -n "$_cmd" ]; then
    _want+=$_line$'\n' _cont=0
  fi
done <"$_root/$_doc"
echo "$_ran commands run"
if [ -n "$_skip" ] && [ "$failures" = 0 ]; then
  echo "skipped from the first command that needs $_skip: it is not installed"
  exit 77
fi
finish
