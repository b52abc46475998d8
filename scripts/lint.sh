#!/usr/bin/env bash
# Engine-purity lint: common/, player/ and converter/ reach the host only
# through platform/, and dependencies between our own folders point one way.
# Fails on host headers or host calls in engine code, and on an include
# against the direction. Usage: lint.sh [TREE] (default: the repository).
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2

dirs=()
for d in common player converter; do [ -d "$d" ] && dirs+=("$d"); done
[ ${#dirs[@]} -eq 0 ] && exit 0

status=0
report() {
  if [ -n "$2" ]; then
    echo "lint: $1"
    echo "$2" | sed 's/^/  /'
    status=1
  fi
}

files=$(find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' \))

# Host headers: SDL, POSIX, dlopen, iconv, FreeType, fontconfig, libsndfile,
# GTK and the GLib family under it.
hosts='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|unistd\.h|fcntl\.h|dlfcn\.h|iconv\.h|ft2build\.h|freetype/|fontconfig/|sndfile\.h|gtk/|gdk/|gdk-pixbuf/|glib\.h|glib-object\.h|glib/|gio/|cairo|pthread\.h|dirent\.h|poll\.h|signal\.h|termios\.h|sys/|netinet/|arpa/|linux/)'
report "host headers outside platform/ (use platform/api/ instead):" \
  "$(echo "$files" | xargs -r grep -HnE "$hosts" 2>/dev/null)"

# Host calls: console output, wall-clock time and the C random generator.
calls='(^|[^A-Za-z_:.>])(printf|fprintf|puts|fputs)[[:space:]]*\(|std::(cout|cerr|clog)|(^|[^A-Za-z_:.>])(time|rand|srand)[[:space:]]*\('
report "host calls in engine code (console output, time(), rand()):" \
  "$(echo "$files" | xargs -r grep -HnE "$calls" 2>/dev/null | grep -v '^[^:]*:[0-9]*:[[:space:]]*//')"

# Direction of our own includes: FOLDER may not include PATTERN; ADVICE says
# what to include instead.
include_of() { echo "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($1)"; }
direction() {
  local folder=$1 pattern=$2 advice=$3
  [ -d "$folder" ] || return 0
  local hits
  hits=$(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 -r grep -HnE "$(include_of "$pattern")" 2>/dev/null)
  report "$folder must not include $(echo "$pattern" | tr '|' ' ') ($advice):" "$hits"
}
direction common 'platform/|player/|converter/|tools/' \
  'common/ is shared by both programs and includes nothing else of ours; move the shared type into common/'
direction platform/api 'player/|converter/|tools/' \
  'the host interfaces may use common/ value types only'
for engine in player/graphics player/sound player/script; do
  direction "$engine" 'player/shell/' \
    'the shell drives this folder, not the reverse: the input state is player/system/input_state.h, the script sees the game through ScriptContext, built by the shell'
done
direction player 'converter/' 'the player never includes converter code; shared formats live in common/'
direction converter 'player/' 'the converter never includes player code; shared formats live in common/'

exit $status
