#!/usr/bin/env bash
# Headless screenshot series of every transition effect type, for people to
# look at: for each type a tiny entry script shows the room, then plays the
# effect on the morning sky with #Effect, and the 640 × 480 player takes a
# screenshot every 4 frames (64 ms) across its second. The PNGs land in
# build/effect-gallery/<type>/ (not committed).
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/release/platform/main
demo=build/release/tools/demogame/zekudemo
if [ ! -x "$bin/ZekuPlayerPPC" ] || [ ! -x "$bin/convZeku" ] || [ ! -x "$demo" ]; then
  bash scripts/build.sh release
fi

out=build/effect-gallery
work=$out/work
rm -rf "$out"
mkdir -p "$work"

# type a b c: the band or amplitude, the stagger (or paint, or the packed
# explosion centre) and the speed (or order, or white), as #Effect takes them.
effects=(
  "1 0 0 0" "129 0 0 0" "60 0 0 5"
  "5 20 1 1" "9 20 1 1" "133 20 1 1" "137 20 1 1"
  "6 20 1 1" "10 20 1 1" "134 20 1 1" "138 20 1 1"
  "11 20 1 1" "12 20 1 1" "139 20 1 1" "140 20 1 1"
  "13 20 1 1" "14 20 1 1" "141 20 1 1" "142 20 1 1"
  "16 40 1 16" "17 40 1 16" "144 40 1 16" "145 40 1 16"
  "18 40 1 16" "19 40 1 16" "146 40 1 16" "147 40 1 16"
  "20 40 1 16" "21 40 1 16" "148 40 1 16" "149 40 1 16"
  "22 40 1 16" "23 40 1 16" "150 40 1 16" "151 40 1 16"
  "48 16 4 2" "49 16 4 2"
  "63 0 1 0" "63 0 1 1" "191 0 1 0" "191 0 1 1"
  "240 25 524294 0"
)

shots_for() {
  local dir=$1 args=()
  for frame in $(seq 2 4 78); do
    args+=(--screenshot "$frame:$dir/frame$(printf %03d "$frame").png")
  done
  printf '%s\n' "${args[@]}"
}

for effect in "${effects[@]}"; do
  read -r type a b c <<<"$effect"
  name="type$type"
  [ "$type" = 63 ] || [ "$type" = 191 ] && name="type$type-c$c"
  slot=5
  [ "$type" = 63 ] || [ "$type" = 191 ] && slot=9
  cat >"$work/entry.txt" <<SCRIPT
|_Start:
#CreateImage(0,0,800,600)
#LoadImage(3,"./bg/heya.bmp")
#Paint()
#LoadImage(5,"./bg/sora.png")
#Effect($slot,$type,1000,$a,$b,$c)
#Wait(60000)
#END()
SCRIPT
  rm -rf "$work/source" "$work/game"
  "$demo" --out "$work/source" --entry "$work/entry.txt" >/dev/null
  "$bin/convZeku" --game "$work/source" --out "$work/game" --screen '640*480' >/dev/null
  mkdir -p "$out/$name"
  mapfile -t shots < <(shots_for "$out/$name")
  "$bin/ZekuPlayerPPC" --headless --root "$work/game" --frames 78 "${shots[@]}" 2>&1 |
    { grep -v 'screenshot written' || true; }
  echo "$name: $(ls "$out/$name" | wc -l) screenshots"
done
rm -rf "$work"
echo "The series are in $(cd "$out" && pwd)."
