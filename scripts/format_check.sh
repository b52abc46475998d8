#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted by the repository's .clang-format.
set -uo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "format check: clang-format not installed, skipped"; exit 0; }
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find common platform player converter overlay tools tests bench fuzz -name '*.cpp' -o -name '*.h')
[ -z "$files" ] && exit 0
echo "$files" | xargs clang-format --dry-run --Werror 2>&1 | head -40
exit "${PIPESTATUS[1]}"
