#!/usr/bin/env bash
# Long runs: --progress writes progress lines on standard error and leaves
# standard output as it is; --max-memory ends an exploding reduction with
# status 3 and one message that says where and what to do; running out of
# memory under --progress adds the same detail after the usual line; a bad
# option is a usage error.
#   long_runs.sh POLYVERIFY EXAMPLES_DIR [sanitized]
. "$(dirname "$0")/../lib.sh"
polyverify=$1
examples=$2
sanitized=${3:-}
mask() { sed -E 's/^(Total verification time is: )[0-9]+/\1#/' "$1"; }

# A correct small problem, then one whose remainder has 2^40 terms.
{ cat "$examples/mult4.alg"; explode; } >"$work/explode.alg"
cat "$examples/mult4.alg" "$examples/mult4_bug.alg" >"$work/two.alg"

# Progress: standard output byte for byte as without the option.
"$polyverify" "$work/two.alg" >"$work/plain.out" 2>"$work/plain.err"
"$polyverify" --progress "$work/two.alg" >"$work/progress.out" 2>"$work/progress.err"
status=$?
[ "$status" = 0 ] || fail "--progress: status $status"
cmp -s <(mask "$work/plain.out") <(mask "$work/progress.out") ||
  fail "--progress changed standard output: $(diff <(mask "$work/plain.out") <(mask "$work/progress.out"))"
[ ! -s "$work/plain.err" ] || fail "standard error without --progress: $(cat "$work/plain.err")"
line='^polyverify: problem [0-9]+, generator [0-9]+/[0-9]+, leading variable [A-Za-z0-9_]+, [0-9]+ terms, [0-9]+\.[0-9] MB resident$'
grep -Eq "$line" "$work/progress.err" && ! grep -Evq "$line" "$work/progress.err" ||
  fail "--progress: standard error '$(head -c 300 "$work/progress.err")'"
# At most one line a second: these runs take milliseconds.
[ "$(wc -l <"$work/progress.err")" = 1 ] || fail "--progress: more than one line in a short run"

# The budget: the first result stands, then one message and status 3.
"$polyverify" --max-memory 200M "$work/explode.alg" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 3 ] || fail "--max-memory: status $status, expected 3"
[ "$(cat "$work/out")" = "$(printf 'FINAL RESULT: 0\n')" ] ||
  fail "--max-memory: standard output '$(head -c 300 "$work/out")'"
[ "$(wc -l <"$work/err")" = 1 ] &&
  grep -Eq '^polyverify: problem 2, generator [0-9]+/41, leading variable x[0-9]+, [0-9]+ terms: [0-9.]+ MB resident, over the memory budget of 200\.0 MB; optimise the netlist .* check the variable order' "$work/err" ||
  fail "--max-memory: standard error '$(head -c 400 "$work/err")'"

# Out of memory under --progress: the usual first line, then the detail.
# (The sanitizers' runtimes cannot run under a limited address space.)
if [ "$sanitized" != sanitized ]; then
  (ulimit -v 262144 && exec "$polyverify" --progress "$work/explode.alg") >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" = 3 ] || fail "out of memory: status $status, expected 3"
  grep -v ' MB resident$' "$work/err" >"$work/err.end"
  [ "$(head -n 1 "$work/err.end")" = "polyverify: out of memory" ] &&
    grep -Eq '^polyverify: problem 2, generator [0-9]+/41, leading variable x[0-9]+, [0-9]+ terms; optimise the netlist' <(sed -n 2p "$work/err.end") ||
    fail "out of memory: standard error '$(head -c 400 "$work/err")'"
fi

# Command lines with options; without options, the usage line stays as it was.
expect_usage() {
  local want=$1
  shift
  "$polyverify" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  [ "$status" = 1 ] && [ "$(head -n 1 "$work/err")" = "$want" ] && [ ! -s "$work/out" ] ||
    fail "polyverify $*: status $status, '$(head -n 1 "$work/err")'"
}
expect_usage "polyverify: unknown option '--quick'" --quick "$work/two.alg"
expect_usage "polyverify: --max-memory: '4X' is not a size, such as 4G or 512M" --max-memory 4X "$work/two.alg"
expect_usage "polyverify: no input file" --progress --max-memory=1G
expect_usage "polyverify: more than one input file" --progress a.alg b.alg
"$polyverify" "$work/two.alg" "$work/two.alg" >"$work/out" 2>&1
[ "$(cat "$work/out")" = "Usage: $polyverify input.alg" ] || fail "plain usage line: $(cat "$work/out")"
"$polyverify" --max-memory=1g --progress "$work/two.alg" >"$work/out" 2>/dev/null ||
  fail "--max-memory=1g --progress: status $?"

finish
