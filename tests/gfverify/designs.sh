#!/usr/bin/env bash
# gfverify on the example designs of examples/verilog, one row of designs.tsv
# each (tab-separated: name, files, top module, options, verdict, message).
# A row passes when gfverify's exit status matches the verdict (0 PASS,
# 1 FAIL, 2 UNKNOWN, 3 refused) and, except for refused rows, its first line
# starts with the verdict; a refused row's standard error must contain the
# message, when one is given. For a FAIL row the witness testbench
# (--testbench) is compiled with the design's own RTL by Icarus Verilog and
# must print a MISMATCH line: the fault is real outside our tools.
#   designs.sh GFVERIFY SOURCE_DIR [NAME...]   (names: only those rows)
# Exits with 77 (skipped) when yosys or iverilog is not installed or the
# gfverify program does not exist.
set -uo pipefail
[ -x "$1" ] || { echo "no gfverify program at '$1': skipped"; exit 77; }
gfverify=$(realpath "$1")
src=$(realpath "$2")
table=$(dirname "$(realpath "$0")")/designs.tsv
shift 2
for tool in yosys iverilog vvp; do
  command -v $tool >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail=0
while IFS=$'\t' read -r name files top options verdict message; do
  case $name in '#'* | '') continue ;; esac
  [ $# -gt 0 ] && [[ " $* " != *" $name "* ]] && continue
  srcs=()
  for f in $files; do srcs+=("$src/examples/verilog/$f"); done
  eval "opts=($options)"
  "$gfverify" "${srcs[@]}" --top "$top" "${opts[@]}" >"$name.out" 2>"$name.err"
  status=$?
  case $verdict in PASS) want=0 ;; FAIL) want=1 ;; UNKNOWN) want=2 ;; refused) want=3 ;; esac
  first=$(head -n 1 "$name.out")
  bad=""
  [ "$status" = "$want" ] || bad="exit status $status, expected $want;"
  if [ "$verdict" = refused ]; then
    [ -z "$message" ] || grep -qF -- "$message" "$name.err" || bad+=" no message with '$message';"
  elif [ "${first%% *}" != "$verdict" ]; then
    bad+=" first line '$first';"
  fi
  if [ "$verdict" = FAIL ] && [ -z "$bad" ]; then
    "$gfverify" "${srcs[@]}" --top "$top" "${opts[@]}" --testbench "$name.tb.v" \
      >/dev/null 2>"$name.tb.err"
    status=$?
    [ "$status" = 1 ] && [ -s "$name.tb.v" ] ||
      bad+=" --testbench: exit status $status, $(head -c 200 "$name.tb.err");"
    if [ -z "$bad" ]; then
      if ! iverilog -g2005 -o "$name.vvp" "$name.tb.v" "${srcs[@]}" 2>"$name.iv.err"; then
        bad+=" iverilog: $(head -c 300 "$name.iv.err");"
      elif ! timeout 60 vvp -n "$name.vvp" | grep -q MISMATCH; then
        bad+=" the testbench shows no MISMATCH;"
      fi
    fi
  fi
  if [ -n "$bad" ]; then
    echo "FAIL $name ($top):$bad"
    head -n 5 "$name.out" "$name.err" | cut -c1-200 | sed 's/^/  /'
    fail=1
  else
    echo "ok $name: ${first:-$(head -n 1 "$name.err")}"
  fi
done <"$table"
exit $fail
