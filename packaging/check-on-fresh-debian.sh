#!/usr/bin/env bash
# Installs the .deb into a fresh, minimal Debian 12 made with debootstrap,
# checks where its files went, and starts the game there on the offscreen
# platform. Needs root. Usage: packaging/check-on-fresh-debian.sh PATH/TO.deb
set -euo pipefail
deb=$(realpath "${1:?the .deb to check}")
cd "$(dirname "$0")/.."
tools/setup-packages debootstrap
root=$(mktemp -d /var/tmp/vantor-debian.XXXXXX)
# mktemp makes it 0700; apt's own user must read it, as it can a real root.
chmod 0755 "$root"
cleanup() {
  umount "$root/dev/pts" "$root/dev" "$root/proc" 2>/dev/null || true
  # Never into /dev, should it still be mounted there.
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT

# The mirror that this machine's apt takes bookworm from, so that the project
# names no archive of its own: deb822 .sources first, then one-line lists.
sources=$(shopt -s nullglob; for file in /etc/apt/sources.list.d/*.sources; do cat "$file"; echo; done)
mirror=$(awk '
  BEGIN { RS = ""; FS = "\n" }
  {
    types = uris = suites = ""; enabled = "yes"
    for (i = 1; i <= NF; i++) {
      if ($i ~ /^#/) continue
      key = tolower($i); sub(/:.*/, "", key)
      value = $i; sub(/^[^:]*:[ \t]*/, "", value)
      if (key == "types") types = value
      else if (key == "uris") uris = value
      else if (key == "suites") suites = value
      else if (key == "enabled") enabled = tolower(value)
    }
    if (enabled != "no" && (" " types " ") ~ / deb / && (" " suites " ") ~ / bookworm /) {
      split(uris, uri, /[ \t]+/); print uri[1]; exit
    }
  }' <<<"$sources")
if [[ -z $mirror ]]; then
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | awk '
    $1 == "deb" {
      i = 2
      if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
      if ($(i + 1) == "bookworm") { print $i; exit }
    }')
fi
if [[ -z $mirror ]]; then
  echo "no bookworm mirror in this machine's apt sources" >&2
  exit 1
fi

debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
# What is mounted below it from here on stays out of this machine's /dev.
mount --make-slave "$root/dev"
# dpkg logs through a terminal of its own.
mount --bind /dev/pts "$root/dev/pts"
cp "$deb" "$root/tmp/vantor.deb"
# A minimal system has no apt-utils, and debconf would warn on each install
# that it delays its questions: there are none to ask.
install=(env DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes apt-get install -y -qq --no-install-recommends)
chroot "$root" apt-get update -qq
chroot "$root" "${install[@]}" /tmp/vantor.deb
id=io.github.vantor.vantor
for file in /usr/games/vantor /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
            /usr/share/man/man6/vantor.6.gz /usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$id.png; do
  [[ -e "$root$file" ]] || { echo "missing: $file" >&2; exit 1; }
done

# The game waits at its instructions box, so still running after three
# seconds means it started: offscreen, and on an X server as on a desktop.
# It gets a runtime folder, as a desktop session would give it; what it
# prints is shown only if it did not start.
chroot "$root" "${install[@]}" xvfb xauth
runtime=$(chroot "$root" mktemp -d)
for platform in offscreen xcb; do
  run=(/usr/games/vantor)
  [[ $platform == xcb ]] && run=(xvfb-run -a /usr/games/vantor)
  status=0
  out=$(chroot "$root" env XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=$platform timeout 3 "${run[@]}" 2>&1) \
    || status=$?
  if [[ $status -ne 124 ]]; then
    echo "$out" >&2
    echo "vantor ended with status $status on a fresh Debian 12 ($platform)" >&2
    exit 1
  fi
done
echo "vantor installed from $(basename "$deb") and started on a fresh Debian 12 (offscreen and X)"
