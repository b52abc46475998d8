#!/usr/bin/env bash
# Configures and builds one configuration: build.sh release|asan|tsan|fuzz
# [TARGET...] (only those targets when given).
# Incremental: reconfigures only when the build folder is new. Warnings are
# errors in every configuration these scripts make.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}
shift || true
case "$kind" in
  release) dir=build/release; flags=(-DZEKU_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)    dir=build/asan; flags=(-DZEKU_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DZEKU_SANITIZE=ON -DZEKU_BENCH=OFF) ;;
  tsan)    dir=build/tsan; flags=(-DZEKU_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DZEKU_TSAN=ON -DZEKU_BENCH=OFF) ;;
  fuzz)    dir=build/fuzz; flags=(-DZEKU_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DZEKU_FUZZ=ON -DZEKU_TESTS=OFF -DZEKU_BENCH=OFF
                                  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: build.sh release|asan|tsan|fuzz" >&2; exit 2 ;;
esac
# A folder configured before the warning switch existed is configured again.
if [ ! -f "$dir/build.ninja" ] || ! grep -q '^ZEKU_WERROR:BOOL=ON' "$dir/CMakeCache.txt"; then
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
fi
if [ $# -gt 0 ]; then
  cmake --build "$dir" --target "$@" -- -j"$(nproc)"
else
  cmake --build "$dir" -- -j"$(nproc)"
fi
