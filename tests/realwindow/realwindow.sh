#!/usr/bin/env bash
# Starts the real zelk under Xvfb with openbox (and trayer as the notification
# area where a case needs one) and drives it like a user: xdotool types and
# clicks, xclip reads the clipboard. No hooks inside the program.
# Usage: realwindow.sh <zelk binary> <screenshot folder>
set -u
zelk=$1
shots=${2:-/tmp/zelk-screenshots}

command -v trayer >/dev/null || { echo "SKIP: trayer is not installed"; exit 77; }
mkdir -p "$shots"
realwindow_dir=$(cd "$(dirname "$0")" && pwd)
source "$realwindow_dir/xsession.sh"

main_title="Zelk. 2010    -    Freeware"
# Toolbar buttons, in pixels from the main window's top-left corner; for the
# split buttons Kopieren and Diverse Links their arrow, which opens the menu.
kop_bar="148 14"
modus_bar="235 14"
info_bar="318 14"
links_bar="420 14"
auto_bar="465 14"

# Starts the program and sets $win to its main window; a case that gets no
# main window has failed and ends.
start_main() {
    start_zelk
    win=$(wait_window "$main_title" 30) && return 0
    check "main window appears" false
    stop_zelk
    return 1
}

# Prints the id of the first visible window of the program started last.
window_of_zelk() { xdotool search --onlyvisible --pid "$zelk_pid" 2>/dev/null | head -n 1 | grep .; }

case_startup() {
    start_zelk
    local begin splash
    begin=$(date +%s%3N)
    splash=$(eventually 5 window_of_zelk)
    check "the splash window comes first" [ -n "$splash" ]
    [ -n "$splash" ] && shoot "$splash" splash.png
    check "no main window during the splash" [ -z "$(xdotool search --onlyvisible --name "$main_title" 2>/dev/null)" ]
    local win elapsed
    win=$(wait_window "$main_title" 30)
    elapsed=$(( $(date +%s%3N) - begin ))
    check "main window after about three seconds (${elapsed} ms)" [ -n "$win" -a "$elapsed" -ge 2900 -a "$elapsed" -le 8000 ]
    check "the splash window is gone" [ "$(xdotool search --onlyvisible --pid "$zelk_pid" 2>/dev/null)" = "$win" ]
    stop_zelk
}

case_calculation() {
    local win
    start_main || return
    xdotool windowactivate --sync "$win" 2>/dev/null
    sleep 0.3
    xdotool type --delay 40 "100"
    xdotool key Return
    sleep 0.3
    import -window "$win" "$shots/main-window.png" 2>/dev/null
    # Tab leads from netto over x to brutto, whose whole text Ctrl+C copies.
    clear_clipboard
    xdotool key Tab Tab ctrl+c
    check "net 100 at 19 % gives gross 119,00" eventually 5 clipboard_is "119,00"
    xdotool key a
    local dialog
    dialog=$(wait_window "Falsche Eingabe" 5)
    check "a letter shows Falsche Eingabe" [ -n "$dialog" ]
    import -window root "$shots/falsche-eingabe.png" 2>/dev/null
    xdotool key Return
    wait_gone "Falsche Eingabe" 5
    clear_clipboard
    xdotool key ctrl+c
    check "the box keeps its text" eventually 5 clipboard_is "119,00"

    click_in "$win" "$kop_bar"
    check "Kopieren opens its menu" quietly wait_menu 10
    xdotool key a
    check "Alles kopieren gives the three lines" \
        eventually 5 clipboard_is $'100 (Netto)\r\n19,00 (19 %)\r\n119,00 (Brutto)\r\n'

    # The gross direction: empty brutto, type 238 and Enter.
    xdotool windowactivate --sync "$win" 2>/dev/null
    xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 40 "238"
    clear_clipboard
    xdotool key Return shift+Tab shift+Tab ctrl+c
    check "gross 238 at 19 % gives net 200,00" eventually 5 clipboard_is "200,00"
    stop_zelk
}

