#!/usr/bin/env bash
# Runs the Windows build (zelk.exe) under Wine on Xvfb with openbox, in a Wine
# prefix made for this run, and drives it like a user. The registry, the Run
# key, the HTML Help viewer and the Windows version are Wine's own
# implementations of the Windows interfaces, read back with `wine reg`,
# xclip (Wine shares the clipboard with X) and tesseract (text on screen).
# The release (the zip and the installer) is checked, installed, used and
# uninstalled in the same prefix.
# Usage: wine.sh <source folder> <zelk.exe> <screenshot folder> <installer> <zip>
set -u
source_dir=$1
exe=$2
shots=${3:-/tmp/zelk-wine-screenshots}
setup=${4:-}
portable_zip=${5:-}

if [ ! -d "$source_dir/../shared/windows" ]; then
    echo "SKIP: no ../shared/windows beside the source folder, so there is no static Qt for Windows and no zelk.exe"
    exit 77
fi
for tool in wine wineboot wineserver tesseract wrestool icotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (Debian: wine wine64 tesseract-ocr icoutils)"
        exit 77
    fi
done
build_it="./dev.sh test builds it, or: ZELK_WINDOWS_QT=<unpacked Qt> cmake --preset windows && cmake --build --preset windows --target windows_release"
for artifact in "$exe" "$setup" "$portable_zip"; do
    if [ ! -f "$artifact" ]; then
        echo "SKIP: ${artifact:-the release} is not built ($build_it)"
        exit 77
    fi
done
stale=$(find "$source_dir/src" -name '*.[ch]*' -newer "$exe" -print -quit)
[ -z "$stale" ] || { echo "SKIP: $exe is older than $stale ($build_it)"; exit 77; }
stale=$(find "$exe" "$source_dir/packaging/windows" -newer "$setup" -print -quit)
[ -z "$stale" ] || { echo "SKIP: $setup is older than $stale ($build_it)"; exit 77; }
if [ ! -f "$(dirname "$exe")/zelk.chm" ]; then
    echo "FAILED: zelk.chm is not beside $exe"
    exit 1
fi

exe=$(realpath "$exe")
setup=$(realpath "$setup")
portable_zip=$(realpath "$portable_zip")
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

# HKCU\Software as text, one line per key and value, for comparing; without
# Software\Wine, where Wine keeps values of its own while a program runs.
software_keys() { # software_keys <file>
    wine reg export 'HKCU\Software' "$work/export.reg" /y >/dev/null 2>&1 || return 1
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | grep . \
        | awk '/^\[/ { wine = index($0, "[HKEY_CURRENT_USER\\Software\\Wine") == 1 } !wine' >"$1"
}

case_plain_start_writes_nothing() {
    # As a new user has it, whatever the cases before stored.
    wine reg delete "$vb_settings" /f >/dev/null 2>&1
    software_keys "$work/before.txt"
    check "HKCU\\Software is exported before the start" [ -s "$work/before.txt" ]
    start_exe
    local win
    win=$(main_window)
    check "the main window appears" [ -n "$win" ]
    check "the close box ends the program" eventually 15 key_closes "$main_title" alt+F4
    check "the program has ended" eventually 10 zelk_gone
    stop_exe
    software_keys "$work/after.txt"
    check "a plain start leaves HKCU\\Software as it was" diff "$work/before.txt" "$work/after.txt"
}

list_button="341 72" # the rate box's side button: its list of stored rates
list_holds() { tr -d '\r' 2>/dev/null <"$list" | grep -qx "$1"; } # list_holds <entry>
list_lacks() { [ -f "$list" ] && ! list_holds "$1"; }
list_keeps_defaults() { list_holds 19 && list_holds 7; }

