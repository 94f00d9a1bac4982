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
# Toolbar buttons, in pixels from the main window's top-left corner.
kop_bar="110 14"
modus_bar="205 14"
info_bar="307 14"
links_bar="392 14"
auto_bar="450 14"

click_in() { # click_in <window> <x y>
    xdotool mousemove --window "$1" $2 click 1
}

shoot() { # shoot <window id> <file>
    import -window "$1" "$shots/$2" 2>/dev/null
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
    start_zelk
    local win compact
    win=$(wait_window "$main_title" 30) || { check "main window appears" false; stop_zelk; return; }
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
    start_zelk
    local win dialog message
    win=$(wait_window "$main_title" 30) || { check "main window appears" false; stop_zelk; return; }
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

# A freshly docked icon may miss the first click; the menu is built anew
# for every right click, so asking again is harmless.
right_click_tray_icon() {
    tray_icon_shown || return 1
    xdotool mousemove $(tray_icon_centre) click 3
    wait_menu 3
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
    check "tray icon appears" eventually 5 tray_icon_shown
    import -window root "$shots/tray.png" 2>/dev/null
    if tray_icon_shown; then
        xdotool mousemove $(tray_icon_centre) click 1
        check "a click restores the window" quietly wait_window "$main_title" 5
        check "the icon is gone after restoring" eventually 5 tray_icon_gone
        xdotool windowminimize "$(wait_window "$main_title" 5)"
        wait_gone "$main_title" 5
        check "minimising again brings the icon back" eventually 10 tray_icon_shown
        local menu
        menu=$(eventually 10 right_click_tray_icon)
        check "right click shows the menu" [ -n "$menu" ]
        import -window root "$shots/tray-menu.png" 2>/dev/null
        if [ -n "$menu" ]; then
            # Its last entry ends the program.
            set -- $menu
            xdotool mousemove $(($2 + $4 / 2)) $(($3 + $5 - 12)) click 1
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
    # Without a notification area the window stays iconified on the task bar.
    check "window is iconified, not withdrawn" eventually 5 bash -c "xprop -id $win WM_STATE | grep -q Iconic"
    stop_zelk
}

run_case "start-up" case_startup
run_case "calculation through the clipboard" case_calculation
run_case "compact window" case_compact_window
run_case "information windows" case_information_windows
run_case "migration wizard" case_wizard
run_case "notification area" case_tray
run_case "no notification area" case_no_tray_host

finish
