#!/usr/bin/env bash
# The Debian package that `make package` builds: its fields (dependencies found by shlibdeps and the Arabic
# font) and its file list (the installed tree under /usr, nothing else). Exit 77 (skipped) without dpkg-dev.
set -euo pipefail
here=$1
build=${LUMORA_BUILD_DIR:?}
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (Debian packages cmake and dpkg-dev)"
    exit 77
  fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/out/lumora_*.deb)
echo "Package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
fail=0
expect() {  # expect NAME PATTERN: the field matches the extended regular expression
  local value
  value=$(field "$1")
  if ! grep -qE "$2" <<<"$value"; then
    echo "Field $1 is '$value', expected to match '$2'" >&2
    fail=1
  fi
}
expect Package '^lumora$'
expect Version "^${LUMORA_VERSION:?}$"
expect Architecture "^$(dpkg --print-architecture)$"
expect Section '^sound$'
expect Maintainer '<.+@.+>'
expect Description '^Quran recitation and memorisation player'
# shlibdeps: the libraries the programs link, with versions; the font by hand.
for dependency in 'fonts-hosny-amiri' 'libc6 \(>= ' 'libqt6widgets6 \(>= ' 'libqt6dbus6 \(>= ' 'libmpg123-0 \(>= ' \
                  'libsdl2-2\.0-0 \(>= '; do
  expect Depends "(^|, )$dependency"
done

# No maintainer scripts: the desktop's triggers refresh menus, icons and manual pages.
if dpkg-deb -I "$deb" | grep -qE '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(pre|post)(inst|rm) '; then
  echo "The package carries maintainer scripts" >&2
  fail=1
fi

# Each line: mode, owner, size, date, time, path (which may hold blanks).
dpkg-deb -c "$deb" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}//; s|^\./usr/||' | LC_ALL=C sort >"$scratch/files.txt"
if ! diff -u "$here/installed-files.txt" "$scratch/files.txt"; then
  echo "The package's files differ from installed-files.txt (- expected, + packaged)" >&2
  fail=1
fi
exit $fail
