#!/usr/bin/env bash
# Witness benchmark: polyverify --witness on algen's faulty multipliers.
#
#   bench/witness.sh [--sizes "8 16 .."] [--kinds "mastrovito .."] [--faults "1 2 3"]
#                    [--seeds N] [--build DIR] [--out FILE]
#
# For every kind, K and fault count, N circuits (seeds 1..N) are generated
# and measured with build/bin/witness_bench (the verification with the
# witness hook, timed apart; every suspect kept). The table goes into FILE
# (default bench/RESULTS.md) between the witness markers, replacing the
# previous one; the rest of the file is left alone.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sizes="8 16 32 64 128 163 233 283 409 571"
kinds="mastrovito montgomery karatsuba"
faults="1 2 3"
seeds=3
build=$root/build
out=$root/bench/RESULTS.md
command_line="bench/witness.sh$(printf ' %q' "$@")"
while [ $# -gt 0 ]; do
  case $1 in
    --sizes) sizes=$2; shift 2 ;;
    --kinds) kinds=$2; shift 2 ;;
    --faults) faults=$2; shift 2 ;;
    --seeds) seeds=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "witness.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target algen polyverify witness_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line per case: kind K faults witness in_list suspects witness_ms verify_ms
for kind in $kinds; do
  for k in $sizes; do
    for f in $faults; do
      for s in $(seq 1 "$seeds"); do
        "$build/bin/algen" --kind "$kind" --k "$k" --bug "$f" --seed "$s" -o "$work/p.alg"
        gate=$(sed -n 's|^// fault: \([^ ]*\) .*|\1|p' "$work/p.alg" | head -1)
        "$build/bin/witness_bench" "$work/p.alg" >"$work/out" || true
        awk -v kind="$kind" -v k="$k" -v f="$f" -v gate="$gate" '
          /^BENCH witness=/ {
            split($2, w, "="); split($3, n, "="); split($4, t, "=")
            list = substr($5, 6); found = ("," list ",") ~ ("," gate ",")
            wit = w[2]; sus = n[2]; ms = t[2]
          }
          /^BENCH total_ms=/ { split($2, t, "="); total = t[2] }
          END { printf "%s %s %s %s %d %s %s %.1f\n", kind, k, f, wit + 0, found, sus + 0, ms + 0, total - ms }
        ' "$work/out" >>"$work/cases"
      done
    done
  done
done

# Correct circuits under orders that stop the reduction early: the variable
# list fully shuffled, or one input bit moved to the top. None may get a
# WITNESS line.
reorder() { # FILE MODE SEED
  awk -v mode="$2" -v seed="$3" '
    !done && !/^\/\// {
      sub(/;$/, ""); n = split($0, v, ", "); srand(seed)
      if (mode == "shuffle")
        for (i = n; i > 1; i--) { j = int(rand() * i) + 1; t = v[i]; v[i] = v[j]; v[j] = t }
      else
        for (i = n; i > 2; i--) if (v[i] ~ /^a[0-9]+$/) { t = v[i]; for (j = i; j > 2; j--) v[j] = v[j - 1]; v[2] = t; break }
      printf "%s", v[1]; for (i = 2; i <= n; i++) printf ", %s", v[i]
      print ";"; done = 1; next
    }
    { print }' "$1"
}
for kind in $kinds; do
  for k in $sizes; do
    "$build/bin/algen" --kind "$kind" --k "$k" -o "$work/c.alg"
    for mode in shuffle input; do
      reorder "$work/c.alg" "$mode" "$k" >"$work/r.alg"
      "$build/bin/polyverify" -w "$work/r.alg" >"$work/r.out" 2>"$work/r.err" || true
      printf '%s %s %s %d %d %d\n' "$kind" "$k" "$mode" \
        "$(grep -c '^WITNESS:' "$work/r.out")" "$(grep -c '^NO WITNESS:' "$work/r.out")" \
        "$(grep -c '^Warning: the remainder still holds circuit variables' "$work/r.err")" >>"$work/correct"
    done
  done
done

table=$work/table
{
  echo "<!-- witness -->"
  echo "## Witness and suspects (polyverify --witness)"
  echo
  echo "- Command: \`$command_line\`"
  echo "- Commit: $(git -C "$root" rev-parse --short HEAD)"
  echo "- Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -1)"
  echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo
  echo "$seeds circuits (algen seeds 1..$seeds) per kind, K and fault count. Witness = a"
  echo "confirmed WITNESS line; injected = for one fault, the gate algen corrupted is among"
  echo "the suspects; suspects = length of the whole list (polyverify names the first 50);"
  echo "witness ms = processor time of the witness search and the suspects; verify ms = the"
  echo "rest of the run (parsing and reduction); cost = witness ms / verify ms, worst case."
  echo
  echo "| kind | K | faults | witness | injected | suspects median | suspects max | witness ms (max) | verify ms (max) | cost |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
  sort -k1,1 -k2,2n -k3,3n "$work/cases" | awk '
    function flush() {
      if (n == 0) return
      for (i = 2; i <= n; i++)  # insertion sort: a few cases per row
        for (j = i; j > 1 && sus[j - 1] > sus[j]; j--) { t = sus[j]; sus[j] = sus[j - 1]; sus[j - 1] = t }
      med = (n % 2) ? sus[(n + 1) / 2] : (sus[n / 2] + sus[n / 2 + 1]) / 2
      inj = (f == 1) ? sprintf("%d/%d", injected, n) : "-"
      printf "| %s | %s | %s | %d/%d | %s | %s | %d | %.0f | %.0f | %.0f%% |\n", kind, k, f, wit, n, inj, med, sus[n], wms, vms, 100 * cost
      n = 0; wit = 0; injected = 0; wms = 0; vms = 0; cost = 0; delete sus
    }
    {
      if ($1 != kind || $2 != k || $3 != f) flush()
      kind = $1; k = $2; f = $3
      n++; wit += $4; injected += $5; sus[n] = $6
      if ($7 > wms) wms = $7
      if ($8 > vms) vms = $8
      c = ($8 > 0) ? $7 / $8 : 0
      if (c > cost) cost = c
    }
    END { flush() }'
  echo
  echo "Correct circuits (algen, no fault) with the variable list shuffled, or with one input"
  echo "bit moved to the top (both stop the reduction early): WITNESS lines must be 0."
  echo
  echo "| kind | orders | WITNESS lines | NO WITNESS lines | warnings |"
  echo "|---|---:|---:|---:|---:|"
  awk '{ n[$1]++; w[$1] += $4; nw[$1] += $5; warn[$1] += $6 }
       END { for (k in n) printf "| %s | %d | %d | %d | %d |\n", k, n[k], w[k], nw[k], warn[k] }' \
    "$work/correct" | sort
  echo "<!-- /witness -->"
} >"$table"

touch "$out"
awk -v table="$table" '
  /^<!-- witness -->$/ { skip = 1; while ((getline line < table) > 0) print line; done = 1; next }
  /^<!-- \/witness -->$/ { skip = 0; next }
  !skip { print }
  END { if (!done) { print ""; while ((getline line < table) > 0) print line } }
' "$out" >"$work/new"
cp "$work/new" "$out"
cat "$table"
