#!/usr/bin/env bash
# Installs every Debian package the project needs (build, run, test, fuzz, bench).
# Idempotent: when everything is present it does nothing but check.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  clang libclang-rt-dev llvm
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libmp3lame-dev libmpg123-dev libsoxr-dev libsndfile1-dev
  libgtk-3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages: ${missing[*]}" >&2
  echo "setup: run as root (or install them) and try again" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
