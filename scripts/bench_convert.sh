#!/usr/bin/env bash
# Conversion benchmark: writes the large demo game (hundreds of pictures)
# once, then converts it with one and with two threads and prints time,
# source MB/s, peak memory and the speed-up. Needs a release build.
# Usage: bench_convert.sh [extra convZeku options, e.g. --quality 2]
set -euo pipefail
cd "$(dirname "$0")/.."

rel=build/release
[ -x "$rel/platform/main/convZeku" ] || bash scripts/build.sh release
work=build/bench-convert
game="$work/large-game"
if [ ! -f "$game/Lump.dat" ]; then
  "$rel/tools/demogame/zekudemo" --out "$game" --large
fi
in_bytes=$(( $(stat -c %s "$game/Lump.dat") + $(stat -c %s "$game/Lump2.dat") ))

for jobs in 1 2; do
  rm -rf "$work/out$jobs"
  start=$(date +%s%N)
  summary=$("$rel/platform/main/convZeku" --game "$game" --out "$work/out$jobs" --jobs "$jobs" "$@" | tail -1)
  end=$(date +%s%N)
  echo "$(( end - start ))" > "$work/ns$jobs"
  awk -v ns="$(( end - start ))" -v bytes="$in_bytes" -v jobs="$jobs" -v s="$summary" 'BEGIN {
    match(s, /peak memory [0-9]+ MB/)
    printf "jobs %d: %.2f s, %.1f MB/s of source data, %s\n", jobs, ns / 1e9, bytes / (ns / 1e9) / 1e6,
      substr(s, RSTART, RLENGTH) }'
done
package=$(cd "$work/out1/data" && ls *.mlz)
cmp -s "$work/out1/data/$package" "$work/out2/data/$package" \
  && echo "packages identical" || { echo "packages differ"; exit 1; }
awk -v a="$(cat "$work/ns1")" -v b="$(cat "$work/ns2")" 'BEGIN { printf "speed-up with 2 threads: %.2f\n", a / b }'
