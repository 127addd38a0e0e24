#!/usr/bin/env bash
# Installs the Debian packages Lumora builds and tests with, when any is missing.
# As root it runs apt-get; otherwise it prints the one apt-get line to run and fails.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl-dev
  libmpg123-dev libsdl2-dev zlib1g-dev librubberband-dev libmp3lame-dev libopusenc-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  lame mpg123 fonts-hosny-amiri
  xvfb xauth x11-utils xclip
  at-spi2-core
  dbus dbus-x11 desktop-file-utils appstream dpkg-dev file
  nodejs npm
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
  gstreamer1.0-plugins-bad
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

# nodejs/npm may come from elsewhere than Debian's packages; a working npm is enough.
if command -v npm >/dev/null 2>&1; then
  keep=()
  for p in "${missing[@]}"; do [[ "$p" == nodejs || "$p" == npm ]] || keep+=("$p"); done
  missing=("${keep[@]}")
fi

[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Lumora needs these packages. Run:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
