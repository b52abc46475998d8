#!/usr/bin/env bash
# Engine-purity lint: common/, player/ and converter/ reach the host only
# through platform/. Fails on host headers or host calls in engine code.
# Usage: lint.sh [TREE] (default: the repository).
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

# Host headers: SDL, POSIX, dlopen, iconv, FreeType, fontconfig.
hosts='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|unistd\.h|fcntl\.h|dlfcn\.h|iconv\.h|ft2build\.h|freetype/|fontconfig/|pthread\.h|dirent\.h|poll\.h|signal\.h|termios\.h|sys/|netinet/|arpa/|linux/)'
report "host headers outside platform/ (use platform/api/ instead):" \
  "$(echo "$files" | xargs -r grep -nE "$hosts" 2>/dev/null)"

# Host calls: console output, wall-clock time and the C random generator.
calls='(^|[^A-Za-z_:.>])(printf|fprintf|puts|fputs)[[:space:]]*\(|std::(cout|cerr|clog)|(^|[^A-Za-z_:.>])(time|rand|srand)[[:space:]]*\('
report "host calls in engine code (console output, time(), rand()):" \
  "$(echo "$files" | xargs -r grep -nE "$calls" 2>/dev/null | grep -v '^[^:]*:[0-9]*:[[:space:]]*//')"

exit $status
