#!/usr/bin/env bash
# Ring integration of 4096^2 and 10000^2 images, 2theta step 0.01: Kestrin's box
# integration (one thread, all threads) against pyFAI's integrate1d "csr" (first and
# repeated call, default pixel splitting; repeated call without pixel splitting, the same
# one-bin-per-pixel work) on the same pixels, in one run. Prints the times and the ratios.
# Usage: run_integration_bench.sh BUILD_DIR (a Release build with -DKESTRIN_BENCH=ON)
set -euo pipefail
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
bench=$build/bench/integration/bench_integration
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for side in 4096 10000; do
  # Kestrin and pyFAI on one size back to back, so both see the same machine load.
  "$bench" --benchmark_format=csv --benchmark_filter="BM_BoxIntegration/$side/" 2>/dev/null >"$tmp/kestrin.csv"
  geometry=$("$bench" --write-image "$side" "$tmp/img.raw")
  peer=$(/usr/bin/python3 "$here/pyfai_timing.py" "$tmp/img.raw" "$side" $geometry 0.01 2>/dev/null)
  rm -f "$tmp/img.raw"
  first=$(awk '$1=="first"{print $2}' <<<"$peer")
  repeated=$(awk '$1=="repeated"{print $2}' <<<"$peer")
  nosplit=$(awk '$1=="nosplit"{print $2}' <<<"$peer")
  bins=$(awk '$1=="bins"{print $2}' <<<"$peer")
  # CSV: name,iterations,real_time,cpu_time,time_unit,...
  one=$(awk -F, -v s="$side" '$1 ~ "BM_BoxIntegration/"s"/1/" {print $3/1000}' "$tmp/kestrin.csv")
  all=$(awk -F, -v s="$side" '$1 ~ "BM_BoxIntegration/"s"/" && $1 !~ "/"s"/1/" {print $3/1000}' "$tmp/kestrin.csv")
  echo "== ${side}x${side}, step 0.01 ($bins bins)"
  echo "   pyFAI csr first call    ${first} s"
  echo "   pyFAI csr repeated call ${repeated} s"
  echo "   pyFAI csr repeated call without pixel splitting ${nosplit} s"
  echo "   Kestrin one thread      ${one} s"
  echo "   Kestrin all threads     ${all} s ($(nproc) processors)"
  awk -v o="$one" -v a="$all" -v r="$repeated" -v f="$first" -v n="$nosplit" 'BEGIN {
    printf "   ratio one thread / pyFAI repeated  %.3f (goal <= 1)\n", o / r
    printf "   ratio all threads / pyFAI repeated %.3f (goal <= 0.2)\n", a / r
    printf "   ratio all threads / pyFAI repeated without splitting %.3f (goal <= 0.05)\n", a / n
    printf "   ratio all threads / pyFAI first    %.4f\n", a / f }'
done
