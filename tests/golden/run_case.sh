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
. "$(dirname "$0")/../lib.sh"
prog=$1
case=$2
name=$(basename "$case")

input=""
for ext in alg graph in; do
  [ -e "$case.$ext" ] && { cp "$case.$ext" "$work/input.$ext" && input="input.$ext"; break; }
done
args=("$input")
if [ -e "$case.args" ]; then
  args=()
  while IFS= read -r line || [ -n "$line" ]; do
    args+=("${line//@INPUT@/$input}")
  done <"$case.args"
fi

(cd "$work" && exec -a "$(basename "$prog")" "$prog" "${args[@]}" >"$work/.stdout" 2>"$work/.stderr" </dev/null)
status=$?

# same WANT GOT WHAT LINES: a failure, with the first LINES of the difference.
same() {
  cmp -s "$1" "$2" && return
  fail "$name: $3 differs (expected, then actual):"
  diff -a "$1" "$2" | head -"$4"
}
mask() { sed -E 's/^(Total verification time is: )-?[0-9]+( ms\.)$/\1#\2/' "$1"; }
mask "$case.out" >"$work/.want"
mask "$work/.stdout" >"$work/.got"
same "$work/.want" "$work/.got" "standard output" 40
want_status=0
[ -e "$case.status" ] && want_status=$(tr -d ' \n' <"$case.status")
[ "$status" = "$want_status" ] || fail "$name: exit status $status, expected $want_status"
[ -e "$case.err" ] && same "$case.err" "$work/.stderr" "standard error" 20
if [ -e "$case.order" ]; then
  [ -e "$work/tmp.order" ] && same "$case.order" "$work/tmp.order" tmp.order 5 ||
    fail "$name: tmp.order was not written"
fi
[ -e "$case.noorder" ] && [ -e "$work/tmp.order" ] && fail "$name: tmp.order was written but should not be"
finish
