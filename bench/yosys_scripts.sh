#!/usr/bin/env bash
# Which yosys script should turn a Verilog multiplier into a gate netlist?
# Runs these scripts on GF(2^K) multipliers of examples/verilog (Karatsuba:
# gf_karatsuba.v, Mastrovito: gf_mastrovito.v), writes BLIF, converts it with
# net2alg and verifies it with polyverify:
#   opt    hierarchy; proc; flatten; opt; techmap; opt
#   clean  hierarchy; proc; flatten; techmap; opt_clean
#   fast   hierarchy; proc; flatten; opt -fast; techmap; opt -fast
#   dff    hierarchy; proc; flatten; opt_dff; techmap; opt_clean
#   hier   hierarchy; proc; opt_dff; techmap; opt_clean (one model per
#          module, flattened by net2alg's BLIF reader)
#   fine   hierarchy; proc; opt_dff; opt_expr -fine; opt_clean; techmap; opt_clean
#          (as hier, constants folded first; gfverify's default)
#   synth  synth -flatten
#
#   bench/yosys_scripts.sh [--limit SECONDS] [--build DIR] [--sizes "64 163 283 571"]
#                          [--designs "karatsuba mastrovito"] [--scripts "opt clean fast dff hier fine synth"]
#
# Prints a Markdown table on standard output: yosys CPU time (user + system)
# and peak memory, the gates net2alg converts, net2alg's and polyverify's CPU
# time and the verdict. Every run has a CPU-time limit (default 600 s) and
# an 8 GB address-space limit; a script that exceeds it at one size is not
# tried at larger sizes of the same design. Needs yosys.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
limit=600
build=$root/build-bench
sizes="64 163 283 571"
designs="karatsuba mastrovito"
scripts="opt clean fast dff hier fine synth"
while [ $# -gt 0 ]; do
  case $1 in
    --limit) limit=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --designs) designs=$2; shift 2 ;;
    --scripts) scripts=$2; shift 2 ;;
    *) echo "yosys_scripts.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
case $build in /*) ;; *) build=$PWD/$build ;; esac
command -v yosys >/dev/null || { echo "yosys_scripts.sh: yosys is not installed" >&2; exit 2; }
[ -x /usr/bin/time ] || bash "$root/tools/setup.sh" time
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target net2alg polyverify -j 2 >/dev/null
net2alg=$build/bin/net2alg
polyverify=$build/bin/polyverify
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

. "$root/bench/multipliers.sh"
poly() {
  case $1 in
    64) echo 'X^64+X^4+X^3+X+1' ;;
    163) echo 'X^163+X^7+X^6+X^3+1' ;;
    283) echo 'X^283+X^12+X^7+X^5+1' ;;
    571) echo 'X^571+X^10+X^5+X^2+1' ;;
    *) echo "yosys_scripts.sh: no field polynomial for K=$1" >&2; exit 2 ;;
  esac
}
script() {
  case $1 in
    opt) echo "hierarchy -top top; proc; flatten; opt; techmap; opt" ;;
    clean) echo "hierarchy -top top; proc; flatten; techmap; opt_clean" ;;
    fast) echo "hierarchy -top top; proc; flatten; opt -fast; techmap; opt -fast" ;;
    dff) echo "hierarchy -top top; proc; flatten; opt_dff; techmap; opt_clean" ;;
    hier) echo "hierarchy -top top; proc; opt_dff; techmap; opt_clean" ;;
    fine) echo "hierarchy -top top; proc; opt_dff; opt_expr -fine; opt_clean; techmap; opt_clean" ;;
    synth) echo "synth -flatten -top top" ;;
  esac
}

# run NAME CMD...: CPU seconds and peak RSS of CMD into $scratch/NAME.time
# ("user+sys rss_kb"); returns CMD's status (137 or 152 when killed).
run() {
  local name=$1 status=0
  shift
  (
    ulimit -t "$limit"
    ulimit -v $((8000 * 1024))
    exec /usr/bin/time -f "%U %S %M" -o "$scratch/$name.raw" "$@"
  ) || status=$?
  awk 'END { printf "%.2f %.0f\n", $1 + $2, $3 / 1024 }' "$scratch/$name.raw" >"$scratch/$name.time"
  return $status
}

echo "| design | K | script | yosys CPU s | yosys RSS MB | gates | net2alg CPU s | polyverify CPU s | verdict |"
echo "|---|---:|---|---:|---:|---:|---:|---:|---|"
for design in $designs; do
  declare -A dead=()
  for k in $sizes; do
    top=$scratch/top.v
    src=$(write_top "$design" "$k" "$top")
    for s in $scripts; do
      row="| $design | $k | $s"
      if [ -n "${dead[$s]:-}" ]; then
        echo "$row | skipped (> $limit s at K=${dead[$s]}) | | | | | |"
        continue
      fi
      blif=$scratch/net.blif
      rm -f "$blif"
      if ! run yosys yosys -q -p "read_verilog $src $top; $(script "$s"); write_blif -cname $blif" \
        >"$scratch/yosys.log" 2>&1; then
        read -r cpu rss <"$scratch/yosys.time"
        echo "$row | > $limit (stopped at $cpu) | $rss | | | | not finished |"
        dead[$s]=$k
        continue
      fi
      read -r ycpu yrss <"$scratch/yosys.time"
      verdict=error ncpu="" pcpu="" gates=""
      if run net2alg "$net2alg" --z z --a a --b b --poly "$(poly "$k")" -o "$scratch/p.alg" \
        "$blif" 2>"$scratch/net2alg.err"; then
        read -r ncpu _ <"$scratch/net2alg.time"
        gates=$(sed -nE '1s/.*: ([0-9]+) gates.*/\1/p' "$scratch/p.alg")
        if run polyverify "$polyverify" "$scratch/p.alg" >"$scratch/out" 2>/dev/null; then
          read -r pcpu _ <"$scratch/polyverify.time"
          verdict=$(grep -m1 '^FINAL RESULT: ' "$scratch/out" | sed 's/^FINAL RESULT: //' | cut -c1-40)
        else
          verdict="polyverify stopped"
        fi
      else
        verdict="net2alg: $(head -c 80 "$scratch/net2alg.err")"
      fi
      echo "$row | $ycpu | $yrss | $gates | $ncpu | $pcpu | $verdict |"
    done
  done
  unset dead
done
