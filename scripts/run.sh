#!/usr/bin/env bash
# The main job: installs what is missing, builds, writes the demo game,
# converts it for both screens, and plays it. With a display the sigmarion3
# player opens its window; without one both players play headless for half a
# minute of game time, tapping through the text, and it says where the
# screenshots and the captured sound are.
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
echo "Screenshots and the captured sound (WAV) are in $(cd "$out" && pwd)."
