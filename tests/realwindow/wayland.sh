#!/usr/bin/env bash
# Runs the real zelk in a Wayland session: weston with its X11 back end inside
# the shared Xvfb session, so that xdotool's keys and clicks reach Wayland
# clients through weston's window, and with XWayland. weston-debug's scene
# graph tells which windows are mapped, where, with which title and app id.
# Usage: wayland.sh <zelk binary> <screenshot folder>
set -u
zelk=$1
shots=${2:-/tmp/zelk-wayland-screenshots}

for tool in weston weston-debug Xwayland wl-paste; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (Debian: weston xwayland wl-clipboard)"
        exit 77
    fi
done
if [ -z "$(find /usr/lib -path '*/qt6/plugins/platforms/libqwayland-generic.so' -print -quit 2>/dev/null)" ]; then
    echo "SKIP: Qt's Wayland platform is not installed (Debian: qt6-wayland)"
    exit 77
fi
mkdir -p "$shots"
source "$(dirname "$0")/xsession.sh"
unset QT_QPA_PLATFORM

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=zelk-wayland
# No on-screen keyboard for text boxes, no panel: the output is the windows'.
printf '[core]\nidle-time=0\n[input-method]\npath=\n[shell]\npanel-position=none\n' >"$runtime/weston.ini"
weston --config="$runtime/weston.ini" --debug --backend=x11-backend.so --use-pixman ${ZELK_NO_XWAYLAND:+--no-op} --xwayland \
    --socket="$socket" --width=1000 --height=700 >"$runtime/weston.log" 2>&1 &
pids+=($!)
trap 'cleanup; rm -rf "$runtime"' EXIT

weston_window() { xdotool search --class weston 2>/dev/null | head -n 1 | grep .; }
xwayland_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log" | grep .; }
output=$(eventually 10 weston_window) && xwayland=$(eventually 10 xwayland_display) || {
    echo "FAILED: weston did not start"
    cat "$runtime/weston.log"
    exit 1
}
# Keys go to the focused X window: weston's, which hands them on to its own.
xdotool windowactivate --sync "$output" 2>/dev/null
main_title="Zelk. 2010    -    Freeware"

