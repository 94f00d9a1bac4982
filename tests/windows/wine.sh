#!/usr/bin/env bash
# Runs the Windows build (zelk.exe) under Wine on Xvfb with openbox, in a Wine
# prefix made for this run, and drives it like a user. The registry, the Run
# key, the HTML Help viewer and the Windows version are Wine's own
# implementations of the Windows interfaces, read back with `wine reg`,
# xclip (Wine shares the clipboard with X) and tesseract (text on screen).
# Usage: wine.sh <source folder> <zelk.exe> <screenshot folder>
set -u
source_dir=$1
exe=$2
shots=${3:-/tmp/zelk-wine-screenshots}

if [ ! -d "$source_dir/../shared/windows" ]; then
    echo "SKIP: no ../shared/windows beside the source folder, so there is no static Qt for Windows and no zelk.exe"
    exit 77
fi
for tool in wine wineboot wineserver tesseract; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (Debian: wine wine64 tesseract-ocr)"
        exit 77
    fi
done
build_it="./dev.sh test builds it, or: ZELK_WINDOWS_QT=<unpacked Qt> cmake --preset windows && cmake --build --preset windows"
if [ ! -f "$exe" ]; then
    echo "SKIP: $exe is not built ($build_it)"
    exit 77
fi
stale=$(find "$source_dir/src" -name '*.[ch]*' -newer "$exe" -print -quit)
[ -z "$stale" ] || { echo "SKIP: $exe is older than $stale ($build_it)"; exit 77; }
if [ ! -f "$(dirname "$exe")/zelk.chm" ]; then
    echo "FAILED: zelk.chm is not beside $exe"
    exit 1
fi

exe=$(realpath "$exe")
zelk=$exe # for xsession.sh
mkdir -p "$shots"
source "$(dirname "$0")/../realwindow/xsession.sh"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# Mono and Gecko are not installed; without this the first start asks to download
# them. No menu entries for the prefix in the user's desktop either.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# German number formats: Wine takes the Windows locale from these.
german=(env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8)

cleanup_wine() {
    wineserver -k 2>/dev/null
    cleanup
    rm -rf "$work"
}
trap cleanup_wine EXIT

begin=$(date +%s)
# A fresh prefix on every run: whatever an earlier run left in the registry
# cannot make a case pass.
wineboot -i >"$work/wineboot.log" 2>&1
# Windows 10, as the users have it; Arial (which Wine lacks) is Liberation
# Sans, so that texts measure as on Windows.
wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
wineserver -w
echo "Wine prefix ready after $(($(date +%s) - begin)) s"

main_title="Zelk. 2010    -    Freeware"
# Toolbar buttons, in pixels from the main window's top-left corner.
save_bar="58 14"  # the arrow of the split button
info_bar="318 14"
auto_bar="465 14"
netto_box="60 112"
rate_box="305 68"
brutto_box="450 112"
vb_settings='HKCU\Software\VB and VBA Program Settings'
run_key='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'

start_exe() {
    "${german[@]}" wine "$exe" >"$work/zelk.log" 2>&1 &
    zelk_pid=$!
}

stop_exe() {
    kill "$zelk_pid" 2>/dev/null
    wait "$zelk_pid" 2>/dev/null
    # wait for the program's windows to go, not for a time
    eventually 10 no_window_named "^Zelk"
}

# A click that only activates the window under Wine opens nothing: click again
# until the window named $3 is there, and print its id.
open_by_click() { # open_by_click <window> <x y> <name>
    xdotool windowactivate --sync "$1" 2>/dev/null
    click_in "$1" "$2"
    wait_window "$3" 3
}
# Keys pressed before Wine has given a new window the focus are lost: press again.
key_opens() { # key_opens <window name> <key> <name of the window the key opens>
    xdotool windowactivate --sync "$(window_named "$1")" 2>/dev/null
    xdotool key "$2"
    wait_window "$3" 3
}
key_closes() { # key_closes <window name> <key>
    local id
    id=$(window_named "$1") || return 0
    xdotool windowactivate --sync "$id" 2>/dev/null
    xdotool key "$2"
    wait_gone "$1" 3
}
open_menu() { # open_menu <window> <x y>
    xdotool windowactivate --sync "$1" 2>/dev/null
    click_in "$1" "$2"
    wait_menu 3
}

