#!/usr/bin/env bash
# Runs one golden case and compares it with its expected files.
#   run_case.sh PROGRAM CASE
# CASE is a path without extension. Files of a case:
#   CASE.alg | CASE.graph | CASE.in   the input, copied into a fresh directory
#   CASE.args     optional: the arguments, one per line; @INPUT@ names the input
#                 (default: the input as the only argument)
#   CASE.out      expected standard output (the figure on the time line is masked)
#   CASE.status   optional: expected exit status (default 0)
#   CASE.err      optional: expected standard error
#   CASE.order    optional: expected bytes of tmp.order ("CASE.noorder": no such file)
set -u
prog=$1
case=$2
name=$(basename "$case")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input=""
for ext in alg graph in; do
  if [ -e "$case.$ext" ]; then
    cp "$case.$ext" "$work/input.$ext"
    input="input.$ext"
    break
  fi
done

args=()
if [ -e "$case.args" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    args+=("${line//@INPUT@/$input}")
  done <"$case.args"
else
  args=("$input")
fi

(cd "$work" && exec -a "$(basename "$prog")" "$prog" "${args[@]}" >"$work/.stdout" 2>"$work/.stderr" </dev/null)
status=$?

mask() { sed -E 's/^(Total verification time is: )-?[0-9]+( ms\.)$/\1#\2/' "$1"; }
fail=0
mask "$case.out" >"$work/.want"
mask "$work/.stdout" >"$work/.got"
if ! cmp -s "$work/.want" "$work/.got"; then
  echo "$name: standard output differs (expected, then actual):"
  diff -a "$work/.want" "$work/.got" | head -40
  fail=1
fi
want_status=0
[ -e "$case.status" ] && want_status=$(tr -d ' \n' <"$case.status")
if [ "$status" != "$want_status" ]; then
  echo "$name: exit status $status, expected $want_status"
  fail=1
fi
if [ -e "$case.err" ] && ! cmp -s "$case.err" "$work/.stderr"; then
  echo "$name: standard error differs (expected, then actual):"
  diff -a "$case.err" "$work/.stderr" | head -20
  fail=1
fi
if [ -e "$case.order" ]; then
  if [ ! -e "$work/tmp.order" ]; then
    echo "$name: tmp.order was not written"
    fail=1
  elif ! cmp -s "$case.order" "$work/tmp.order"; then
    echo "$name: tmp.order differs: expected '$(cat "$case.order")', got '$(cat "$work/tmp.order")'"
    fail=1
  fi
fi
if [ -e "$case.noorder" ] && [ -e "$work/tmp.order" ]; then
  echo "$name: tmp.order was written but should not be"
  fail=1
fi
exit $fail
