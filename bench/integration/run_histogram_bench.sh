#!/usr/bin/env bash
# The pixel, sub-pixel, sectored and cake histograms of 4096^2 and 10000^2 ring images
# (2theta step 0.01): Kestrin (one thread, all threads) and pyFAI on the same pixels in one
# run, the ratios against the goals, and the memory a 3600-sector run adds in a fresh process.
# Usage: run_histogram_bench.sh BUILD_DIR (a Release build with -DKESTRIN_BENCH=ON)
set -euo pipefail
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
bench=$build/bench/integration/bench_histograms
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Kestrin's time in seconds of kind K (0 pixel, 1 fine, 2 sixteen, 3 free3600, 4 cake) on
# one thread (one) or all threads (all).
kestrin_time() {
  awk -F, -v k="$1" -v s="$2" -v which="$3" '
    $1 ~ "^\"?BM_Histogram/"k"/"s"/" {
      one = ($1 ~ "/"s"/1/"); if ((which == "one") == one) print $3 / 1000 }' "$tmp/kestrin.csv"
}
peer_time() { awk -v n="$1" '$1 == n {print $2}' "$tmp/peer.txt"; }
ratio() {
  awk -v a="$1" -v b="$2" -v goal="$3" -v what="$4" 'BEGIN {
    if (a == "" || b == "") { printf "   %-44s (not measured)\n", what; exit }
    printf "   %-44s %.3f (goal <= %s)\n", what, a / b, goal }'
}

for side in 4096 10000; do
  kinds="pixel fine finefull sixteen cake free3600 free3600nosplit"
  # pyFAI's 3600-bin table at 10000^2 would need about 30 GB.
  [ "$side" = 10000 ] && kinds="pixel fine finefull sixteen cake"
  "$bench" --benchmark_format=csv --benchmark_filter="BM_Histogram/[0-9]/$side/" 2>/dev/null >"$tmp/kestrin.csv"
  geometry=$("$bench" --write-image "$side" "$tmp/img.raw")
  # One process per kind under a memory cap (the machine is shared) and a time limit, so
  # that a kind pyFAI cannot hold is reported as not measured instead of stopping the run.
  : >"$tmp/peer.txt"
  for kind in $kinds; do
    (ulimit -v $((14 * 1024 * 1024)); MALLOC_ARENA_MAX=2 timeout 900 /usr/bin/python3 "$here/pyfai_histogram_timing.py" "$tmp/img.raw" \
      "$side" $geometry 0.01 "$kind" 2>/dev/null >>"$tmp/peer.txt") || echo "   (pyFAI could not run $kind at ${side}^2)"
  done
  angle_mb=$("$bench" --peak-rss angle "$side" "$tmp/img.raw")
  pixel_mb=$("$bench" --peak-rss pixel "$side" "$tmp/img.raw")
  rm -f "$tmp/img.raw"
  echo "== ${side}x${side}, step 0.01, $(nproc) processors"
  names=(pixel fine sixteen free3600 cake)
  for k in 0 1 2 3 4; do
    printf "   Kestrin %-9s one thread %8.4f s, all threads %8.4f s\n" \
      "${names[$k]}" "$(kestrin_time $k $side one)" "$(kestrin_time $k $side all)"
  done
  sed 's/^/   pyFAI   /' "$tmp/peer.txt"
  ratio "$(kestrin_time 0 $side all)" "$(peer_time pixel_repeated)" 0.15 "pixel, all threads / pyFAI csr repeated"
  ratio "$(kestrin_time 0 $side one)" "$(peer_time pixel_repeated)" 1 "pixel, one thread / pyFAI csr repeated"
  ratio "$(kestrin_time 1 $side all)" "$(peer_time fine_table_repeated)" 0.5 "fine, all threads / pyFAI full csr repeated"
  ratio "$(kestrin_time 1 $side one)" "$(peer_time fine_full)" 1 "fine, one thread / pyFAI full, no table"
  ratio "$(kestrin_time 2 $side all)" "$(peer_time sixteen_repeated)" 0.2 "16 sectors, all threads / pyFAI 2d repeated"
  ratio "$(kestrin_time 3 $side all)" "$(peer_time free3600_repeated)" 1 "3600 sectors, all threads / pyFAI 2d repeated"
  ratio "$(kestrin_time 3 $side all)" "$(peer_time free3600_nosplit_repeated)" 1 \
    "3600 sectors, all threads / pyFAI 2d no split repeated"
  ratio "$(kestrin_time 4 $side all)" "$(peer_time cake_repeated)" 0.5 "33 cake slices, all threads / pyFAI 2d repeated"
  echo "   3600 sectors add to the peak memory: 2theta ${angle_mb} MB, pixel ${pixel_mb} MB" \
    "(goals: 2theta at 4096^2 <= 128 MB, pixel at 10000^2 <= 256 MB)"
done