# The text that tesseract reads in a screenshot, on one line, enlarged first
# because the program's 8 pt texts are small for it. It mistakes some small
# characters (0 for 9, ; for :), so the patterns below allow for that.
screen_text() { # screen_text <png>
    convert "$1" -resize 400% -colorspace Gray "$work/ocr.png" 2>/dev/null
    tesseract "$work/ocr.png" - 2>/dev/null | tr '\n' ' '
}
shows_text() { grep -Eq "$2" <<<"$(screen_text "$1")"; } # shows_text <png> <extended regex>
# Takes the screenshot again until it shows the text: a window may still be painting.
shot_shows() { shoot "$1" "$2" && shows_text "$shots/$2" "$3"; } # shot_shows <window> <png> <regex>

# An empty toolbar place is its light gradient; each of these icons has a dark outline or body.
toolbar_icons_drawn() { # toolbar_icons_drawn <main window png>
    local place darkest
    for place in 16x16+10+6 16x16+299+6 16x16+482+6; do
        darkest=$(convert "$1" -crop "$place" +repage -colorspace Gray -format '%[fx:minima < 0.5]' info:)
        [ "$darkest" = 1 ] || return 1
    done
}

reg_value() { # reg_value <key> <value>: prints the value's data
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p" | grep .
}
reg_value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
no_reg_key() { ! wine reg query "$1" >/dev/null 2>&1; }
no_reg_value() { ! wine reg query "$1" /v "$2" >/dev/null 2>&1; }

# Clicks into a box, selects its text and copies it (the amount boxes take
# Ctrl+A for a wrong character). Nothing in a run copies
# the expected text before, so no marker is put into the clipboard first
# (Wine imports a new X clipboard owner a moment later and could overwrite
# the copy with it).
copied_from() { # copied_from <window> <x y> <text>
    xdotool windowactivate --sync "$1" 2>/dev/null
    click_in "$1" "$2"
    xdotool key End shift+Home ctrl+c
    eventually 2 clipboard_is "$3"
}
typed_into() { # typed_into <window> <x y> <text>
    xdotool windowactivate --sync "$1" 2>/dev/null
    click_in "$1" "$2"
    xdotool key End shift+Home BackSpace
    xdotool type --delay 60 "$3"
    xdotool key shift+Home ctrl+c
    eventually 2 clipboard_is "$3"
}

main_window() {
    local win
    win=$(wait_window "$main_title" 60) || return 1
    xdotool windowactivate --sync "$win" 2>/dev/null
    echo "$win"
}

case_calculation() {
    start_exe
    local win
    win=$(main_window)
    check "the main window appears with its title" [ -n "$win" ]
    [ -n "$win" ] || { stop_exe; return; }
    # Keys typed before Wine has given the window the focus are lost: type
    # again until the box holds the amount.
    check "netto takes 100" eventually 20 typed_into "$win" "$netto_box" 100
    xdotool key Return
    check "Enter in netto computes: 100 at 19 % gives gross 119,00" eventually 10 copied_from "$win" "$brutto_box" "119,00"
    # With Wine's own fallback font these were cut off; whole, they end in ':' and '.'.
    check "the rate label is whole (Mehrwertsteuer:)" eventually 15 shot_shows "$win" main-window.png 'Mehrwert[a-z]+[:;]'
    check "the toolbar draws its icons (Neu, Info, Beenden)" toolbar_icons_drawn "$shots/main-window.png"
    check "the netto hint is whole (... ermitteln.)" shows_text "$shots/main-window.png" 'erm[a-z]+\.'

    # Save the rate, then delete it again, through the save button's menu.
    check "the save menu opens" quietly eventually 20 open_menu "$win" "$save_bar"
    xdotool key s
    check "saving writes x.Text = 19 under Zelk_2010\\Zelk_Satz" \
        eventually 10 reg_value_is "$vb_settings\\Zelk_2010\\Zelk_Satz" x.Text 19
    quietly eventually 20 open_menu "$win" "$save_bar"
    xdotool key l
    check "deleting removes the section Zelk_Satz" eventually 10 no_reg_key "$vb_settings\\Zelk_2010\\Zelk_Satz"
    stop_exe
}

