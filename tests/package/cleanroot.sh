#!/usr/bin/env bash
# Installs the release package with apt into a freshly made Debian 12 root
# (debootstrap, minbase: nothing the development machine happens to have), as
# a new user would, and starts the installed /usr/bin/zelk there on this test's
# X display. It must look as the program built here does: the same Qt plug-ins
# mapped, everything in the toolbar drawn, and F1 must show the help or say why
# it cannot.
# The root is made once and kept as a tarball in ~/.cache/zelk/, the packages
# apt fetches for it beside it, so later runs take seconds.
# Usage: cleanroot.sh <package folder> <program built here> <screenshot folder>
set -u
skip() {
    echo "SKIP: $*"
    exit 77
}

if [ -z "${ZELK_CLEANROOT_NAMESPACE:-}" ]; then
    [ "$(id -u)" = 0 ] || skip "making and entering a Debian root needs root (debootstrap, chroot, mount)"
    for tool in debootstrap wget unshare chroot dpkg-deb convert import; do
        command -v "$tool" >/dev/null || skip "$tool is not installed (Debian: debootstrap wget util-linux imagemagick)"
    done
    # Everything mounted below lives in a mount namespace of its own: nothing
    # stays mounted on the host, even when the test is killed.
    unshare --mount true 2>/dev/null || skip "no mount namespace can be made here (unshare --mount)"
    ZELK_CLEANROOT_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

