#!/usr/bin/env bash
# Runs a test program as an ordinary user, so that file permissions count:
# root may write everywhere, and no permission fault would show.
# Usage: tests/faults/asuser.sh <test program> [arguments]
#
# As root: makes a throw-away user, copies the program where that user can
# run it, mounts a small tmpfs for the full-disk cases (ZELK_SMALL_FS) and a
# file system whose clock steps whole seconds (ZELK_COARSE_FS: ext2 with small
# inodes, as older disks have), runs the program with setpriv and removes
# user, mounts and copies afterwards.
# As an ordinary user: runs the program directly; without a small file system
# the full-disk cases skip themselves with a message.
set -u
program=$1
shift

if [ "$(id -u)" -ne 0 ]; then
    echo "Running as $(id -un); no tmpfs can be mounted without root, so the full-disk cases are skipped."
    exec "$program" "$@"
fi

for tool in useradd userdel setpriv mount umount; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing, so the test cannot run as an ordinary user (Debian: passwd, util-linux)"
        exit 77
    fi
done

user="zelkfault$$"
work=$(mktemp -d /tmp/zelk-faults.XXXXXX)
cleanup() {
    for mounted in "$work/small" "$work/coarse"; do
        mountpoint -q "$mounted" 2>/dev/null && umount "$mounted"
    done
    rm -rf "$work"
    userdel "$user" >/dev/null 2>&1
}
trap cleanup EXIT

if ! useradd --system --no-create-home --user-group --shell /usr/sbin/nologin "$user"; then
    echo "SKIP: could not create a throw-away user with useradd"
    exit 77
fi
uid=$(id -u "$user")
gid=$(id -g "$user")

chmod 755 "$work"
cp "$program" "$work/"
binary="$work/$(basename "$program")"
chmod 755 "$binary"
mkdir -p "$work/home" "$work/tmp" "$work/runtime" "$work/small" "$work/coarse"
chown "$uid:$gid" "$work/home" "$work/tmp" "$work/runtime"
chmod 700 "$work/runtime"

small=""
if mount -t tmpfs -o size=256k,mode=0755 zelkfaults "$work/small" 2>/dev/null; then
    chown "$uid:$gid" "$work/small"
    small="$work/small"
else
    echo "NOTE: no tmpfs could be mounted here; the full-disk cases are skipped."
fi

coarse=""
if truncate -s 2M "$work/coarse.img" && mkfs.ext2 -q -I 128 "$work/coarse.img" 2>/dev/null \
    && mount -o loop "$work/coarse.img" "$work/coarse" 2>/dev/null; then
    chown "$uid:$gid" "$work/coarse"
    coarse="$work/coarse"
else
    echo "NOTE: no file system with whole-second times could be mounted here; its case is skipped."
fi

echo "Running $(basename "$program") as the throw-away user $user (uid $uid)"
cd "$work/home"
env HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" ZELK_SMALL_FS="$small" ZELK_COARSE_FS="$coarse" \
    setpriv --reuid="$uid" --regid="$gid" --clear-groups "$binary" "$@"
