#!/usr/bin/env bash
# tmp.order from an earlier run: a wrong command line leaves it alone, any
# later failure empties it, so a failed run never leaves a stale order.
#   stale_order.sh PROGRAM
set -u
prog=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail=0

printf 'old' >tmp.order
"$prog" 2>/dev/null && { echo "no argument: exit status 0"; fail=1; }
[ "$(cat tmp.order)" = old ] || { echo "no argument: tmp.order was touched"; fail=1; }

"$prog" nosuch.graph 2>/dev/null && { echo "missing file: exit status 0"; fail=1; }
[ -e tmp.order ] && [ ! -s tmp.order ] || { echo "missing file: tmp.order not emptied"; fail=1; }

printf 'old' >tmp.order
printf '2 1\n1 2\nA\n' >short.graph
"$prog" short.graph >/dev/null 2>&1 && { echo "missing name: exit status 0"; fail=1; }
[ -e tmp.order ] && [ ! -s tmp.order ] || { echo "missing name: tmp.order not emptied"; fail=1; }
exit $fail