case_compact_window() {
    local win compact
    start_main || return
    xdotool windowactivate --sync "$win" 2>/dev/null
    xdotool type --delay 40 "100"
    xdotool key Return
    click_in "$win" "$modus_bar"
    compact=$(wait_window "^Zelk. 2010$" 10)
    check "Ansicht wechseln opens the compact window" [ -n "$compact" ]
    check "and unloads the main window" wait_gone "$main_title" 5
    [ -n "$compact" ] || { stop_zelk; return; }
    xdotool windowactivate --sync "$compact" 2>/dev/null
    sleep 0.3
    xdotool type --delay 40 "50"
    clear_clipboard
    xdotool key Return Tab Tab ctrl+c
    check "the compact window calculates (gross 59,50)" eventually 5 clipboard_is "59,50"
    shoot "$compact" compact-window.png
    check "a minimised compact window shows itself again" minimised_comes_back "$compact"
    xdotool windowactivate --sync "$compact" 2>/dev/null
    xdotool key alt+F4
    win=$(wait_window "$main_title" 10)
    check "closing it brings the main window back" [ -n "$win" ]
    check "the compact window is gone" wait_gone "^Zelk. 2010$" 5
    if [ -n "$win" ]; then
        xdotool windowactivate --sync "$win" 2>/dev/null
        clear_clipboard
        xdotool type --delay 40 "7"
        xdotool key ctrl+c
        check "the main window starts with empty amounts" eventually 5 clipboard_is "7"
    fi
    stop_zelk
}

case_information_windows() {
    local win dialog message
    start_main || return
    click_in "$win" "$info_bar"
    dialog=$(wait_window "^Copyright$" 10)
    check "the about window opens" [ -n "$dialog" ]
    [ -n "$dialog" ] && shoot "$dialog" about-window.png
    xdotool key Escape
    wait_gone "^Copyright$" 5
    click_in "$win" "$auto_bar"
    dialog=$(wait_window "^Autostartfunktion$" 10)
    check "the autostart window opens" [ -n "$dialog" ]
    [ -n "$dialog" ] && shoot "$dialog" autostart-window.png
    xdotool key alt+e
    message=$(wait_window "^Autostart$" 10)
    check "entering shows its message" [ -n "$message" ]
    check "the autostart entry exists" [ -f "$home/.config/autostart/zelk.desktop" ]
    xdotool key Return
    wait_gone "^Autostart$" 5
    xdotool key Escape
    wait_gone "^Autostartfunktion$" 5
    click_in "$win" "$links_bar"
    check "Links opens its menu" quietly wait_menu 10
    xdotool key z
    dialog=$(wait_window "^Spende / Anerkennung$" 10)
    check "the donation window opens" [ -n "$dialog" ]
    [ -n "$dialog" ] && shoot "$dialog" donation-window.png
    xdotool key alt+z
    check "Alt+Z closes it" wait_gone "^Spende / Anerkennung$" 5
    stop_zelk
}

press_finish() {
    xdotool key alt+f
    wait_window "$main_title" 1 >/dev/null
}

case_wizard() {
    home=$(mktemp -d)
    mkdir -p "$home/.config/zelk"
    printf '[Zelk_Satz]\nx.Text=16\n' >"$home/.config/zelk/Zelk_2009.ini"
    start_zelk_in "$home"
    local wizard win
    wizard=$(wait_window "^Zelk. 2010 Daten" 30)
    check "the 2009 wizard opens after the splash" [ -n "$wizard" ]
    [ -n "$wizard" ] || { stop_zelk; return; }
    xdotool windowactivate --sync "$wizard" 2>/dev/null
    xdotool key alt+w
    check "Weiter takes the old settings over" eventually 10 [ ! -f "$home/.config/zelk/Zelk_2009.ini" ]
    shoot "$wizard" wizard.png
    xdotool key alt+udiaeresis
    # A mnemonic clicks its button a moment after the key, and Fertig exists
    # only once Übernehmen has been handled: an early Alt+F does nothing.
    check "Übernehmen, then Fertig opens the main window" eventually 10 press_finish
    win=$(wait_window "$main_title" 1)
    if [ -n "$win" ]; then
        xdotool windowactivate --sync "$win" 2>/dev/null
        clear_clipboard
        xdotool key Tab ctrl+c
        check "the main window shows the taken-over rate" eventually 5 clipboard_is "16"
    fi
    stop_zelk
}


