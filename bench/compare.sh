#!/usr/bin/env bash
# Same-run comparison of polyverify binaries (for example one built at an
# earlier commit and the current one) on the same problem files.
#
#   bench/compare.sh [--rounds N] [LABEL=]BINARY... -- FILE...
#
# For each file the binaries run in turn, N rounds (default 3), so that a
# shared, noisy machine loads them alike; the table gives each binary's
# best user + system CPU seconds and its peak resident memory in that best
# run, and the ratio of each CPU time to the first binary's. The outputs of
# all binaries (without the time line) must agree, else the row says so.
set -euo pipefail

rounds=3
bins=()
labels=()
files=()
while [ $# -gt 0 ]; do
  case $1 in
    --rounds) rounds=$2; shift 2 ;;
    --) shift; files=("$@"); break ;;
    -h|--help) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"; exit 0 ;;
    *=*) labels+=("${1%%=*}"); bins+=("${1#*=}"); shift ;;
    *) labels+=("$(basename "$1")"); bins+=("$1"); shift ;;
  esac
done
[ ${#bins[@]} -gt 0 ] && [ ${#files[@]} -gt 0 ] || { echo "compare.sh: BINARY... -- FILE..." >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

printf '| file | size |'
for l in "${labels[@]}"; do printf ' %s CPU s | MB |' "$l"; done
printf ' CPU ratios to the first |\n|---|---:|'
for _ in "${bins[@]}"; do printf -- '---:|---:|'; done
printf -- '---|\n'

for f in "${files[@]}"; do
  declare -a best=() mem=()
  same=1
  for ((r = 0; r < rounds; r++)); do
    for i in "${!bins[@]}"; do
      /usr/bin/time -f '%U %S %M' -o "$scratch/time" "${bins[$i]}" "$f" >"$scratch/out.$i" 2>&1 || true
      read -r user sys rss < <(tail -1 "$scratch/time")
      cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
      if [ -z "${best[$i]:-}" ] || awk -v a="$cpu" -v b="${best[$i]}" 'BEGIN { exit !(a < b) }'; then
        best[$i]=$cpu
        mem[$i]=$(awk -v r="$rss" 'BEGIN { printf "%.0f", r / 1024 }')
      fi
      grep -v '^Total verification time' "$scratch/out.$i" >"$scratch/res.$i" || true
      cmp -s "$scratch/res.0" "$scratch/res.$i" || same=0
    done
  done
  printf '| %s | %s |' "$(basename "$f")" "$(numfmt --to=iec --suffix=B "$(stat -c %s "$f")")"
  for i in "${!bins[@]}"; do printf ' %s | %s |' "${best[$i]}" "${mem[$i]}"; done
  ratios=""
  for i in "${!bins[@]}"; do
    ratios+="${ratios:+ / }$(awk -v a="${best[$i]}" -v b="${best[0]}" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
  done
  [ "$same" -eq 1 ] || ratios+=" OUTPUTS DIFFER"
  printf ' %s |\n' "$ratios"
done
