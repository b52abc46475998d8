#!/usr/bin/env bash
# The test command: installs what is missing, builds the normal and the
# AddressSanitizer + UndefinedBehaviorSanitizer configurations, and runs
# every test of both (window tests under a virtual X server).
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1
bash scripts/build.sh release || exit 1
bash scripts/build.sh asan || exit 1

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Window tests draw with SDL's software renderer: the same pixels on every
# machine, and no GL driver threads for the sanitizers to trip over.
export SDL_RENDER_DRIVER=${SDL_RENDER_DRIVER:-software}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_ctest() {
  local dir=$1
  if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" -j"$(nproc)" --output-on-failure --timeout 300
  else
    ctest --test-dir "$dir" -j"$(nproc)" --output-on-failure --timeout 300
  fi
}

echo "== tests: release =="
run_ctest build/release
release=$?
echo "== tests: asan+ubsan =="
run_ctest build/asan
asan=$?
# The mixer's thread handshake under ThreadSanitizer: one small target, so
# the third configuration costs little.
echo "== tests: tsan (mixer handshake) =="
bash scripts/build.sh tsan player_mixer_thread_tests &&
  TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1} \
    build/tsan/tests/player/player_mixer_thread_tests
tsan=$?
[ $release -eq 0 ] && [ $asan -eq 0 ] && [ $tsan -eq 0 ]