# "left top right bottom" of a window's frame: its client area from xwininfo,
# widened by the extents the window manager reports.
frame_of() {
    local info x y w h l r t b
    info=$(xwininfo -id "$1") || return 1
    x=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
    w=$(awk '/Width:/ { print $NF }' <<<"$info")
    h=$(awk '/Height:/ { print $NF }' <<<"$info")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((x - ${l:-0})) $((y - ${t:-0})) $((x + w + ${r:-0})) $((y + h + ${b:-0}))"
}

# How many pixels of the given colours (rrggbb) a window shows.
pixels_of() { # pixels_of <window> <colour>...
    local win=$1
    shift
    import -window "$win" -depth 8 ppm:- 2>/dev/null | python3 "$realwindow_dir/xsession.py" "$@"
}
# The box with the keyboard focus is light yellow (rate box and main window
# boxes ffff80, the compact window's amounts ffffc0).
shows_focus_colour() { [ "$(pixels_of "$1" ffff80 ffffc0)" -gt 200 ]; }

# The menu is built anew for every right click, so asking again is harmless.
right_click_tray_icon() {
    click_tray_icon 3 && wait_menu 3
}
# Opens the tray icon's menu and clicks its first (öffnen) or last (Programm
# beenden) entry.
tray_menu_click() { # tray_menu_click first|last
    local menu x y w h
    menu=$(eventually 10 right_click_tray_icon) || return 1
    import -window root "$shots/tray-menu.png" 2>/dev/null
    read -r _ x y w h <<<"$menu"
    if [ "$1" = first ]; then y=$((y + 12)); else y=$((y + h - 12)); fi
    xdotool mousemove $((x + w / 2)) "$y" click 1
}

case_tray() {
    local win balloon icon
    start_main || return
    xdotool windowactivate --sync "$win" 2>/dev/null
    xdotool type --delay 40 "42"
    xdotool windowminimize "$win"
    check "minimised window leaves the screen" wait_gone "$main_title" 5
    check "tray icon appears" eventually 5 tray_icon_shown
    tray_icon_shown || { stop_zelk; return; }
    balloon=$(wait_menu 10)
    check "the balloon appears" [ -n "$balloon" ]
    import -window root "$shots/tray.png" 2>/dev/null
    if [ -n "$balloon" ]; then
        read -r icon _ < <(tray_icon_centre)
        set -- $balloon
        check "the balloon (x $2 to $(($2 + $4))) points at the icon (x $icon)" \
            [ "$2" -le $((icon + 40)) -a $(($2 + $4)) -ge $((icon - 40)) ]
    fi
    click_tray_icon 1
    win=$(wait_window "$main_title" 5)
    check "a click restores the window" [ -n "$win" ]
    check "the icon is gone after restoring" eventually 5 tray_icon_gone

    xdotool windowminimize "$win"
    check "minimising again brings the icon back" eventually 10 tray_icon_shown
    check "right click shows the menu" tray_menu_click first
    win=$(wait_window "$main_title" 5)
    check "öffnen brings the window back" [ -n "$win" ]
    check "the icon is gone" eventually 5 tray_icon_gone
    clear_clipboard
    xdotool key ctrl+c
    check "the program lives on with the typed amount" eventually 5 clipboard_is "42"

    xdotool windowminimize "$win"
    check "minimising once more brings the icon back" eventually 10 tray_icon_shown
    check "right click shows the menu" tray_menu_click last
    check "Programm beenden ends the program" ended
    stop_zelk
}

