#!/usr/bin/env bash
# The main job: installs what is missing, builds, writes the demo game,
# converts it for both screens, and plays it. With a display the sigmarion3
# player opens its window; without one both players play headless for half a
# minute of game time, tapping through the text, and it says where the
# screenshots and the captured sound are; then it saves from the menu, quits
# through it, starts again and loads that save.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh release

bin=build/release/platform/main
source=build/demo-game
game=build/game

build/release/tools/demogame/zekudemo --out "$source"
# The CD tracks, ripped to WAV, become the player's music files once.
"$bin/convZeku" --game "$source" --out "$game" --screen '320*240' --tracks "$source/cd"
"$bin/convZeku" --game "$source" --out "$game" --screen '640*480'

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting ZekuPlayerHPC (close the window to quit; F11 toggles full screen)."
  exec "$bin/ZekuPlayerHPC" --root "$game"
fi

out=build/screenshots
mkdir -p "$out"
# A reader who taps every two seconds once the story's text has begun.
input="$out/taps.txt"
: > "$input"
for frame in $(seq 760 125 2000); do echo "$frame tap 100 100" >> "$input"; done
echo "No display: playing headless for 2000 frames (32 s of game time), tapping through the text."
for player in ZekuPlayerHPC ZekuPlayerPPC; do
  "$bin/$player" --headless --root "$game" --frames 2000 --input "$input" \
    --screenshot "250:$out/${player}-transitions.png" --screenshot "740:$out/${player}-text.png" \
    --screenshot "2000:$out/${player}-later.png" --audio-out "$out/${player}.wav"
done
# The menu: B (X) opens it; down, down, right, down and C save into the first
# slot; up and C on "終了" quit. The next start loads that slot the same way.
save="$out/menu-save.txt"
load="$out/menu-load.txt"
{
  for frame in $(seq 760 125 1250); do echo "$frame tap 100 100"; done
  printf '%s\n' "1300 key x" "1304 key 0x28" "1308 key 0x28" "1312 key 0x27" "1316 key 0x28" \
    "1330 key c" "1400 key x" "1404 key 0x26" "1408 key c"
} > "$save"
printf '%s\n' "100 key x" "104 key 0x28" "108 key 0x27" "112 key 0x28" "116 key c" > "$load"
echo "Saving from the menu, quitting through it, then loading that save in a new start."
"$bin/ZekuPlayerHPC" --headless --root "$game" --frames 3000 --input "$save" \
  --screenshot "1325:$out/menu-save.png" --screenshot "1380:$out/saved.png"
"$bin/ZekuPlayerHPC" --headless --root "$game" --frames 400 --input "$load" \
  --screenshot "60:$out/restarted.png" --screenshot "400:$out/loaded.png"
echo "Screenshots and the captured sound (WAV) are in $(cd "$out" && pwd)."
echo "Settings: $(cd "$game" && pwd)/zeku.cfg; saves: $(cd "$game/data" && pwd)/save*.dat."