scene() { WAYLAND_DISPLAY=$socket weston-debug scene-graph 2>/dev/null; }
# The scene graph's line for a mapped window titled exactly $1, and the next
# line, its place "(x1, y1) -> (x2, y2)", frame included.
view_lines() { scene | grep -F -A1 "window '$1'" | grep .; }
# Prints "x1 y1 x2 y2" of the window titled $1.
view_of() { view_lines "$1" | sed -n 's/.*position: (\(-*[0-9]*\), \(-*[0-9]*\)) -> (\(-*[0-9]*\), \(-*[0-9]*\)).*/\1 \2 \3 \4/p' | grep .; }
view_gone() { ! view_lines "$1" >/dev/null; }
surface_of() { view_lines "$1" | sed -n 's/.*surface ID \([0-9]*\),.*/\1/p' | grep .; }
popup_shown() { scene | grep -q "role xdg_popup"; }
# XWayland's windows are X windows there; weston frames them itself.
on_xwayland() { DISPLAY=$xwayland "$@"; }
x_window_named() { on_xwayland xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
# Prints "x y" of the client area's top-left corner of the Wayland window
# titled $1: Qt's own decoration is 3 pixels wide and its title bar 30 high.
client_origin() {
    local x1 y1 x2 y2
    read -r x1 y1 x2 y2 < <(view_of "$1") || return 1
    echo $((x1 + 3)) $((y1 + 30))
}
click_view() { # click_view <title> <x y>: clicks at x y of the window's client area
    local x y
    read -r x y < <(client_origin "$1") || return 1
    set -- $2
    xdotool mousemove --window "$output" $((x + $1)) $((y + $2)) click 1
}
# The same for an X window on XWayland: weston frames it itself and does not
# always know its title, so it is found by its size. The opaque part of its
# view is the window with a border of one pixel.
x_client_origin() { # x_client_origin <X window>
    local X Y WIDTH HEIGHT
    eval "$(on_xwayland xdotool getwindowgeometry --shell "$1")"
    scene | sed -n 's/.*\[opaque: (\(-*[0-9]*\), \(-*[0-9]*\)) -> (\(-*[0-9]*\), \(-*[0-9]*\))\].*/\1 \2 \3 \4/p' \
        | awk -v w=$((WIDTH + 2)) -v h=$((HEIGHT + 2)) '$3 - $1 == w && $4 - $2 == h { print $1 + 1, $2 + 1; found = 1; exit }
                                                     END { exit !found }'
}
click_x_window() { # click_x_window <X window> <x y>
    local x y
    read -r x y < <(x_client_origin "$1") || return 1
    set -- $2
    xdotool mousemove --window "$output" $((x + $1)) $((y + $2)) click 1
}
# The window lies in the middle of weston's 1000 x 700 output (its title bar
# above it).
x_window_centred() { # x_window_centred <X window>
    local x y X Y WIDTH HEIGHT
    read -r x y < <(x_client_origin "$1") || return 1
    eval "$(on_xwayland xdotool getwindowgeometry --shell "$1")"
    [ $((x + WIDTH / 2 - 500)) -ge -20 ] && [ $((x + WIDTH / 2 - 500)) -le 20 ] \
        && [ $((y + HEIGHT / 2 - 350)) -ge -10 ] && [ $((y + HEIGHT / 2 - 350)) -le 40 ]
}
# Clicks the minimise button that Qt's decoration draws on every window.
minimise_view() { # minimise_view <title>
    local x1 y1 x2 y2
    read -r x1 y1 x2 y2 < <(view_of "$1") || return 1
    xdotool mousemove --window "$output" $((x2 - 63)) $((y1 + 15)) click 1
}
wayland_clipboard_is() { cmp -s <(WAYLAND_DISPLAY=$socket timeout 5 wl-paste -n 2>/dev/null) <(printf '%s' "$1"); }

# Toolbar buttons and boxes, in pixels from the main window's client area.
kop_bar="148 14"
modus_bar="235 14"
info_bar="318 14"
netto_box="60 112"

case_plain_start_uses_xwayland() {
    local win compact
    WAYLAND_DISPLAY=$socket DISPLAY=$xwayland start_zelk
    win=$(eventually 30 x_window_named "$main_title")
    check "a plain start in a Wayland session runs on XWayland" [ -n "$win" ]
    [ -n "$win" ] || { stop_zelk; return; }
    check "its window is centred" eventually 5 x_window_centred "$win"
    eventually 5 click_x_window "$win" "$modus_bar"
    compact=$(eventually 10 x_window_named "^Zelk. 2010$")
    # (weston's window manager for X windows has no "above" state and gives
    # tool windows no input: keeping the compact window on top is the X11
    # suite's case, with openbox.)
    check "Ansicht wechseln opens the compact window there too" [ -n "$compact" ]
    stop_zelk
}

app_id_is_entry() { view_lines "$main_title" | grep -qF "of example.zelk.Zelk,"; }
# The window was mapped anew: the compositor shows a new surface for it.
mapped_anew() { local now; now=$(surface_of "$1") && [ "$now" != "$2" ]; }

# Kopieren, then "Bruttowert kopieren": one copy. (Ctrl+C in a box copies
# twice, the whole text and the box's selection; weston's clipboard keeper
# starts reading the first and then puts an empty copy over the second.)
copy_gross() {
    click_view "$main_title" "$kop_bar"
    eventually 5 popup_shown && xdotool key b
}

case_native_wayland() {
    local surface
    QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$socket start_zelk
    check "with QT_QPA_PLATFORM=wayland the main window is a Wayland window" quietly eventually 30 view_of "$main_title"
    view_of "$main_title" >/dev/null || { stop_zelk; return; }
    check "its app id is the menu entry's (example.zelk.Zelk)" app_id_is_entry
    eventually 5 click_view "$main_title" "$netto_box"

    xdotool type --delay 40 "100"
    xdotool key Return
    copy_gross
    check "net 100 gives gross 119,00 (read with wl-paste)" eventually 10 wayland_clipboard_is "119,00"

    click_view "$main_title" "$info_bar"
    check "the about window opens" quietly eventually 10 view_of "Copyright"
    surface=$(surface_of "Copyright")
    if [ -n "$surface" ]; then
        import -window "$output" "$shots/wayland-about.png" 2>/dev/null
        minimise_view "Copyright"
        check "minimising the modal about window brings it back at once" eventually 10 mapped_anew "Copyright" "$surface"
        xdotool key Escape
        check "Escape then closes it" eventually 10 view_gone "Copyright"
        click_view "$main_title" "$netto_box"
        xdotool key End BackSpace BackSpace BackSpace
        xdotool type --delay 40 "200"
        xdotool key Return
        copy_gross
        check "and the main window takes typing again (200 gives 238,00)" eventually 10 wayland_clipboard_is "238,00"
    fi
    stop_zelk
}

native_view() { view_lines "$main_title" | grep -q "role xdg_toplevel"; }
case_no_x_server() {
    DISPLAY= WAYLAND_DISPLAY=$socket start_zelk
    check "without an X server a plain start runs natively on Wayland" eventually 30 native_view
    stop_zelk
}

run_case "plain start in a Wayland session" case_plain_start_uses_xwayland
run_case "no X server" case_no_x_server
run_case "native Wayland" case_native_wayland
finish
