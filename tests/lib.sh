# Shared by the script tests; source it first:  . "$(dirname "$0")/../lib.sh"
#   $work          a scratch directory, removed at exit
#   fail MSG       reports a failure and counts it; finish ends the script
#                  with status 1 if any was counted, 0 otherwise
#   need TOOL      ends the script with status 77 (CTest: skipped) when TOOL
#                  is not installed
#   expect STATUS LINE PROG ARGS...   runs PROG (standard output to
#                  $work/out, standard error to $work/err) and checks its exit
#                  status and that standard error is exactly LINE ("" for none)
#   explode        prints a problem whose specification reduces to 2^40
#                  terms: x0*...*x39 with x_i = a_i + b_i
#   result FILE    the "FINAL RESULT: " line that polyverify ($polyverify)
#                  prints for FILE, or a note on what went wrong
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

finish() {
  echo "$failures failed"
  [ "$failures" -eq 0 ]
  exit
}

need() {
  command -v "$1" >/dev/null && return
  echo "skipped: $1 is not installed (make setup-test installs it)"
  exit 77
}

expect() {
  local want_status=$1 want=$2 status
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" = "$want_status" ] || fail "$*: exit status $status, expected $want_status"
  [ "$(cat "$work/err")" = "$want" ] || fail "$*: standard error '$(head -c 300 "$work/err")', expected '$want'"
}

result() {
  local out status
  out=$("$polyverify" "$1" 2>&1)
  status=$?
  [ "$status" = 0 ] || { echo "polyverify status $status: ${out:0:200}"; return; }
  grep -m1 '^FINAL RESULT: ' <<<"$out" || echo "no result: ${out:0:200}"
}

explode() {
  awk 'BEGIN {
    n = 40
    printf "z"
    for (i = 0; i < n; i++) printf ", x%d", i
    for (i = 0; i < n; i++) printf ", a%d, b%d", i, i
    printf ";\na0;\nX^2 + X + 1;\nz;\nz + x0"
    for (i = 1; i < n; i++) printf "*x%d", i
    for (i = 0; i < n; i++) printf ",\nx%d + a%d + b%d", i, i, i
    printf ";\n"
  }'
}