case_quick_restore() {
    local win round
    start_main || return
    xdotool windowactivate --sync "$win" 2>/dev/null
    # Every round starts from a settled, active window, as after a restore.
    check "the started window shows the focus colour" eventually 10 shows_focus_colour "$win"
    # The widgets miss the activation now and then only: several rounds.
    for round in 1 2 3 4 5 6; do
        xdotool windowminimize "$win"
        # Clicked the moment the icon is there, while the window manager may
        # still be busy with the minimised window.
        click_tray_icon 1
        win=$(wait_window "$main_title" 5) || {
            check "round $round: a quick click restores the window" false
            break
        }
        eventually 5 shows_focus_colour "$win" || { check "round $round: the restored window shows the focus colour" false; break; }
    done
    check "a quick click restores the window with its focus, six times" [ "$case_failed" = 0 ]
    # Tab selects the rate, so that typing replaces it.
    xdotool key Tab
    xdotool type --delay 40 "5"
    clear_clipboard
    # The rate box copies its selection only.
    xdotool key ctrl+a ctrl+c
    check "Tab and 5 make the rate 5" eventually 5 clipboard_is "5"

    xdotool windowminimize "$win"
    click_tray_icon 1
    win=$(wait_window "$main_title" 5)
    # Minimised again and the new icon clicked within the double-click time
    # of the first click: the window manager and Qt see a double click.
    xdotool windowminimize "$win"
    click_tray_icon 1
    check "a click right after the last restore restores again" quietly wait_window "$main_title" 5
    check "and the icon goes" eventually 5 tray_icon_gone
    stop_zelk
}

# Runs "xprop -spy" on a window's WM_STATE into a file: the states it went through.
spy_state() { # spy_state <window> <file>
    xprop -spy -id "$1" WM_STATE >"$2" 2>/dev/null &
    pids+=($!)
    eventually 5 [ -s "$2" ]
}
# The state changed twice after the first report (to Iconic and back; xprop
# may read both changes late and see Normal twice) and is Normal now.
went_iconic_and_back() { # went_iconic_and_back <file>
    [ "$(grep -c "window state:" "$1")" -ge 3 ] && grep "window state:" "$1" | tail -n 1 | grep -q Normal
}

# Minimises a window and waits until it is back in the Normal state; prints
# the states it went through when it does not come back.
minimised_comes_back() { # minimised_comes_back <window>
    local states ok=0
    states=$(mktemp)
    spy_state "$1" "$states"
    xdotool windowminimize "$1"
    eventually 5 went_iconic_and_back "$states" || { ok=1; sed 's/^/    WM_STATE /' "$states"; }
    rm -f "$states"
    return $ok
}

case_minimised_with_modal_window() {
    local win dialog
    start_main || return
    click_in "$win" "$info_bar"
    dialog=$(wait_window "^Copyright$" 10)
    check "the about window opens" [ -n "$dialog" ]
    check "minimising with a modal window open leaves the window on screen" minimised_comes_back "$win"
    check "with the modal window on it" quietly wait_window "^Copyright$" 5
    check "and no tray icon" tray_icon_gone
    xdotool key Escape
    check "Escape closes the modal window" wait_gone "^Copyright$" 5
    clear_clipboard
    xdotool windowactivate --sync "$win" 2>/dev/null
    xdotool type --delay 40 "7"
    xdotool key ctrl+c
    check "the main window takes keys again" eventually 5 clipboard_is "7"
    stop_zelk
}

start_second_zelk() {
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
        LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 "$zelk" >>"$home/zelk.log" 2>&1 &
    second_pid=$!
}
second_ended() { ! kill -0 "$second_pid" 2>/dev/null; }
count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

case_second_start() {
    local win
    start_main || return
    start_second_zelk
    check "a second start ends at once" eventually 5 second_ended
    check "leaving one main window" [ "$(count_windows "$main_title")" = 1 ]
    xdotool windowminimize "$win"
    eventually 5 tray_icon_shown
    start_second_zelk
    check "a second start brings the window back from the tray" quietly wait_window "$main_title" 10
    check "and the icon goes" eventually 5 tray_icon_gone
    stop_zelk
}

