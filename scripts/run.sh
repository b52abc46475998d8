#!/usr/bin/env bash
# The main job: installs what is missing, builds, writes the demo game,
# converts it for both screens, and plays it. With a display the sigmarion3
# player opens its window; without one both players play headless for a few
# seconds of game time and it says where the screenshots are.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh release

bin=build/release/platform/main
source=build/demo-game
game=build/game

build/release/tools/demogame/zekudemo --out "$source" --music "$game/data"
for screen in '320*240' '640*480'; do
  "$bin/convZeku" --game "$source" --out "$game" --screen "$screen"
done

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting ZekuPlayerHPC (close the window to quit; F11 toggles full screen)."
  exec "$bin/ZekuPlayerHPC" --root "$game"
fi

out=build/screenshots
mkdir -p "$out"
echo "No display: playing headless for 300 frames (4.8 s of game time)."
for player in ZekuPlayerHPC ZekuPlayerPPC; do
  "$bin/$player" --headless --root "$game" --frames 300 \
    --screenshot "1:$out/${player}-first.png" --screenshot "300:$out/${player}-last.png" \
    --audio-out "$out/${player}.wav"
done
echo "Screenshots and the captured sound (WAV) are in $(cd "$out" && pwd)."
