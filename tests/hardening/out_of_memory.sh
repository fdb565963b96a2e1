#!/usr/bin/env bash
# Running out of memory ends a run with one line on standard error and a
# fixed status, never with a crash: polyverify prints "polyverify: out of
# memory" and exits with 3 (the results printed before stand, no time line
# follows); toporder reports the graph as too large and exits with 1.
# The address space is limited with ulimit -v, which the sanitizers'
# runtimes cannot run under: in a sanitizer build the test is skipped.
#   out_of_memory.sh POLYVERIFY TOPORDER [sanitized]
. "$(dirname "$0")/../lib.sh"
polyverify=$1
toporder=$2
if [ "${3:-}" = sanitized ]; then
  echo "skipped: a sanitizer build cannot run under ulimit -v"
  exit 77
fi
limit_kb=262144

# A correct small problem, then one whose remainder has 2^40 terms:
# z = x0*x1*...*x39 with every x_i = a_i + b_i.
{ printf 'z, a, b;\na, b;\nX^2 + X + 1;\nz + (X + 1)*a*b;\nz + (X + 1)*a*b, a + b + 1;\n'; explode; } >"$work/explode.alg"

(ulimit -v $limit_kb && exec "$polyverify" "$work/explode.alg") >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 3 ] || fail "polyverify: status $status, expected 3"
[ "$(cat "$work/out")" = "FINAL RESULT: 0" ] ||
  fail "polyverify: standard output '$(head -c 300 "$work/out")', expected the first result only"
[ "$(cat "$work/err")" = "polyverify: out of memory" ] ||
  fail "polyverify: standard error '$(head -c 300 "$work/err")'"

# A vertex count whose vertex table alone needs tens of gigabytes.
printf '2000000000 0\n' >"$work/huge.graph"
(cd "$work" && ulimit -v $limit_kb && exec "$toporder" huge.graph) >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 1 ] || fail "toporder: status $status, expected 1"
[ "$(cat "$work/err")" = "toporder: huge.graph: not enough memory for this graph" ] ||
  fail "toporder: standard error '$(head -c 300 "$work/err")'"

finish
