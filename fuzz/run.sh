#!/usr/bin/env bash
# Runs the fuzzers of a fuzzing build for a bounded time each and fails on
# any crash, hang, leak or sanitizer report.
#   run.sh BUILD_DIR [SECONDS] [WORK_DIR]
# SECONDS (default 60) is the time per fuzzer. WORK_DIR (default: a fresh
# temporary directory) receives the corpora and, on a failure, the input
# that caused it (crash-*, timeout-*, leak-*, oom-*); an existing WORK_DIR
# keeps its corpora, so repeated runs go on where the last one stopped.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: run.sh BUILD_DIR [SECONDS] [WORK_DIR]}
seconds=${2:-60}
work=${3:-}
if [ -z "$work" ]; then
  work=$(mktemp -d)
  keep=0
else
  mkdir -p "$work"
  keep=1
fi

bash "$root/fuzz/make_corpus.sh" "$work/seeds" >/dev/null

status=0
for target in polyverify toporder; do
  exe="$build/bin/fuzz_$target"
  if [ ! -x "$exe" ]; then
    echo "run.sh: $exe is missing (configure with clang and -DPV_FUZZ=ON)" >&2
    exit 2
  fi
  corpus="$work/corpus_$target"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -max_len=4096
           -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$work/${target}-")
  [ "$target" = polyverify ] && options+=(-dict="$root/fuzz/alg.dict")
  echo "== fuzz_$target for ${seconds}s (corpus $corpus)"
  "$exe" "${options[@]}" "$corpus" "$work/seeds/$target" >"$work/$target.log" 2>&1
  rc=$?
  grep -E '^(stat::number_of_executed_units|stat::new_units_added|#[0-9]+ +DONE)' "$work/$target.log"
  if [ $rc -ne 0 ]; then
    echo "fuzz_$target FAILED (status $rc); the end of its log:"
    tail -60 "$work/$target.log"
    ls "$work/${target}-"* 2>/dev/null
    status=1
    keep=1
  fi
done
if [ $keep -eq 0 ]; then
  rm -rf "$work"
else
  echo "work directory: $work"
fi
exit $status
