#!/usr/bin/env bash
# Installs the .deb into a fresh, minimal Debian 12 made with debootstrap,
# checks where its files went, and starts the game there on the offscreen
# platform. Needs root. Usage: packaging/check-on-fresh-debian.sh PATH/TO.deb
set -euo pipefail
deb=$(realpath "${1:?the .deb to check}")
cd "$(dirname "$0")/.."
tools/setup-packages debootstrap
root=$(mktemp -d /var/tmp/vantor-debian.XXXXXX)
cleanup() {
  umount "$root/proc" "$root/dev" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT

debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp "$deb" "$root/tmp/vantor.deb"
chroot "$root" apt-get update -qq
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/vantor.deb
for file in /usr/bin/vantor /usr/share/applications/vantor.desktop \
            /usr/share/icons/hicolor/16x16/apps/vantor.png /usr/share/icons/hicolor/32x32/apps/vantor.png; do
  [[ -e "$root$file" ]] || { echo "missing: $file" >&2; exit 1; }
done

# The game waits at its instructions box, so still running after three
# seconds means it started: offscreen, and on an X server as on a desktop.
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xvfb xauth
for platform in offscreen xcb; do
  run=(/usr/bin/vantor)
  [[ $platform == xcb ]] && run=(xvfb-run -a /usr/bin/vantor)
  status=0
  chroot "$root" env QT_QPA_PLATFORM=$platform timeout 3 "${run[@]}" || status=$?
  if [[ $status -ne 124 ]]; then
    echo "vantor ended with status $status on a fresh Debian 12 ($platform)" >&2
    exit 1
  fi
done
echo "vantor installed from $(basename "$deb") and started on a fresh Debian 12 (offscreen and X)"
