#!/usr/bin/env bash
# Benchmark suite: polyverify on algen's multipliers for growing K.
#
#   bench/run.sh [--limit SECONDS] [--out FILE] [--build DIR] [--sizes "8 16 .."]
#                [--kinds "mastrovito montgomery karatsuba"] [--mem-limit MB] [--head]
#   bench/run.sh --plot-only [--out FILE]
#
# Builds algen and polyverify (Release) if needed, generates every case
# (each kind, each K, correct and with one fault), runs polyverify on it
# under a per-case time limit, and writes a Markdown table (default
# bench/RESULTS.md) and the plot bench/scaling.png beside it. The limit is
# CPU seconds per case (default 120); once a case of a kind times out, the
# larger sizes of that kind are marked "not run". --head measures the
# committed HEAD: it exports HEAD into a temporary directory and builds
# there, so changes in the working tree take no part. --plot-only redraws
# the plot from an existing table.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
limit=120
out=$root/bench/RESULTS.md
build=$root/build-bench
sizes="8 16 32 64 128 163 233 283 409 571 1223"
kinds="mastrovito montgomery karatsuba"
memlimit=16000
head=0
plot_only=0
command_line="bench/run.sh$(printf ' %q' "$@")"

usage() { awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"; }
while [ $# -gt 0 ]; do
  case $1 in
    --limit) limit=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --kinds) kinds=$2; shift 2 ;;
    --mem-limit) memlimit=$2; shift 2 ;;
    --head) head=1; shift ;;
    --plot-only) plot_only=1; shift ;;
    -h|--help) usage; exit 0 ;;
    *) echo "run.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
done
[[ $limit =~ ^[0-9]+$ && $limit -gt 0 ]] || { echo "run.sh: --limit needs seconds" >&2; exit 2; }
[[ $memlimit =~ ^[0-9]+$ ]] || { echo "run.sh: --mem-limit needs megabytes" >&2; exit 2; }
case $out in /*) ;; *) out=$PWD/$out ;; esac
case $build in /*) ;; *) build=$PWD/$build ;; esac

# plot_results RESULTS PNG: draws CPU seconds and peak memory against K from
# the rows of a results table (correct circuits with a time).
plot_results() {
  local table=$1 png=$2 data
  data=$(mktemp -d)
  awk -F'|' -v dir="$data" '
    /^\| [0-9]+ \|/ {
      gsub(/ /, "", $2); gsub(/ /, "", $3); gsub(/ /, "", $4); gsub(/ /, "", $9); gsub(/ /, "", $11)
      if ($4 == "0" && $9 ~ /^[0-9.]+$/) {
        if (!($3 in seen)) { seen[$3] = 1; print $3 > (dir "/kinds") }
        print $2, ($9 + 0 > 0 ? $9 : 0.001), $11 > (dir "/" $3 ".dat")
      }
    }' "$table"
  if [ ! -s "$data/kinds" ]; then
    rm -rf "$data"
    return
  fi
  local kind plots_cpu="" plots_mem="" tics
  while read -r kind; do
    plots_cpu+="${plots_cpu:+, }'$data/$kind.dat' using 1:2 with linespoints title '$kind'"
    plots_mem+="${plots_mem:+, }'$data/$kind.dat' using 1:3 with linespoints title '$kind'"
  done <"$data/kinds"
  tics=$(cat "$data"/*.dat | awk '{ print $1 }' | sort -n -u | paste -sd, -)
  gnuplot <<GP
set terminal pngcairo size 1200,520 font ",10"
set output '$png'
set multiplot layout 1,2 title "polyverify on algen multipliers (correct circuits), commit $(sed -n 's/^- Commit: \([0-9a-f]*\).*/\1/p' "$table")"
set logscale xy
set xtics ($tics) rotate by -45
set grid
set key top left Left reverse
set xlabel "K"
set ylabel "CPU seconds"
plot $plots_cpu
set ylabel "peak resident memory (MB)"
plot $plots_mem
unset multiplot
GP
  rm -rf "$data"
  echo "wrote $png" >&2
}

if [ "$plot_only" -eq 1 ]; then
  bash "$root/tools/setup.sh" gnuplot-nox
  plot_results "$out" "$(dirname "$out")/scaling.png"
  exit 0
fi

bash "$root/tools/setup.sh" gnuplot-nox time
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)
src=$root
if [ "$head" -eq 1 ]; then
  src=$scratch/src
  build=$scratch/build
  mkdir -p "$src"
  git -C "$root" archive HEAD | tar -x -C "$src"
elif [ -n "$(git -C "$root" status --porcelain -- verifier algen 2>/dev/null)" ]; then
  commit="$commit (with uncommitted changes in verifier/ or algen/)"
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target algen polyverify -j 2 >/dev/null
algen=$build/bin/algen
polyverify=$build/bin/polyverify
rows=$scratch/rows.md