case_entry_list() {
    # A copy of the program in a folder of its own, so that zelk.dat lies beside it and nowhere else.
    local built=$exe
    local exe=$work/program/zelk.exe list=$work/program/zelk.dat win
    mkdir -p "$work/program" && cp "$built" "$exe"
    start_exe
    win=$(main_window)
    check "the main window appears" [ -n "$win" ]
    [ -n "$win" ] || { stop_exe; return; }
    check "the rate box takes 16" eventually 20 typed_into "$win" "$rate_box" 16
    check "its side button opens the list" quietly eventually 20 open_menu "$win" "$list_button"
    xdotool key h
    check "Aktuellen Wert hinzufügen writes 16 to zelk.dat beside zelk.exe" eventually 10 list_holds 16
    check "which keeps 19 and 7" list_keeps_defaults
    check "the list opens again" quietly eventually 20 open_menu "$win" "$list_button"
    # Eintrag entfernen, then the third entry: 19, 7, 16.
    xdotool key e Down Down Return
    check "removing 16 takes it out of zelk.dat" eventually 10 list_lacks 16
    check "and keeps 19 and 7" list_keeps_defaults
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
run_case "a plain start writes nothing to the registry" case_plain_start_writes_nothing
run_case "adding to and removing from the rate list" case_entry_list

# ---- The release: the zip and the installer, and what Explorer reads from zelk.exe.

# The version the release's file names carry (zelk-<version>-setup-x64.exe).
release_version=${setup##*/zelk-}
release_version=${release_version%-setup-x64.exe}
portable_exe="$work/portable/Zelk 2010/zelk.exe"
unpack_zip() {
    [ -f "$portable_exe" ] || { mkdir -p "$work/portable" && (cd "$work/portable" && cmake -E tar xf "$portable_zip"); }
}
# Raw resource data: type 14 is the icon group, 16 the version information, 24 the manifest.
resource() { wrestool -x --raw --type="$2" "$1" 2>/dev/null; } # resource <exe> <type>
version_string() { # version_string <exe> <name>: the value of a string in the version information
    resource "$1" 16 | strings -el | grep -A1 -x "$2" | sed -n 2p | grep .
}
# The fixed version that Explorer shows as the file version, as a.b.c.d.
fixed_version() { # fixed_version <exe>
    local hex
    hex=$(resource "$1" 16 | od -An -tx1 -v | tr -d ' \n')
    hex=${hex#*bd04effe} # the fixed part's signature; its structure version, then two little-endian words
    hex=${hex:8:16}
    printf '%d.%d.%d.%d' "0x${hex:6:2}${hex:4:2}" "0x${hex:2:2}${hex:0:2}" "0x${hex:14:2}${hex:12:2}" \
        "0x${hex:10:2}${hex:8:2}" 2>/dev/null
}
icon_sizes() { # icon_sizes <exe>: "32 64 ..." of the first icon group
    wrestool -x --type=14 "$1" 2>/dev/null >"$work/icon.ico" || return 1
    icotool -l "$work/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | tr '\n' ' '
}
manifest_says() { resource "$1" 24 | tr -d '\n' | grep -Eq "$2"; } # manifest_says <exe> <regex>
manifest_well_formed() {
    resource "$1" 24 | python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.stdin.buffer)' 2>/dev/null
}
stripped() { x86_64-w64-mingw32-objdump -f "$1" | grep -q '^architecture' && ! x86_64-w64-mingw32-objdump -f "$1" | grep -q HAS_SYMS; }

case_release_files() {
    check "the zip holds the folder Zelk 2010 with zelk.exe and zelk.chm, nothing else" \
        [ "$(cmake -E tar tf "$portable_zip" | grep -v '/$' | sort | tr '\n' ' ')" = "Zelk 2010/zelk.chm Zelk 2010/zelk.exe " ]
    unpack_zip
    check "its zelk.exe is stripped" stripped "$portable_exe"
    check "the installer is under 10 MB ($(($(stat -c %s "$setup") / 1024)) KiB)" [ "$(stat -c %s "$setup")" -lt 10000000 ]
    local sizes
    sizes=$(icon_sizes "$portable_exe")
    check "zelk.exe carries its icon, 32 and 64 pixels (has: ${sizes:-none})" [ "$sizes" = "32 64 " ]
    check "its file version is the release's, $release_version.0 (has: $(fixed_version "$portable_exe"))" \
        [ "$(fixed_version "$portable_exe")" = "$release_version.0" ]
    local name
    for name in FileVersion ProductVersion; do
        check "its version information names $name $release_version.0" \
            [ "$(version_string "$portable_exe" "$name")" = "$release_version.0" ]
    done
    for name in CompanyName FileDescription ProductName LegalCopyright; do
        check "its version information has a $name" quietly version_string "$portable_exe" "$name"
    done
    check "in German (translation 0407, Unicode)" grep -q '0704b004' <(resource "$portable_exe" 16 | od -An -tx1 -v | tr -d ' \n')
    check "its manifest is well-formed XML" manifest_well_formed "$portable_exe"
    check "it runs as the invoker, without elevation" manifest_says "$portable_exe" 'requestedExecutionLevel level="asInvoker"'
    check "it declares Windows 10 and 11" manifest_says "$portable_exe" 'supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"'
    check "it is per-monitor DPI aware (v2)" manifest_says "$portable_exe" '<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>'
    check "it asks for the common controls 6" manifest_says "$portable_exe" 'name="Microsoft.Windows.Common-Controls" version="6'
    # Signing, as windows_release does it when the environment names a certificate.
    if command -v osslsigncode >/dev/null && command -v openssl >/dev/null; then
        openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 1 \
            -subj "/CN=Zelk test" >/dev/null 2>&1
        openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" -passout pass:test
        cp "$portable_exe" "$work/signed.exe"
        ZELK_SIGN_PKCS12=$work/cert.p12 ZELK_SIGN_PASSWORD=test bash "$source_dir/packaging/windows/sign.sh" "$work/signed.exe" >/dev/null
        check "a certificate in ZELK_SIGN_PKCS12 signs the program" \
            quietly osslsigncode verify -in "$work/signed.exe" -CAfile "$work/cert.pem"
    else
        echo "  skipped: signing (osslsigncode or openssl is not installed)"
    fi
}

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelk 2010'
windows_variable() { wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'; } # windows_variable <name>
installed() { [ -f "$installed_unix/$1" ]; } # installed <file>
installed_files() { (cd "$installed_unix" 2>/dev/null && ls | tr '\n' ' '); }
shortcut_to_program() { grep -aqF "$installed_win\\zelk.exe" "$shortcut_unix"; }
# The installed program's processes in this prefix (ps shows a Windows program by its path).
installed_program_pids() {
    local pid
    for pid in $(pgrep -f 'Zelk 2010.zelk\.exe'); do
        grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
    done
}
installed_program_runs() { [ -n "$(installed_program_pids)" ]; }
installed_program_ended() { ! installed_program_runs; }
close_installed_program() {
    key_closes "$main_title" alt+F4
    # shellcheck disable=SC2046 # one argument per process
    eventually 10 installed_program_ended || kill $(installed_program_pids) 2>/dev/null
    eventually 10 installed_program_ended
}
elapsed_ms() { echo $(((${EPOCHREALTIME//[!0-9]/} - $1) / 1000)); } # elapsed_ms <start in microseconds>
install_silently() { # install_silently [option]: sets status and took_ms
    local start=${EPOCHREALTIME//[!0-9]/}
    wine "$setup" /S "$@" >/dev/null 2>&1
    status=$?
    took_ms=$(elapsed_ms "$start")
}
# A Windows command line run by cmd from a batch file: wine's own quoting of
# arguments would hide the uninstaller's _?= behind a quote.
run_command_line() { # run_command_line <command line>: its exit code
    printf '@echo off\r\n%s\r\nexit /b %%ERRORLEVEL%%\r\n' "$1" >"$work/run.bat"
    wine cmd /c "$(winepath -w "$work/run.bat")" >/dev/null 2>&1
}
quiet_uninstall() { reg_value "$uninstall_key" QuietUninstallString; }
# The uninstaller runs as a copy of itself and returns at once; _?= keeps it in
# place and waiting, so that its exit code tells.
uninstall_refused() {
    run_command_line "$(quiet_uninstall) _?=$installed_win"
    [ $? = 2 ] && installed zelk.exe && installed zelk.chm && ! no_reg_key "$uninstall_key"
}
setup_refused() { install_silently && [ "$status" = 2 ]; }
uninstalled() { ! installed zelk.exe && ! installed zelk.chm && ! installed uninstall.exe && [ ! -e "$shortcut_unix" ] && no_reg_key "$uninstall_key"; }
uninstall_silently() { # sets took_ms
    local start=${EPOCHREALTIME//[!0-9]/} command
    command=$(quiet_uninstall) && run_command_line "$command" && eventually 10 uninstalled
    took_ms=$(elapsed_ms "$start")
}
entry_value_is() { reg_value_is "$uninstall_key" "$@"; }
# EstimatedSize in KiB, within a tenth of what the folder holds.
estimated_size_fits() {
    local size actual
    size=$(wine reg query "$uninstall_key" /v EstimatedSize 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD *//p')
    actual=$(du -sk "$installed_unix" | cut -f1)
    [ -n "$size" ] && [ $((size * 10)) -ge $((actual * 9)) ] && [ $((size * 10)) -le $((actual * 11)) ]
}

case_install_use_uninstall() {
    installed_win="$(windows_variable LOCALAPPDATA)\\Programs\\Zelk 2010"
    installed_unix=$(winepath -u "$installed_win")
    local shortcut_win win
    shortcut_win="$(windows_variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Zelk. 2010.lnk"
    shortcut_unix=$(winepath -u "$shortcut_win")
    list=$installed_unix/zelk.dat
    wine reg delete "$vb_settings" /f >/dev/null 2>&1
    wine reg delete "$run_key" /v zelk /f >/dev/null 2>&1
    unpack_zip

    install_silently /AUTOSTART
    check "a silent install with autostart succeeds" [ "$status" = 0 ]
    check "within 5 s ($took_ms ms)" [ "$took_ms" -lt 5000 ]
    check "into %LOCALAPPDATA%\\Programs\\Zelk 2010: zelk.exe, zelk.chm and the uninstaller (has: $(installed_files))" \
        [ "$(installed_files)" = "uninstall.exe zelk.chm zelk.exe " ]
    check "the installed zelk.exe is the zip's" cmp -s "$installed_unix/zelk.exe" "$portable_exe"
    check "the Start menu's shortcut Zelk. 2010 points at it" shortcut_to_program
    check "Beim Anmelden starten writes the Run value zelk = <folder>\\zelk.exe" \
        reg_value_is "$run_key" zelk "$installed_win\\zelk.exe"
    check "the uninstall entry names the program as its version information does" \
        entry_value_is DisplayName "$(version_string "$portable_exe" ProductName)"
    check "and its publisher" entry_value_is Publisher "$(version_string "$portable_exe" CompanyName)"
    check "and the release's version" entry_value_is DisplayVersion "$release_version"
    check "its icon is the program's" entry_value_is DisplayIcon "$installed_win\\zelk.exe,0"
    check "it uninstalls quietly with the installed uninstaller" \
        entry_value_is QuietUninstallString "\"$installed_win\\uninstall.exe\" /S"
    check "its size is the folder's" estimated_size_fits

    # As a user starts it from the Start menu.
    "${german[@]}" wine start "$shortcut_win" >"$work/zelk.log" 2>&1
    win=$(main_window)
    check "the shortcut starts the installed program" eventually 10 installed_program_runs
    if [ -n "$win" ]; then
        check "netto takes 100" eventually 20 typed_into "$win" "$netto_box" 100
        xdotool key Return
        check "and Enter computes brutto 119,00" eventually 10 copied_from "$win" "$brutto_box" "119,00"
        check "the rate box takes 16" eventually 20 typed_into "$win" "$rate_box" 16
        quietly eventually 20 open_menu "$win" "$save_bar"
        xdotool key s
        check "saving stores 16 in the registry" eventually 10 reg_value_is "$vb_settings\\Zelk_2010\\Zelk_Satz" x.Text 16
        quietly eventually 20 open_menu "$win" "$list_button"
        xdotool key h
        check "adding it to the list writes zelk.dat beside the installed zelk.exe" eventually 10 list_holds 16
        # The autostart window writes the same value as the installer.
        wine reg delete "$run_key" /v zelk /f >/dev/null 2>&1
        if eventually 20 open_by_click "$win" "$auto_bar" "^Autostartfunktion$" >/dev/null; then
            quietly eventually 15 key_opens "^Autostartfunktion$" alt+e "^Autostart$"
            check "the autostart window writes what the installer wrote" \
                eventually 10 reg_value_is "$run_key" zelk "$installed_win\\zelk.exe"
            eventually 15 key_closes "^Autostart$" Return
            eventually 15 key_closes "^Autostartfunktion$" Escape
        else
            check "the autostart window opens" false
        fi
    fi
    check "while it runs, the uninstaller refuses and removes nothing" uninstall_refused
    check "and so does the installer" setup_refused
    check "the program ends" close_installed_program

    install_silently
    check "installing again over it succeeds" [ "$status" = 0 ]
    check "within 5 s ($took_ms ms)" [ "$took_ms" -lt 5000 ]
    check "and keeps the list in zelk.dat" list_holds 16
    check "and the saved rate" reg_value_is "$vb_settings\\Zelk_2010\\Zelk_Satz" x.Text 16
    check "and the autostart entry" reg_value_is "$run_key" zelk "$installed_win\\zelk.exe"

    uninstall_silently
    check "a silent uninstall removes the program, the shortcut and the uninstall entry" uninstalled
    check "within 5 s ($took_ms ms)" [ "$took_ms" -lt 5000 ]
    check "and the Run value, which started this copy" no_reg_value "$run_key" zelk
    check "but keeps the saved rate" reg_value_is "$vb_settings\\Zelk_2010\\Zelk_Satz" x.Text 16
    check "and the list zelk.dat, alone in the folder (has: $(installed_files))" [ "$(installed_files)" = "zelk.dat " ]

    # Another copy's autostart entry is not this copy's to remove.
    local other='D:\Zelk 2010\zelk.exe'
    install_silently /AUTOSTART
    wine reg add "$run_key" /v zelk /t REG_SZ /d "$other" /f >/dev/null 2>&1
    uninstall_silently
    check "uninstalling again keeps the Run value of another copy" reg_value_is "$run_key" zelk "$other"
}

run_case "the release's files and zelk.exe's resources" case_release_files
run_case "install, use, install again and uninstall" case_install_use_uninstall
run_case "compact window takes the keyboard" case_compact_keyboard
echo "whole run: $(($(date +%s) - begin)) s"
finish
