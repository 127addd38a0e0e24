#!/usr/bin/env bash
# make package-check: the package that make package built, on a clean Debian 12. Makes a minimal root with
# debootstrap, installs the package there with apt-get (which resolves its Depends from the mirror), runs
# lumora --version and lumora-pack recordings on the installed data, starts lumora under Xvfb until its
# window shows, then purges the package and checks that no file of it is left.
# Needs: root, debootstrap, and a Debian mirror over the network (LUMORA_DEBIAN_MIRROR, default
# http://deb.debian.org/debian). The debootstrap download is kept in BUILD_DIR/package-check for the next run.
set -euo pipefail
build=$(realpath "${1:?usage: package-check.sh BUILD_DIR}")
mirror=${LUMORA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
suite=bookworm

missing=()
[[ $(id -u) -eq 0 ]] || missing+=("root rights (debootstrap and chroot need them: run as root)")
command -v debootstrap >/dev/null || missing+=("debootstrap (apt-get install debootstrap)")
command -v chroot >/dev/null || missing+=("chroot (coreutils)")
deb=$(ls -t "$build"/lumora_*.deb 2>/dev/null | head -1 || true)
[[ -n "$deb" ]] || missing+=("a package: run make package first")
if command -v curl >/dev/null && ! curl -fsI --max-time 20 "$mirror/dists/$suite/Release" >/dev/null; then
  missing+=("the Debian mirror $mirror (no network?)")
fi
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "package-check cannot run here. It needs:" >&2
  printf '  - %s\n' "${missing[@]}" >&2
  exit 2
fi

work=$build/package-check
root=$work/root
tarball=$work/$suite-minbase.tgz
mkdir -p "$work"
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  umount "$root/dev/pts" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
rm -rf "$root"

step() { echo; echo "== $*"; }
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

if [[ ! -f "$tarball" ]]; then
  step "Downloading a minimal Debian $suite (kept in $tarball)"
  debootstrap --variant=minbase --make-tarball="$tarball" "$suite" "$work/tarball-root" "$mirror"
  rm -rf "$work/tarball-root"
fi
step "Making a clean Debian $suite root"
debootstrap --variant=minbase --unpack-tarball="$tarball" "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -20 "$work/debootstrap.log"; exit 1; }
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "deb $mirror $suite main" >"$root/etc/apt/sources.list"
in_root apt-get update -qq

step "The check's own tools: Xvfb and xwininfo"
in_root apt-get install -y -qq --no-install-recommends xvfb xauth x11-utils >/dev/null
# Everything on the root file system before the package, so what it leaves behind shows.
snapshot() {
  (cd "$root" && find . -xdev \( -path ./proc -o -path ./tmp -o -path ./var/cache -o -path ./var/lib/apt \
      -o -path ./var/lib/dpkg -o -path ./var/log -o -path ./root \) -prune -o -print | LC_ALL=C sort)
}
snapshot >"$work/before.txt"

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root sh -c "cd /tmp && apt-get install -y -q ./$(basename "$deb")"
in_root dpkg -L lumora >"$work/package-files.txt"

step "lumora --version"
version=$(in_root lumora --version)
echo "$version"
grep -qxF "Program folder: /usr/share/lumora" <<<"$version" || { echo "lumora does not find /usr/share/lumora" >&2; exit 1; }

step "lumora-pack recordings /usr/share/lumora/mp3"
in_root lumora-pack recordings /usr/share/lumora/mp3

step "lumora under Xvfb, until its window shows"
in_root sh -c '
  mkdir -p /tmp/home && export HOME=/tmp/home
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "
    lumora 112:1-4 >/tmp/lumora.log 2>&1 & pid=\$!
    shown=no
    for i in \$(seq 1 120); do
      if xwininfo -root -tree | grep -q \"\\\"Lumora\\\"\"; then shown=yes; break; fi
      kill -0 \$pid 2>/dev/null || break
      sleep 0.5
    done
    kill \$pid 2>/dev/null; wait \$pid 2>/dev/null
    cat /tmp/lumora.log
    [ \$shown = yes ] && echo \"The window showed.\""
' | tee "$work/window.log"
grep -q "The window showed." "$work/window.log" || { echo "lumora's window did not show" >&2; exit 1; }

step "apt-get purge lumora, then the packages it pulled in"
in_root apt-get purge -y -q lumora
in_root apt-get autoremove --purge -y -q >/dev/null
left=0
while read -r path; do
  [[ -z "$path" || "$path" == "/." ]] && continue
  if [[ -e "$root$path" && ! -d "$root$path" ]]; then echo "left behind: $path" >&2; left=1; fi
done <"$work/package-files.txt"
snapshot >"$work/after.txt"
# What is there now and was not before. Files of the package's own folders or with its name count as left
# behind; anything else the dependencies' scripts made is shown, not counted.
LC_ALL=C comm -13 "$work/before.txt" "$work/after.txt" >"$work/new.txt"
if [[ -s "$work/new.txt" ]]; then
  echo "New since before the install:"
  cat "$work/new.txt"
  if grep -iE 'lumora|/share/icons/hicolor/.*/apps/lumora' "$work/new.txt" >&2; then left=1; fi
fi
[[ $left -eq 0 ]] || exit 1
echo
echo "package-check passed: $(basename "$deb") installs, runs and leaves nothing behind on Debian $suite."