# run_case KIND K BUGS: one table row; sets timed_out=1 when the limit hit.
run_case() {
  local kind=$1 k=$2 bugs=$3
  local alg=$scratch/case.alg
  local gen=(--kind "$kind" --k "$k")
  [ "$bugs" -gt 0 ] && gen+=(--bug "$bugs" --seed 1)
  "$algen" "${gen[@]}" -o "$alg"
  local stats gates vars size
  stats=$(sed -n 2p "$alg")
  gates=$(sed -E 's/^\/\/ gates: ([0-9]+).*/\1/' <<<"$stats")
  vars=$(sed -E 's/.*variables: ([0-9]+).*/\1/' <<<"$stats")
  size=$(stat -c %s "$alg")

  local status=0
  # The limit is on CPU time, so that a busy machine does not change which
  # cases finish; the wall-clock timeout only guards against a stuck run.
  (
    ulimit -v $((memlimit * 1024))
    ulimit -t "$limit"
    exec timeout $((2 * limit + 60)) /usr/bin/time -f "%e %U %S %M" -o "$scratch/time" \
      "$polyverify" "$alg" >"$scratch/out" 2>"$scratch/err"
  ) || status=$?
  local verdict cpu="" wall="" rss=""
  if [ "$status" -eq 137 ] || [ "$status" -eq 152 ]; then
    verdict="timeout (> ${limit} s CPU)"
    timed_out=1
  elif [ "$status" -eq 124 ]; then
    verdict="timeout (> $((2 * limit + 60)) s wall)"
    timed_out=1
  else
    local user=0 sys=0 rss_kb=0
    read -r wall user sys rss_kb < <(grep -E '^[0-9.]+ [0-9.]+ [0-9.]+ [0-9]+$' "$scratch/time" | tail -1) || true
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    rss=$(awk -v r="$rss_kb" 'BEGIN { printf "%.1f", r / 1024 }')
    local result
    result=$(grep -m1 '^FINAL RESULT: ' "$scratch/out" | sed 's/^FINAL RESULT: //' || true)
    if [ "$status" -ne 0 ]; then
      verdict="error (status $status)"
    elif [ "$result" = 0 ]; then
      verdict="0"
    elif [ -n "$result" ]; then
      verdict="nonzero ($(awk -F'+' '{ print NF }' <<<"$result") terms)"
    else
      verdict="no result"
    fi
    # A correct circuit must reduce to 0, a faulty one must not.
    if { [ "$bugs" -eq 0 ] && [ "$verdict" != 0 ]; } ||
       { [ "$bugs" -gt 0 ] && [[ $verdict != nonzero* ]]; }; then
      verdict="$verdict UNEXPECTED"
    fi
  fi
  printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' \
    "$k" "$kind" "$bugs" "$gates" "$vars" "$(numfmt --to=iec --suffix=B "$size")" \
    "$verdict" "${cpu:--}" "${wall:--}" "${rss:--}" >>"$rows"
  printf '%-10s K=%-4s faults=%s  %s  cpu %s s  wall %s s  rss %s MB\n' \
    "$kind" "$k" "$bugs" "$verdict" "${cpu:--}" "${wall:--}" "${rss:--}" >&2
  rm -f "$alg"
}

mkdir -p "$(dirname "$out")"
: >"$rows"
for kind in $kinds; do
  stopped=""
  for k in $sizes; do
    for bugs in 0 1; do
      if [ -n "$stopped" ]; then
        printf '| %s | %s | %s | - | - | - | not run (timeout at K=%s) | - | - | - |\n' \
          "$k" "$kind" "$bugs" "$stopped" >>"$rows"
        continue
      fi
      timed_out=0
      run_case "$kind" "$k" "$bugs"
      [ "$timed_out" -eq 1 ] && stopped=$k
    done
  done
done

cpu_model=$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //' || echo unknown)
{
  echo "# polyverify benchmark"
  echo
  echo "- Command: \`$command_line\`"
  echo "- Commit: $commit"
  echo "- Machine: $(nproc) cores, $cpu_model, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)"
  echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "- Limit per case: ${limit} s CPU, $((2 * limit + 60)) s wall clock, ${memlimit} MB address space"
  echo
  echo "Faults = injected gate faults (algen --bug 1 --seed 1); a correct circuit must give"
  echo "verdict 0, a faulty one a nonzero remainder. CPU = user + system seconds of"
  echo "polyverify; RSS = its peak resident memory."
  echo
  echo "| K | kind | faults | gates | variables | file | verdict | CPU s | wall s | RSS MB |"
  echo "|---:|---|---:|---:|---:|---:|---|---:|---:|---:|"
  cat "$rows"
  # Hand-written notes (profiles, before/after) live in NOTES.md beside it.
  if [ -f "$(dirname "$out")/NOTES.md" ]; then
    echo
    echo "Notes on these figures (before and after the reduction rework, the profile): [NOTES.md](NOTES.md)."
  fi
} >"$out"
echo "wrote $out" >&2

# Plot: CPU seconds and peak memory against K, log-log, one line per kind
# (correct circuits that finished), read back from the table.
plot_results "$out" "$(dirname "$out")/scaling.png"
