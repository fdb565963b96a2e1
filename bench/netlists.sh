#!/usr/bin/env bash
# Benchmark of net2alg's simplification: multipliers written with
# data-dependent multiplexers (examples/verilog/gf_mux_mult.v), taken from
# yosys with "hierarchy; proc; flatten; techmap; opt_clean" (no opt, no ABC),
# converted with and without simplification and verified.
#
#   bench/netlists.sh [--limit SECONDS] [--mem-limit MB] [--build DIR] [--sizes "64 128"]
#
# Builds net2alg and polyverify (Release) if needed and prints a Markdown
# table on standard output: gates, net2alg's CPU time and peak memory,
# polyverify's verdict, CPU time, wall time and peak memory. Each polyverify
# run has a CPU-time limit (default 120 s) and an address-space limit
# (default 16000 MB). Needs yosys.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
limit=120
memlimit=16000
build=$root/build-bench
sizes="64 128"
while [ $# -gt 0 ]; do
  case $1 in
    --limit) limit=$2; shift 2 ;;
    --mem-limit) memlimit=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    *) echo "netlists.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
case $build in /*) ;; *) build=$PWD/$build ;; esac
command -v yosys >/dev/null || { echo "netlists.sh: yosys is not installed" >&2; exit 2; }
bash "$root/tools/setup.sh" time
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target net2alg polyverify -j 2 >/dev/null
net2alg=$build/bin/net2alg
polyverify=$build/bin/polyverify
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

poly() {
  case $1 in
    16) echo 'X^16+X^5+X^3+X+1' ;;
    64) echo 'X^64+X^4+X^3+X+1' ;;
    128) echo 'X^128+X^7+X^2+X+1' ;;
    *) echo "netlists.sh: no field polynomial for K=$1" >&2; exit 2 ;;
  esac
}

echo "| design | K | net2alg | gates | net2alg CPU s | net2alg RSS MB | verdict | CPU s | wall s | RSS MB |"
echo "|---|---:|---|---:|---:|---:|---|---:|---:|---:|"
for design in mux_mult shift_add_mult; do
  for k in $sizes; do
    top=gf${k}_$design
    yosys -q -p "read_verilog $root/examples/verilog/gf_mux_mult.v; hierarchy -top $top; proc;
                 flatten; techmap; opt_clean; write_blif $scratch/$top.blif"
    for mode in default --no-simplify; do
      flags=()
      [ "$mode" = default ] || flags=("$mode")
      /usr/bin/time -f "%U %S %M" -o "$scratch/ntime" "$net2alg" "${flags[@]}" --z z --a a \
        --b b --poly "$(poly "$k")" -o "$scratch/p.alg" "$scratch/$top.blif" 2>/dev/null
      read -r nu ns nm <"$scratch/ntime"
      gates=$(sed -nE '1s/.*: ([0-9]+) gates.*/\1/p' "$scratch/p.alg")
      status=0
      (
        ulimit -v $((memlimit * 1024))
        ulimit -t "$limit"
        exec /usr/bin/time -f "%e %U %S %M" -o "$scratch/time" "$polyverify" "$scratch/p.alg" \
          >"$scratch/out" 2>/dev/null
      ) || status=$?
      wall=0 user=0 sys=0 rss=0
      read -r wall user sys rss < <(grep -E '^[0-9.]+ [0-9.]+ [0-9.]+ [0-9]+$' "$scratch/time" | tail -1) || true
      if [ "$status" -eq 137 ] || [ "$status" -eq 152 ]; then
        verdict="timeout (> $limit s CPU)"
      elif [ "$status" -ne 0 ]; then
        verdict="error (status $status)"
      else
        verdict=$(grep -m1 '^FINAL RESULT: ' "$scratch/out" | sed 's/^FINAL RESULT: //')
      fi
      awk -v d="$design" -v k="$k" -v m="$mode" -v g="$gates" -v nu="$nu" -v ns="$ns" \
        -v nm="$nm" -v v="$verdict" -v u="$user" -v s="$sys" -v w="$wall" -v r="$rss" \
        'BEGIN { printf "| %s | %s | %s | %s | %.2f | %.1f | %s | %.2f | %.2f | %.1f |\n",
                 d, k, m, g, nu + ns, nm / 1024, v, u + s, w, r / 1024 }'
    done
  done
done
