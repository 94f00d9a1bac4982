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
source "$(dirname "$0")/xsession.sh"

main_title="Zelk. 2010    -    Freeware"

case_calculation() {
    start_zelk
    local win
    win=$(wait_window "$main_title" 30) || { check "main window appears" false; stop_zelk; return; }
    xdotool windowactivate --sync "$win" 2>/dev/null
    sleep 0.3
    xdotool type --delay 40 "100"
    xdotool key Return
    sleep 0.3
    import -window "$win" "$shots/main-window.png" 2>/dev/null
    # Tab leads from netto over x to brutto, whose whole text Ctrl+C copies.
    xdotool key Tab Tab ctrl+c
    sleep 0.3
    check "net 100 at 19 % gives gross 119,00" [ "$(clipboard)" = "119,00" ]
    xdotool key a
    local dialog
    dialog=$(wait_window "Falsche Eingabe" 5)
    check "a letter shows Falsche Eingabe" [ -n "$dialog" ]
    import -window root "$shots/falsche-eingabe.png" 2>/dev/null
    xdotool key Return
    wait_gone "Falsche Eingabe" 5
    xdotool key ctrl+c
    sleep 0.3
    check "the box keeps its text" [ "$(clipboard)" = "119,00" ]
    stop_zelk
}

case_tray() {
    trayer --edge top --align right --widthtype pixel --width 120 --height 24 --SetDockType true \
        >/dev/null 2>&1 &
    local tray=$!
    sleep 1
    start_zelk
    local win
    win=$(wait_window "$main_title" 30) || { check "main window appears" false; stop_zelk; kill $tray; return; }
    xdotool windowminimize "$win"
    check "minimised window leaves the screen" wait_gone "$main_title" 5
    local centre
    for _ in $(seq 30); do centre=$(tray_icon_centre); [ -n "$centre" ] && break; sleep 0.1; done
    check "tray icon appears" [ -n "$centre" ]
    import -window root "$shots/tray.png" 2>/dev/null
    if [ -n "$centre" ]; then
        xdotool mousemove $centre click 1
        check "a click restores the window" wait_window "$main_title" 5
        sleep 0.5
        check "the icon is gone after restoring" [ -z "$(tray_icon_centre)" ]
        xdotool windowminimize "$(wait_window "$main_title" 5)"
        wait_gone "$main_title" 5
        for _ in $(seq 30); do centre=$(tray_icon_centre); [ -n "$centre" ] && break; sleep 0.1; done
        xdotool mousemove $centre click 3
        sleep 0.7
        import -window root "$shots/tray-menu.png" 2>/dev/null
        # The popup menu is the small zelk window now on screen; its last entry ends the program.
        local menu geometry
        menu=$(xdotool search --onlyvisible --class zelk 2>/dev/null | while read -r id; do
            eval "$(xdotool getwindowgeometry --shell "$id")"
            [ "$HEIGHT" -lt 120 ] && [ "$WIDTH" -lt 400 ] && [ "$WIDTH" -gt 60 ] && echo "$X $Y $WIDTH $HEIGHT"
        done | head -n 1)
        check "right click shows the menu" [ -n "$menu" ]
        if [ -n "$menu" ]; then
            set -- $menu
            xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 - 12)) click 1
            check "Programm beenden ends the program" ended
        fi
    fi
    stop_zelk
    kill $tray 2>/dev/null
    wait $tray 2>/dev/null
}

case_no_tray_host() {
    start_zelk
    local win
    win=$(wait_window "$main_title" 30) || { check "main window appears" false; stop_zelk; return; }
    xdotool windowminimize "$win"
    sleep 0.7
    # Without a notification area the window stays iconified on the task bar.
    check "window is iconified, not withdrawn" bash -c "xprop -id $win WM_STATE | grep -q Iconic"
    stop_zelk
}

run_case "calculation through the clipboard" case_calculation
run_case "notification area" case_tray
run_case "no notification area" case_no_tray_host

finish