packages=$1
built=$2
shots=$3
deb=$(ls "$packages"/zelk_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || skip "no package in $packages (./dev.sh package makes it)"
stale=$(find "$(dirname "$0")/../../src" -name '*.[ch]*' -newer "$deb" -print -quit)
[ -z "$stale" ] || skip "$deb is older than $stale (./dev.sh package makes it anew)"
[ -x "$built" ] || skip "no program at $built (./dev.sh package builds it)"
dpkg-deb -c "$deb" 2>/dev/null | grep -q '/zelk\.chm$' || skip "the package holds no zelk.chm (Debian: fp-utils)"
mkdir -p "$shots"

mirror=${ZELK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/zelk
tarball=$cache/debian-bookworm-minbase.tar.gz
wget -q -T 15 -t 2 --spider "$mirror/dists/bookworm/InRelease" \
    || skip "the Debian archive $mirror cannot be reached (no network): debootstrap and apt cannot run"

# Roots of earlier runs that were killed before they could tidy up.
for old in "${TMPDIR:-/tmp}"/zelk-cleanroot.*; do
    [ -f "$old/pid" ] && ! kill -0 "$(cat "$old/pid")" 2>/dev/null && rm -rf --one-file-system "$old"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/zelk-cleanroot.XXXXXX")
echo $$ >"$work/pid"
root=$work/root

mounted_under() { awk -v dir="$1/" 'index($2, dir) == 1 { print $2 }' /proc/self/mounts | sort -r; }
tidy_root() {
    [ -n "${root_pid:-}" ] && kill "$root_pid" 2>/dev/null && wait "$root_pid" 2>/dev/null
    local mount
    for mount in $(mounted_under "$work"); do umount "$mount" 2>/dev/null || umount -l "$mount"; done
    if [ -n "$(mounted_under "$work")" ]; then
        echo "WARNING: still mounted under $work, left in place"
    else
        rm -rf --one-file-system "$work"
    fi
}
trap tidy_root EXIT

if [ ! -f "$tarball" ]; then
    echo "Making a Debian 12 root (debootstrap --variant=minbase, a few minutes, once): $tarball"
    if ! debootstrap --variant=minbase bookworm "$work/new" "$mirror" >"$work/debootstrap.log" 2>&1; then
        tail -n 20 "$work/debootstrap.log"
        echo "FAILED: debootstrap"
        exit 1
    fi
    for mount in $(mounted_under "$work/new"); do umount "$mount"; done
    mkdir -p "$cache"
    tar -C "$work/new" --numeric-owner -czf "$tarball.$$" . && mv "$tarball.$$" "$tarball"
    rm -rf --one-file-system "$work/new"
fi
mkdir "$root"
tar -C "$root" --numeric-owner -xzpf "$tarball" || { echo "FAILED: unpacking $tarball"; exit 1; }

mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mkdir -p "$root/tmp/.X11-unix" "$cache/apt-archives/partial"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind "$cache/apt-archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/zelk-test"

in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}
apt_in_root() { in_root apt-get -q -y -o APT::Sandbox::User=root "$@" >>"$work/apt.log" 2>&1; }
cp "$deb" "$root/tmp/"
# What a new user types; Recommends are left out, so Depends alone must do.
if ! apt_in_root update || ! apt_in_root install --no-install-recommends "/tmp/$(basename "$deb")"; then
    tail -n 30 "$work/apt.log"
    echo "FAILED: apt-get install $(basename "$deb") in the Debian root"
    exit 1
fi
apt_in_root autoclean # the cache keeps only what the archive still offers
echo "installed $(basename "$deb") with $(grep -c '^Setting up' "$work/apt.log") packages into a fresh Debian 12 root (${SECONDS} s)"

zelk=/usr/bin/zelk # only for xsession.sh's checks; both programs are started below
source "$(dirname "$0")/../realwindow/xsession.sh"
trap 'tidy_root; cleanup' EXIT

caption="Zelk. 2010    -    Freeware"
session=(PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$DISPLAY" LANG=C.UTF-8)

# Prints the Qt plug-ins a process has mapped, relative to the plug-in folder.
plugins_of() { grep -o 'qt6/plugins/[^ ]*' "/proc/$1/maps" | sed 's|^qt6/plugins/||' | sort -u; }
root_plugins_are() { [ "$(plugins_of "$root_pid")" = "$1" ]; }

# The toolbar is the top 28 pixels (420 twips) of the main window.
shoot_toolbar() { # shoot_toolbar <window> <file>
    local width
    width=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p')
    import -window "$1" -crop "${width}x28+0+0" +repage "$2" 2>/dev/null
}
# Waits until two screenshots in a row agree: the window has finished painting.
shoot_settled_toolbar() { # shoot_settled_toolbar <window> <file>
    local before=$work/before.png
    shoot_toolbar "$1" "$before" && shoot_toolbar "$1" "$2" && cmp -s <(convert "$before" rgb:-) <(convert "$2" rgb:-)
}

# For each pixel column of a toolbar shot, how many pixels differ from the
# background gradient of their row (the last column, which the stretch after
# the buttons keeps empty).
drawn_columns() {
    convert "$1" -depth 8 txt:- | awk '
        NR > 1 {
            split($1, at, "[,:]"); x = at[1] + 0; y = at[2] + 0
            gsub(/[()]/, "", $2); split($2, c, ",")
            r[x, y] = c[1]; g[x, y] = c[2]; b[x, y] = c[3]
            if (x > w) w = x
            if (y > h) h = y
        }
        function abs(v) { return v < 0 ? -v : v }
        END {
            for (x = 0; x <= w; x++) {
                n = 0
                for (y = 0; y <= h; y++)
                    if (abs(r[x, y] - r[w, y]) + abs(g[x, y] - g[w, y]) + abs(b[x, y] - b[w, y]) > 60) n++
                print n
            }
        }'
}

# Every stretch of drawn columns on the development machine (an icon, a word,
# a menu arrow, a separator) must be drawn in the clean root as well.
same_drawing() { # same_drawing <development shot> <clean root shot>
    paste <(drawn_columns "$1") <(drawn_columns "$2") | awk '
        function close_run() {
            if (run_dev > 0 && run_root * 2 < run_dev) {
                printf "    columns %d-%d: %d drawn pixels here, %d in the clean root\n", start, NR - 2, run_dev, run_root
                bad++
            }
            run_dev = run_root = 0
        }
        $1 > 0 { if (run_dev == 0) { start = NR - 1; runs++ } run_dev += $1; run_root += $2; next }
        { close_run() }
        END { close_run(); if (runs < 10) { print "    only " runs " drawn stretches here"; bad++ } exit bad > 0 }'
}

start_here() {
    mkdir -p "$work/home-here"
    env -i HOME="$work/home-here" "${session[@]}" "$built" >"$work/zelk-here.log" 2>&1 &
    here_pid=$!
}
start_in_root() {
    mkdir -p "$root/tmp/home"
    chroot "$root" /usr/bin/env -i HOME=/tmp/home "${session[@]}" /usr/bin/zelk >"$work/zelk-root.log" 2>&1 &
    root_pid=$!
}

# Nothing hovers over a button in either shot.
xdotool mousemove 0 767

case_looks_as_here() {
    local win
    start_here
    win=$(wait_window "$caption" 30) || { check "the program built here shows its main window" false; return; }
    eventually 10 shoot_settled_toolbar "$win" "$shots/toolbar-here.png"
    here_plugins=$(plugins_of "$here_pid")
    kill "$here_pid"
    wait "$here_pid" 2>/dev/null
    wait_gone "$caption"

    start_in_root
    win=$(wait_window "$caption" 30) || {
        check "the installed program shows its main window" false
        sed 's/^/    /' "$work/zelk-root.log"
        return
    }
    root_window=$win
    eventually 10 shoot_settled_toolbar "$win" "$shots/toolbar-clean-root.png"
    # Qt may load a plug-in at its first use: give the late ones their time.
    eventually 5 root_plugins_are "$here_plugins"
    local root_plugins
    root_plugins=$(plugins_of "$root_pid")
    check "the same Qt plug-ins are mapped as here: $(echo $here_plugins)" [ "$root_plugins" = "$here_plugins" ]
    [ "$root_plugins" = "$here_plugins" ] || diff <(echo "$here_plugins") <(echo "$root_plugins") | sed -n 's/^[<>]/    &/p'
    check "the toolbar is drawn as here (shots in $shots)" \
        same_drawing "$shots/toolbar-here.png" "$shots/toolbar-clean-root.png"
}

opened() { cat "$root/tmp/opened" 2>/dev/null; }
opened_is() { [ "$(opened)" = "$1" ]; }
press_f1() {
    rm -f "$root/tmp/opened"
    xdotool windowactivate --sync "$root_window" 2>/dev/null
    xdotool key F1
}

# Every page, style sheet and picture the installed help pages refer to is installed.
help_complete() {
    local dir=$root/usr/lib/zelk/help page ref missing=0
    [ -f "$dir/index.html" ] || { echo "    $dir/index.html is not installed"; return 1; }
    for page in "$dir"/*.html; do
        for ref in $(grep -o '\(href\|src\)="[^"#:]*"' "$page" | sed 's/^[a-z]*="//; s/"$//'); do
            [ -f "$dir/$ref" ] || { echo "    $(basename "$page") refers to $ref, which is not installed"; missing=1; }
        done
    done
    [ "$missing" = 0 ]
}

case_help() {
    [ -n "${root_window:-}" ] || { check "the installed program is running" false; return; }
    # A pristine root has neither a CHM viewer nor a browser nor xdg-utils.
    press_f1
    local message
    message=$(wait_window "^Hilfe$" 10)
    check "F1 with nothing to open help says so" [ -n "$message" ]
    if [ -n "$message" ]; then
        import -window "$message" "$shots/help-message-clean-root.png" 2>/dev/null
        xdotool windowactivate --sync "$message" key Return 2>/dev/null
        check "the message closes" wait_gone "^Hilfe$"
    fi

    # A desktop's opener, standing in for xdg-utils with a browser behind it.
    printf '#!/bin/sh\nprintf "%%s" "$1" > /tmp/opened\n' >"$root/usr/local/bin/xdg-open"
    chmod +x "$root/usr/local/bin/xdg-open"
    press_f1
    eventually 10 opened_is file:///usr/lib/zelk/help/index.html
    check "F1 without a CHM viewer opens the HTML help (got: $(opened))" \
        opened_is file:///usr/lib/zelk/help/index.html
    check "no message besides" no_window_named "^Hilfe$"
    check "the HTML help is complete" help_complete

    # xdg-mime as it answers where a CHM viewer's package registered it.
    printf '#!/bin/sh\n[ "$*" = "query default application/vnd.ms-htmlhelp" ] && echo xchm.desktop\nexit 0\n' \
        >"$root/usr/local/bin/xdg-mime"
    chmod +x "$root/usr/local/bin/xdg-mime"
    press_f1
    eventually 10 opened_is file:///usr/lib/zelk/zelk.chm
    check "F1 with a CHM viewer opens zelk.chm (got: $(opened))" opened_is file:///usr/lib/zelk/zelk.chm
    check "the program still runs" kill -0 "$root_pid"
}

run_case "the installed program looks as the one built here" case_looks_as_here
run_case "help in the clean root" case_help
echo "done after ${SECONDS} s"
finish