wizard_button="260 264" # Weiter, Übernehmen and Fertig, one after the other (below Wine's caption)
press_finish() {
    # (the wizard may be gone already: no X error about it)
    click_in "$wizard" "$wizard_button" 2>/dev/null
    wait_window "$main_title" 1 >/dev/null
}

case_wizard() {
    wine reg add "$vb_settings\\Zelk_2009\\Zelk_Satz" /v x.Text /t REG_SZ /d 16 /f >/dev/null 2>&1
    start_exe
    local wizard win
    wizard=$(wait_window "^Zelk. 2010 Daten" 60)
    check "a 2009 rate in the registry opens the 2009 wizard" [ -n "$wizard" ]
    [ -n "$wizard" ] || { stop_exe; return; }
    xdotool windowactivate --sync "$wizard" 2>/dev/null
    check "its first page is whole (... auf WEITER.)" eventually 15 shot_shows "$wizard" wizard-start.png 'WEITER\.'
    xdotool key alt+w
    check "Weiter moves the rate to Zelk_2010" eventually 10 reg_value_is "$vb_settings\\Zelk_2010\\Zelk_Satz" x.Text 16
    check "and deletes the old key Zelk_2009" eventually 10 no_reg_key "$vb_settings\\Zelk_2009"
    check "its second page is whole (... Registrierung zu löschen.)" \
        eventually 15 shot_shows "$wizard" wizard.png 'schen\.'
    # Alt+Ü does not reach the program through Wine's US keyboard: click the button.
    click_in "$wizard" "$wizard_button"
    # Fertig takes its place once Übernehmen has been handled: an early click does nothing.
    check "Übernehmen, then Fertig opens the main window" eventually 15 press_finish
    win=$(main_window)
    [ -n "$win" ] && check "which shows the moved rate 16" eventually 10 copied_from "$win" "$rate_box" 16
    stop_exe
}

# Wine names the build folder as drive Z:.
run_value_is_program() {
    [ "$(reg_value "$run_key" zelk)" = "Z:$(dirname "$exe" | tr / '\\')\\zelk.exe" ]
}

press_f1() {
    xdotool windowactivate --sync "$1" 2>/dev/null
    xdotool key F1
    wait_window "^Zelk. 2010 Hilfe$" 5
}

case_autostart_about_help() {
    start_exe
    local win dialog
    win=$(main_window) || { check "main window appears" false; stop_exe; return; }
    dialog=$(eventually 20 open_by_click "$win" "$auto_bar" "^Autostartfunktion$")
    check "the autostart window opens" [ -n "$dialog" ]
    if [ -n "$dialog" ]; then
        check "Eintragen confirms" quietly eventually 15 key_opens "^Autostartfunktion$" alt+e "^Autostart$"
        check "and writes the Run value zelk = <program folder>\\zelk.exe" eventually 10 run_value_is_program
        check "the message closes" eventually 15 key_closes "^Autostart$" Return
        check "Entfernen confirms" quietly eventually 15 key_opens "^Autostartfunktion$" alt+a "^Autostart$"
        check "and removes the Run value" eventually 10 no_reg_value "$run_key" zelk
        check "the message closes" eventually 15 key_closes "^Autostart$" Return
        check "Escape closes the autostart window" eventually 15 key_closes "^Autostartfunktion$" Escape
    fi

    dialog=$(eventually 20 open_by_click "$win" "$info_bar" "^Copyright$")
    check "the about window opens" [ -n "$dialog" ]
    if [ -n "$dialog" ]; then
        check "it names the system as Windows NT ( Version 10.0, ... )" \
            eventually 15 shot_shows "$dialog" about-window.png 'Windows NT \S{0,2} ?Version 10\.[0-9],'
        check "Escape closes it" eventually 15 key_closes "^Copyright$" Escape
    fi

    local help
    help=$(eventually 20 press_f1 "$win")
    check "F1 opens the HTML Help viewer on zelk.chm (its title)" [ -n "$help" ]
    # Wine has no Gecko here, so the topic pane stays blank; the contents list is the help file's.
    [ -n "$help" ] && check "with zelk.chm's contents, umlauts whole" \
        eventually 15 shot_shows "$help" help.png 'Hauptfenster.*Daten[üui]{1,2}bernahme.*Tastatur'
    stop_exe
}

