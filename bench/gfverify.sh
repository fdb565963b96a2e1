#!/usr/bin/env bash
# gfverify on Verilog GF(2^K) multipliers of examples/verilog (Karatsuba:
# gf_karatsuba.v's gf_kara_mult, Mastrovito: gf_mastrovito.v), one command
# each from Verilog to PASS, with the default yosys script and --poly auto.
#   bench/gfverify.sh [--build DIR] [--sizes "163 571"] [--designs "karatsuba mastrovito"]
# Prints a Markdown table: the verdict, wall-clock seconds of the run, of
# yosys and of our part (translation and verification) with their CPU seconds,
# the gates translated, and the peak resident memory of gfverify. Needs yosys.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
sizes="163 571"
designs="karatsuba mastrovito"
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --designs) designs=$2; shift 2 ;;
    *) echo "gfverify.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
command -v yosys >/dev/null || { echo "gfverify.sh: yosys is not installed" >&2; exit 2; }
[ -x /usr/bin/time ] || bash "$root/tools/setup.sh" time
cmake --build "$build" --target gfverify -j 2 >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

. "$root/bench/multipliers.sh"

echo "| design | K | verdict | total s | yosys s (CPU s) | ours s (CPU s) | gates | peak RSS MB |"
echo "|---|---:|---|---:|---:|---:|---:|---:|"
for design in $designs; do
  for k in $sizes; do
    src=$(write_top "$design" "$k" "$scratch/top.v")
    /usr/bin/time -f "%M" -o "$scratch/rss" "$build/bin/gfverify" "$scratch/top.v" "$src" \
      --top top >"$scratch/out" 2>&1 || true
    first=$(head -n 1 "$scratch/out")
    times=$(grep -m1 '^  time: ' "$scratch/out" || true)
    yosys_s=$(sed -nE 's/^  time: yosys ([0-9.]+) s.*/\1/p' <<<"$times")
    ours=$(sed -nE 's/.*translation ([0-9.]+) s, verification ([0-9.]+) s.*/\1 \2/p' <<<"$times")
    ours_s=$(awk '{ printf "%.2f", $1 + $2 }' <<<"${ours:-0 0}")
    cpu=$(sed -nE 's/.*, translation and verification ([0-9.]+) s$/\1/p' <<<"$times")
    ycpu=$(sed -nE 's/.*CPU: yosys ([0-9.]+) s.*/\1/p' <<<"$times")
    gates=$(sed -nE 's/^  netlist: ([0-9]+) gates.*/\1/p' "$scratch/out")
    total=$(sed -nE 's/.*, ([0-9.]+) s$/\1/p' <<<"$first")
    echo "| $design | $k | ${first%% *} | $total | $yosys_s ($ycpu) | $ours_s ($cpu) | $gates | $(( $(cat "$scratch/rss") / 1024 )) |"
  done
done
