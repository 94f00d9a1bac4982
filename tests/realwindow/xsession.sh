# Shared by the real-window suites: starts Xvfb with openbox and offers the
# helpers that drive the real program like a user. Source it after setting
# $zelk (the binary to start); it exits 77 when a tool is missing.

for tool in Xvfb openbox xdotool xclip xwininfo xprop xdpyinfo xmodmap; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (Debian: xvfb openbox xdotool xclip x11-utils x11-xserver-utils)"
        exit 77
    fi
done

# The Python helpers import xsession.py; its compiled copy must not land in
# the source tree.
export PYTHONDONTWRITEBYTECODE=1

failures=0
passed=0
pids=()

display=":$((90 + RANDOM % 100))"
export DISPLAY=$display
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
# Xvfb's US keymap has no umlauts, so xdotool would bind one to a spare keycode
# for a moment and undo it; a busy program may read the key after the undo and
# see nothing. A fixed key of their own avoids that race.
spare=$(xmodmap -pke | awk 'NF == 3 { code = $2 } END { print code }')
xmodmap -e "keycode $spare = udiaeresis Udiaeresis"

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT

check() { # check <description> <condition...>
    local what=$1
    shift
    if "$@"; then
        echo "  ok: $what"
    else
        echo "  FAILED: $what"
        case_failed=1
    fi
}

# Runs a condition again every 0.1 s until it holds or $1 seconds have passed:
# a busy machine may take a while to handle what was typed.
eventually() { # eventually <seconds> <condition...>
    local deadline=$((${EPOCHREALTIME//[!0-9]/} + $1 * 1000000)) # microseconds
    shift
    until "$@"; do
        [ "${EPOCHREALTIME//[!0-9]/}" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

quietly() { "$@" >/dev/null; }

# Prints the id of a visible window whose name matches $1.
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
no_window_named() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
wait_window() { eventually "${2:-20}" window_named "$1"; } # wait_window <name> <seconds>
wait_gone() { eventually "${2:-10}" no_window_named "$1"; }

# Prints "id x y width height" of a popup menu of zelk: a window the window
# manager does not frame, taller than the one line of a tooltip.
popup_menu() {
    local id
    for id in $(xdotool search --onlyvisible --class zelk 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q "Override Redirect State: yes" || continue
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [ "$HEIGHT" -ge 40 ]; then
            echo "$id $X $Y $WIDTH $HEIGHT"
            return 0
        fi
    done
    return 1
}
wait_menu() { eventually "${1:-10}" popup_menu; }

click_in() { xdotool mousemove --window "$1" $2 click 1; } # click_in <window> <x y>
shoot() { import -window "$1" "$shots/$2" 2>/dev/null; }    # shoot <window> <file in $shots>

clipboard() { xclip -o -selection clipboard 2>/dev/null; }
# Compares byte for byte, line ends included.
clipboard_is() { cmp -s <(clipboard) <(printf '%s' "$1"); }
# Puts a marker into the clipboard, so that a copy that never happens cannot
# pass for one that left the same text as before. xclip stays behind to serve
# it, so it must not hold on to our output.
clear_clipboard() { printf '%s' '(leer)' | xclip -selection clipboard -i >/dev/null 2>&1; }

start_zelk() { # a fresh HOME for every case
    start_zelk_in "$(mktemp -d)"
}

start_zelk_in() { # start_zelk_in <home folder>
    home=$1
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
        LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 "$zelk" >"$home/zelk.log" 2>&1 &
    zelk_pid=$!
}

stop_zelk() {
    [ -n "${second_pid:-}" ] && kill "$second_pid" 2>/dev/null
    kill "$zelk_pid" 2>/dev/null
    wait "$zelk_pid" 2>/dev/null
    if [ "${case_failed:-0}" = 1 ] && grep -qv XDG_RUNTIME_DIR "$home/zelk.log"; then
        echo "  zelk printed:"
        sed 's/^/    /' "$home/zelk.log"
    fi
    rm -rf "$home"
}

zelk_gone() { ! kill -0 "$zelk_pid" 2>/dev/null; }
ended() { eventually 5 zelk_gone; }

# trayer as the notification area at the top right, until the session ends.
start_tray() {
    trayer --edge top --align right --widthtype pixel --width 120 --height 24 --SetDockType true >/dev/null 2>&1 &
    tray_pid=$!
    pids+=($!)
    eventually 5 bash -c "xwininfo -root -tree | grep -q '\"panel\"'"
}

# The tray icon is the zelk window embedded in trayer's panel: prints "x y" of
# its centre once it is mapped there (a click before that goes nowhere).
tray_icon_centre() {
    local id x y
    read -r id x y < <(xwininfo -root -tree | awk '
        /"panel"/ { inpanel = 1; match($0, /^ */); depth = RLENGTH; next }
        inpanel { match($0, /^ */); if (RLENGTH <= depth) exit
                  if (/"zelk"/) { split($NF, p, "+"); split($(NF-1), s, "[x+]"); print $1, p[2] + int(s[1] / 2), p[3] + int(s[2] / 2); exit } }')
    [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q "IsViewable" && echo "$x $y"
}
# The tray host may still move a newly docked icon into its place: the
# pointer goes onto the icon, and the click follows once the icon is still
# under it.
pointer_on_tray_icon() {
    local centre
    centre=$(tray_icon_centre) && [ -n "$centre" ] || return 1
    xdotool mousemove $centre
    [ "$(tray_icon_centre)" = "$centre" ]
}
click_tray_icon() { # click_tray_icon <button>; fails when no icon stays put for 5 s
    eventually 5 pointer_on_tray_icon && xdotool click "$1"
}
tray_icon_shown() { [ -n "$(tray_icon_centre)" ]; }
tray_icon_gone() { [ -z "$(tray_icon_centre)" ]; }

run_case() { # run_case <name> <function>; ZELK_CASE=<part of a name> runs only those cases
    [[ -z "${ZELK_CASE:-}" || "$1" == *"$ZELK_CASE"* ]] || return 0
    echo "case: $1"
    case_failed=0
    "$2"
    if [ "$case_failed" = 0 ]; then passed=$((passed + 1)); else failures=$((failures + 1)); fi
}

finish() {
    echo "$passed passed, $failures failed"
    [ "$failures" = 0 ]
}