case_double_start_with_old_rate() {
    home=$(mktemp -d)
    mkdir -p "$home/.config/zelk"
    printf '[Zelk_Satz]\nx.Text=16\n' >"$home/.config/zelk/Zelk_2009.ini"
    start_zelk_in "$home"
    start_second_zelk
    local wizard
    # Started at the same moment, either may win; the other one ends.
    one_ended() { zelk_gone || second_ended; }
    check "one of the two starts ends" eventually 10 one_ended
    zelk_gone && zelk_pid=$second_pid
    wizard=$(wait_window "^Zelk. 2010 Daten" 30)
    check "the wizard opens" [ -n "$wizard" ]
    check "once" [ "$(count_windows "^Zelk. 2010 Daten")" = 1 ]
    check "the other start goes on" [ "$(zelk_gone && echo gone)" != gone ]
    if [ -n "$wizard" ]; then
        xdotool windowactivate --sync "$wizard" 2>/dev/null
        xdotool key alt+w
        check "Weiter takes the rate over" eventually 10 [ ! -f "$home/.config/zelk/Zelk_2009.ini" ]
        check "and stores it" grep -q '^x.Text=16$' "$home/.config/zelk/Zelk_2010.ini"
    fi
    stop_zelk
}

case_windows_on_screen() {
    local win l t r b
    start_main || return
    # The frame is known once the window is on screen; the window is placed again then.
    frame_centred() {
        read -r l t r b < <(frame_of "$win")
        [ $((l - (1024 - r))) -ge -2 -a $((l - (1024 - r))) -le 2 -a $((t - (768 - b))) -ge -2 -a $((t - (768 - b))) -le 2 ]
    }
    check "the main window is centred with its frame" eventually 5 frame_centred
    check "(frame $l $t $r $b)" true
    stop_zelk

    # Twice the size: the main window is wider than the screen, the about window taller.
    QT_SCALE_FACTOR=2 start_zelk
    win=$(wait_window "$main_title" 30) || { check "main window appears at scale 2" false; stop_zelk; return; }
    frame_on_screen() {
        read -r l t r b < <(frame_of "$1")
        [ "$l" -ge 0 -a "$t" -ge 0 ]
    }
    check "at scale 2 the main window's left edge and title bar are on screen" eventually 5 frame_on_screen "$win"
    check "(frame $l $t $r $b)" true
    set -- $info_bar
    xdotool mousemove --window "$win" $(($1 * 2)) $(($2 * 2)) click 1
    local about
    about=$(wait_window "^Copyright$" 10)
    check "the about window opens" [ -n "$about" ]
    [ -n "$about" ] && check "its title bar is on screen" eventually 5 frame_on_screen "$about"
    stop_zelk
}

case_no_tray_host() {
    local win
    start_main || return
    xdotool windowminimize "$win"
    # Without a notification area the window stays iconified on the task bar.
    check "window is iconified, not withdrawn" eventually 5 bash -c "xprop -id $win WM_STATE | grep -q Iconic"
    stop_zelk
}

case_tray_host_goes_away() {
    local win
    start_main || return
    xdotool windowminimize "$win"
    check "the window goes into the tray" eventually 10 tray_icon_shown
    # The panel crashes.
    { kill -KILL "$tray_pid" && wait "$tray_pid"; } 2>/dev/null
    check "the main window comes back when the notification area goes" quietly wait_window "$main_title" 5
    # The panel restarts: minimising uses it again.
    start_tray
    xdotool windowminimize "$win"
    check "minimised again, it leaves the screen" wait_gone "$main_title" 5
    check "for the new tray" eventually 10 tray_icon_shown
    stop_zelk
}

# Without a notification area first: the tray host takes the top of the screen.
run_case "start-up" case_startup
run_case "calculation through the clipboard" case_calculation
run_case "compact window" case_compact_window
run_case "information windows" case_information_windows
run_case "migration wizard" case_wizard
run_case "double start with an old rate" case_double_start_with_old_rate
run_case "windows on screen" case_windows_on_screen
run_case "no notification area" case_no_tray_host
start_tray
run_case "notification area" case_tray
run_case "quick restore from the tray" case_quick_restore
run_case "minimised with a modal window open" case_minimised_with_modal_window
run_case "second start" case_second_start
run_case "the notification area goes away" case_tray_host_goes_away

finish
