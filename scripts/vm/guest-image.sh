#!/usr/bin/env bash
# Makes the disk image of the 32-bit Windows test guest, once: Debian amd64
# with i386 multiarch, 32-bit Wine, i386 Mesa, Xvfb and the tools the
# end-to-end tests drive windows with, a kernel that runs 32-bit programs, and
# a Wine prefix made on its first boot. Only Debian's packages, from the mirror
# this machine's apt already uses (scripts/apt_sources.py).
# The image is cached in ${XDG_CACHE_HOME:-~/.cache}/vistel-vm-<hash>, the hash
# being that of this recipe, and reused while the recipe is unchanged.
# Prints the cache folder on its last line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# Debian 13: its Wine's shader compiler compiles the flashlight programs.
suite=trixie
packages=(
  linux-image-amd64 initramfs-tools kmod procps
  wine wine32:i386
  # OpenGL for Wine's Direct3D 9 (Wine loads it at run time; no package
  # depends on it) and for the X server's GLX.
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libgl1-mesa-dri
  xvfb xauth xdotool x11-utils imagemagick python3
)

# The files that go into the image (how it is booted later does not).
key=$(cat "$here/guest-image.sh" "$here/guest-init.sh" "$here/make-prefix.sh" "$here/wine-env.sh" \
  | sha256sum | cut -c1-16)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vistel-vm-$key
if [ -f "$cache/ready" ]; then
  echo "$cache"
  exit 0
fi

read -r mirror keyring < <(python3 "$here/../apt_sources.py" mirror)
options=${keyring:+[signed-by=$keyring] }
work="$cache.tmp"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work/root"' EXIT

echo "Guest image: Debian $suite from this machine's mirror into $work" >&2
start=$(date +%s)
# Documentation, manual pages and translations are left out: a smaller image
# is quicker to write and to boot.
mmdebstrap --variant=apt --architectures=amd64,i386 --include="$(IFS=,; echo "${packages[*]}")" \
  --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*' \
  --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-exclude=/usr/share/info/*' \
  --customize-hook="copy-in '$here/guest-init.sh' /usr/local/sbin" \
  --customize-hook="copy-in '$here/wine-env.sh' /usr/local/lib" \
  --customize-hook='mv "$1/usr/local/sbin/guest-init.sh" "$1/usr/local/sbin/vistel-guest-init"' \
  --customize-hook='mv "$1/usr/local/lib/wine-env.sh" "$1/usr/local/lib/vistel-wine.sh"' \
  --customize-hook='chmod 755 "$1/usr/local/sbin/vistel-guest-init"' \
  --customize-hook='rm -rf "$1/var/cache/apt/archives"/*.deb "$1/var/lib/apt/lists"/*_Packages' \
  "$suite" "$work/root" "deb ${options}$mirror $suite main" >&2
echo "Guest image: system made in $(( $(date +%s) - start )) s" >&2

cp "$(ls "$work"/root/boot/vmlinuz-* | tail -1)" "$work/vmlinuz"
cp "$(ls "$work"/root/boot/initrd.img-* | tail -1)" "$work/initrd.img"
# Room for the Wine prefix and the tests' files on top of the system.
used_mib=$(du -sm "$work/root" | cut -f1)
mkfs.ext4 -q -F -L vistel-guest -d "$work/root" "$work/guest.img" "$(( used_mib + 1536 ))M"
rm -rf "$work/root"
echo "Guest image: $(( used_mib ))M of system, disk written at $(( $(date +%s) - start )) s" >&2

job=$(mktemp -d)
cp "$here/make-prefix.sh" "$job/job.sh"
if ! bash "$here/boot-guest.sh" "$work" "$job" --timeout 1500; then
  cat "$job/job.log" >&2 || true
  rm -rf "$job"
  exit 1
fi
cat "$job/job.log" >&2
rm -rf "$job"
echo "Guest image: Wine prefix made at $(( $(date +%s) - start )) s" >&2

touch "$work/ready"
rm -rf "$cache"
mv "$work" "$cache"
echo "$cache"