# The compact window is a tool window, which Windows shows without handing it
# the keyboard unless the program asks: digits typed right after "Ansicht
# wechseln", with no click, must reach its netto box.
x_focus_in() { # x_focus_in <window>: the X input focus is on it or one of its children
    local focused
    focused=$(xdotool getwindowfocus 2>/dev/null) || return 1
    [ "$focused" = "$1" ] || xwininfo -id "$1" -tree 2>/dev/null | grep -q "^ *$(printf '0x%x' "$focused") "
}
# The window has the X focus, and the program has put it into a box: the box
# shows the light yellow (ffffc0) of a focused amount box.
keyboard_in() { # keyboard_in <window>
    local yellow
    x_focus_in "$1" && shoot "$1" compact-focus.png || return 1
    yellow=$(convert "$shots/compact-focus.png" -alpha off -fill black +opaque '#ffffc0' -fill white -opaque '#ffffc0' \
        -format '%[fx:int(mean*w*h)]' info: 2>/dev/null)
    [ "${yellow:-0}" -gt 300 ]
}

# OCR finds the few small words of the compact window only in the lower right
# corner alone, where the Vordergrund button is; a cut button reads "...run".
corner_shows() { # corner_shows <window> <extended regex>
    shoot "$1" compact-window.png || return 1
    convert "$shots/compact-window.png" -gravity southeast -crop 100x30+0+0 +repage "$work/corner.png" &&
        shows_text "$work/corner.png" "$2"
}

case_compact_keyboard() {
    local modus_bar="235 14" win compact
    # 19 %, whatever rate an earlier case left stored.
    wine reg delete "$vb_settings\\Zelk_2010" /f >/dev/null 2>&1
    start_exe
    win=$(main_window) || { check "main window appears" false; stop_exe; return; }
    compact=$(eventually 20 open_by_click "$win" "$modus_bar" "^Zelk. 2010$")
    check "Ansicht wechseln opens the compact window" [ -n "$compact" ]
    [ -n "$compact" ] || { stop_exe; return; }
    check "which takes the keyboard by itself" eventually 5 keyboard_in "$compact"
    xdotool type --delay 60 100
    # Tab leads from netto over x to brutto, whose whole text Ctrl+C copies.
    xdotool key Return Tab Tab ctrl+c
    check "digits typed without a click compute: gross 119,00" eventually 5 clipboard_is "119,00"
    check "the Vordergrund button is whole" eventually 15 corner_shows "$compact" 'Vorder[gqa]rund'
    # The static Qt for Windows has no translations: the program brings Qt's German texts along.
    xdotool key shift+F10
    local menu
    menu=$(wait_menu 5)
    check "brutto's context menu opens" [ -n "$menu" ]
    [ -n "$menu" ] && check "and speaks German (Einfügen, Alles auswählen)" \
        eventually 5 shot_shows "${menu%% *}" context-menu.png 'Einf.gen.*Alles'
    stop_exe
}

run_case "main window, calculation and the saved rate" case_calculation
run_case "2009 wizard" case_wizard
run_case "autostart, about window and help" case_autostart_about_help
run_case "compact window takes the keyboard" case_compact_keyboard
echo "whole run: $(($(date +%s) - begin)) s"
finish
