#!/usr/bin/env bash
# The desktop entry and the metainfo pass the desktop's own validators; the metainfo's newest release is
# this version. Exit 77 (skipped) when a validator is not installed.
set -euo pipefail
here=$1
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (Debian packages desktop-file-utils and appstream; make test installs them)"
    exit 77
  fi
done
desktop-file-validate "$here/lumora.desktop"
appstreamcli validate --no-net --pedantic "$here/io.github.lumora.Lumora.metainfo.xml"
newest=$(grep -o '<release version="[^"]*"' "$here/io.github.lumora.Lumora.metainfo.xml" | head -1 | cut -d'"' -f2)
if [[ "$newest" != "${LUMORA_VERSION:?}" ]]; then
  echo "The metainfo's newest release is $newest, the program's version is $LUMORA_VERSION" >&2
  exit 1
fi
