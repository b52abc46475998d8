#!/usr/bin/env bash
# The engine lint must reject host headers and console output in engine
# folders and accept them in platform/.
set -u
lint="$(dirname "$0")/../scripts/lint.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/player/shell" "$tree/platform/sdl" "$tree/common"
echo '#include <SDL2/SDL.h>' > "$tree/platform/sdl/ok.cpp"
echo 'int f() { return 1; }' > "$tree/common/clean.cpp"
bash "$lint" "$tree" >/dev/null || { echo "clean tree rejected"; exit 1; }
for bad in '#include <SDL.h>' '#include <unistd.h>' '#  include <dlfcn.h>' '#include <iconv.h>' \
           '#include <ft2build.h>' '#include <fontconfig/fontconfig.h>' '#include <sys/mman.h>' \
           'void g() { printf("x"); }' 'void g() { std::cout << 1; }' 'int g() { return rand(); }'; do
  echo "$bad" > "$tree/player/shell/bad.cpp"
  if bash "$lint" "$tree" >/dev/null; then echo "not caught: $bad"; exit 1; fi
done
echo "lint catches every host call"
