#!/usr/bin/env bash
# The engine lint must reject host headers and console output in engine
# folders and accept them in platform/, and reject includes that go against
# the direction of our own folders while accepting the ones along it.
set -u
lint="$(dirname "$0")/../scripts/lint.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/player/shell" "$tree/player/script" "$tree/player/sound" "$tree/player/graphics" \
  "$tree/platform/sdl" "$tree/platform/api" "$tree/common" "$tree/converter/app"
echo '#include <SDL2/SDL.h>' > "$tree/platform/sdl/ok.cpp"
mkdir -p "$tree/platform/sndfile" "$tree/converter/pipeline"
echo '#include <sndfile.h>' > "$tree/platform/sndfile/ok.cpp"
mkdir -p "$tree/platform/gtk"
printf '#include <gtk/gtk.h>\n#include <glib.h>\n' > "$tree/platform/gtk/ok.cpp"
echo 'int f() { return 1; }' > "$tree/common/clean.cpp"
echo '#include "player/script/script_context.h"' > "$tree/player/shell/ok.cpp"
echo '#include "player/system/input_state.h"' > "$tree/player/script/ok.cpp"
echo '#include "common/geometry/screen_rect.h"' > "$tree/platform/api/ok.h"
echo '#include "common/pack/pack_format.h"' > "$tree/converter/app/ok.cpp"
bash "$lint" "$tree" >/dev/null || { echo "clean tree rejected"; bash "$lint" "$tree"; exit 1; }

expect_caught() {  # file text
  echo "$2" > "$tree/$1"
  if bash "$lint" "$tree" >/dev/null; then echo "not caught in $1: $2"; exit 1; fi
  rm "$tree/$1"
}
for bad in '#include <SDL.h>' '#include <unistd.h>' '#  include <dlfcn.h>' '#include <iconv.h>' \
           '#include <ft2build.h>' '#include <fontconfig/fontconfig.h>' '#include <sys/mman.h>' \
           'void g() { printf("x"); }' 'void g() { std::cout << 1; }' 'int g() { return rand(); }'; do
  expect_caught player/shell/bad.cpp "$bad"
done
expect_caught converter/pipeline/bad.cpp '#include <sndfile.h>'
for bad in '#include <gtk/gtk.h>' '#include <glib.h>' '#include <glib-object.h>' \
           '#include <gdk-pixbuf/gdk-pixbuf.h>' '#include <cairo.h>'; do
  expect_caught converter/app/bad.cpp "$bad"
done
expect_caught common/bad.h '#include "platform/api/file_system.h"'
expect_caught common/bad.h '#include "player/graphics/image.h"'
expect_caught platform/api/bad.h '#include "player/shell/game_context.h"'
expect_caught player/script/bad.h '#include "player/shell/input_latch.h"'
expect_caught player/graphics/bad.cpp '# include "player/shell/build_constants.h"'
expect_caught player/sound/bad.cpp '#include "player/shell/game_context.h"'
expect_caught player/shell/bad.cpp '#include "converter/pipeline/wave_file.h"'
expect_caught converter/app/bad.cpp '#include "player/data/pack_reader.h"'
echo "lint catches every host call and every include against the direction"
