#!/usr/bin/env bash
# `cmake --install` into a fresh prefix puts exactly the files of installed-files.txt there, and the installed
# lumora finds its program folder in share/lumora beside its bin/.
set -euo pipefail
here=$1
build=${LUMORA_BUILD_DIR:?}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || { cat "$scratch/install.log"; exit 1; }
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/found.txt"
if ! diff -u "$here/installed-files.txt" "$scratch/found.txt"; then
  echo "The installed tree differs from installed-files.txt (- expected, + installed)" >&2
  exit 1
fi
for program in lumora lumora-pack; do
  [[ -x "$prefix/bin/$program" ]] || { echo "bin/$program is not executable" >&2; exit 1; }
done
version=$(env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/lumora" --version)
echo "$version"
if ! grep -qxF "Program folder: $prefix/share/lumora" <<<"$version"; then
  echo "The installed lumora does not find $prefix/share/lumora" >&2
  exit 1
fi
