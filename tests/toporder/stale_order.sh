#!/usr/bin/env bash
# tmp.order from an earlier run: a wrong command line leaves it alone, any
# later failure empties it, so a failed run never leaves a stale order.
#   stale_order.sh PROGRAM
. "$(dirname "$0")/../lib.sh"
prog=$1
cd "$work" || exit 1

printf 'old' >tmp.order
expect 1 "Usage: toporder graph_file" "$prog"
[ "$(cat tmp.order)" = old ] || fail "no argument: tmp.order was touched"

expect 1 "toporder: nosuch.graph: cannot open for reading" "$prog" nosuch.graph
[ -e tmp.order ] && [ ! -s tmp.order ] || fail "missing file: tmp.order not emptied"

printf 'old' >tmp.order
printf '2 1\n1 2\nA\n' >short.graph
expect 1 "toporder: short.graph: file ends with 1 of 2 names missing" "$prog" short.graph
[ -e tmp.order ] && [ ! -s tmp.order ] || fail "missing name: tmp.order not emptied"
finish
