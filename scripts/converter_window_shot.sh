#!/usr/bin/env bash
# Writes a picture of convZeku's window to build/convzeku_window.png (under a
# virtual X server when there is no display), its folder field showing the
# demo game when it has been made. Usage: converter_window_shot.sh [GAME_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh release convZeku >/dev/null
shot=$PWD/build/convzeku_window.png
game=${1:-$PWD/build/demo-game}
steps="shot=$shot;quit"
[ -d "$game" ] && steps="folder=$(cd "$game" && pwd);$steps"
run=(env NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory CONVZEKU_WINDOW_SCRIPT="$steps"
  build/release/platform/main/convZeku --window)
if [ -z "${DISPLAY:-}" ]; then
  output=$(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}" 2>&1)
else
  output=$("${run[@]}" 2>&1)
fi
if ! grep -q "^window: shot: " <<<"$output"; then
  echo "$output" >&2
  exit 1
fi
echo "$shot"
