# The scenarios of the real-window suite, built from the user's actions. Each
# takes the cases (which start the program the launcher's way) and the session;
# the table at the end says which launchers run it and whether it needs a tray host.
import time

from actions import (alt_f4, click_icon, comes_back, escape, focus, press, read_box, second_start, shows_focus,
                     switch_view, to_tray, toolbar, tray_menu, type_amount, type_letter)
from places import COMPACT, MAIN, MODALS, WIZARD
from session import (clipboard, eventually, frame, keys, menus, minimise, screen, shoot, tray_icon_centre,
                     type_text, wait_gone, wait_window, windows_named, windows_of, wm_state)

ABOUT, WRONG = MODALS["about"], MODALS["wrong key"]


def main_window(c, **options):
    program = c.launch(**options)
    return program, c.require("the main window appears", wait_window(MAIN, 30))


def no_icon():
    return eventually(5, lambda: not tray_icon_centre())


def startup(c, session):
    begin = time.monotonic()
    program = c.launch()
    splash = eventually(5, lambda: windows_of(program.process.pid))
    shown = time.monotonic()
    c.check("the splash window comes first", splash)
    shoot(splash and splash[0], "splash.png")
    c.check("no main window during the splash", not windows_named(MAIN))
    wid = wait_window(MAIN, 30)
    # The splash stays three seconds; how long the start before and the main
    # window after take depends on the machine's load.
    splash_time, elapsed = time.monotonic() - shown, time.monotonic() - begin
    c.check(f"the main window after the splash's three seconds ({splash_time:.1f} s, {elapsed:.1f} s after the start)",
            wid and splash_time >= 2.9 and elapsed <= 10)
    c.check("the splash window is gone", eventually(5, lambda: windows_of(program.process.pid) == [wid]))


def calculation(c, session):
    _, wid = main_window(c)
    type_amount(MAIN, 100)
    shoot(wid, "main-window.png")
    # Tab leads from the net box over the rate to the gross box.
    c.check("net 100 at 19 % gives gross 119,00", read_box(MAIN, "Tab Tab") == "119,00")
    c.check("a letter shows Falsche Eingabe", type_letter(MAIN, "a"))
    shoot("root", "falsche-eingabe.png")
    press(WRONG, "Return", lambda: not windows_named(WRONG))
    c.check("the box keeps its text", read_box(MAIN) == "119,00")
    c.check("Kopieren opens its menu", toolbar("copy"))
    keys("a")
    c.check("Alles kopieren gives the three lines",
            eventually(5, lambda: clipboard() == "100 (Netto)\r\n19,00 (19 %)\r\n119,00 (Brutto)\r\n"))
    focus(MAIN)
    keys("End", *["BackSpace"] * 6)
    type_amount(MAIN, 238)
    c.check("gross 238 at 19 % gives net 200,00", read_box(MAIN, "shift+Tab shift+Tab") == "200,00")


def compact_window(c, session):
    main_window(c)
    type_amount(MAIN, 100)
    compact = c.require("Ansicht wechseln opens the compact window", switch_view())
    c.check("and unloads the main window", wait_gone(MAIN, 5))
    type_amount(COMPACT, 50)
    c.check("the compact window calculates (gross 59,50)", read_box(COMPACT, "Tab Tab") == "59,50")
    shoot(compact, "compact-window.png")
    c.check("a minimised compact window shows itself again", comes_back(compact))
    alt_f4(COMPACT)
    c.check("closing it brings the main window back", focus(MAIN))
    c.check("the compact window is gone", wait_gone(COMPACT, 5))
    type_text("7")
    c.check("the main window starts with empty amounts", read_box(MAIN) == "7")


def information_windows(c, session):
    program, _ = main_window(c)
    about = c.check("the about window opens", toolbar("about", ABOUT))
    shoot(about, "about-window.png")
    escape(ABOUT)
    dialog = c.check("the autostart window opens", toolbar("autostart", MODALS["autostart"]))
    shoot(dialog, "autostart-window.png")
    message = MODALS["autostart message"]
    c.check("entering shows its message", press(MODALS["autostart"], "alt+e", lambda: windows_named(message)))
    c.check("the autostart entry exists", program.autostart())
    press(message, "Return", lambda: not windows_named(message))
    escape(MODALS["autostart"])
    c.check("Links opens its menu", toolbar("links"))
    keys("z")
    donation = c.check("the donation window opens", wait_window(MODALS["donation"], 10))
    shoot(donation, "donation-window.png")
    c.check("Alt+Z closes it", press(MODALS["donation"], "alt+z", lambda: not windows_named(MODALS["donation"])))


def wizard(c, session):
    # Started twice at the same moment (autostart and a click), with a rate of 2009.
    program = c.launch(old_rate=16)
    c.check("one of the two starts ends", second_start(program))
    wid = c.require("the 2009 wizard opens after the splash", wait_window(WIZARD, 30))
    c.check("once", len(windows_named(WIZARD)) == 1)
    c.check("the other start goes on", program.alive())
    c.check("Weiter takes the old rate over", press(WIZARD, "alt+w", lambda: program.old_rate() is None))
    c.check("and stores it", program.stored_rate() == "16")
    shoot(wid, "wizard.png")
    press(WIZARD, "alt+udiaeresis")
    # Fertig exists only once Übernehmen has been handled: an early Alt+F does nothing.
    c.check("Übernehmen, then Fertig opens the main window",
            eventually(10, lambda: keys("alt+f") or wait_window(MAIN, 1)))
    c.check("the main window shows the taken-over rate", read_box(MAIN, "Tab") == "16")


def windows_on_screen(c, session):
    program, wid = main_window(c)
    width, height = screen()

    def centred():
        left, top, right, bottom = frame(wid)
        return abs(left - (width - right)) <= 2 and abs(top - (height - bottom)) <= 2

    c.check("the main window is centred with its frame", eventually(5, centred))
    program.stop()
    # Twice the size: the main window is wider than the screen, the about window taller.
    _, wid = main_window(c, env={"QT_SCALE_FACTOR": "2"})

    def on_screen(window):
        left, top, _, _ = frame(window)
        return left >= 0 and top >= 0

    c.check("at scale 2 the main window's left edge and title bar are on screen",
            eventually(5, lambda: on_screen(wid)))
    about = c.require("the about window opens", toolbar("about", ABOUT, scale=2))
    c.check("its title bar is on screen", eventually(5, lambda: on_screen(about)))


def no_tray_host(c, session):
    _, wid = main_window(c)
    minimise(wid)
    c.check("a minimised window is iconified, not withdrawn", eventually(5, lambda: wm_state(wid) == "Iconic"))


def tray(c, session):
    program, _ = main_window(c)
    focus(MAIN)
    type_text("42")
    c.require("a minimised window leaves the screen for the tray icon", to_tray())
    balloon = eventually(10, menus)
    c.check("the balloon appears", balloon)
    shoot("root", "tray.png")
    if balloon:
        icon, (_, x, _, w, _) = tray_icon_centre()[0], balloon[0]
        c.check(f"the balloon (x {x} to {x + w}) points at the icon (x {icon})", x <= icon + 40 and x + w >= icon - 40)
    c.check("a click restores the window", click_icon())
    c.check("the icon is gone after restoring", no_icon())
    c.check("minimising again brings the icon back", to_tray())
    c.check("öffnen in the icon's menu brings the window back", tray_menu(first=True))
    c.check("the icon is gone", no_icon())
    c.check("the program lives on with the typed amount", read_box(MAIN) == "42")
    c.check("minimising once more brings the icon back", to_tray())
    c.check("Programm beenden ends the program", tray_menu(first=False) and program.ended())


def quick_restore(c, session):
    _, wid = main_window(c)
    focus(MAIN)
    c.check("the started window shows the focus colour", eventually(10, lambda: shows_focus(wid)))
    # The widgets missed the activation now and then only: several rounds,
    # each clicked the moment the icon is there.
    for round_ in range(1, 7):
        minimise(wid)
        wid = click_icon()
        if not c.check(f"round {round_}: a quick click restores the window with its focus",
                       wid and eventually(5, lambda: shows_focus(wid))):
            return
    # Tab selects the rate, so that typing replaces it.
    keys("Tab")
    type_text("5")
    c.check("Tab and 5 make the rate 5", read_box(MAIN, "ctrl+a") == "5")
    # Minimised again and the new icon clicked within the double-click time
    # of the click before: Qt reports a double click only.
    for _ in range(2):
        wid = wid and (minimise(wid) or click_icon())
    c.check("a click right after the last restore restores again", wid)
    c.check("and the icon goes", no_icon())


def minimised_with_modal_window(c, session):
    _, wid = main_window(c)
    c.require("the about window opens", toolbar("about", ABOUT))
    c.check("minimising with a modal window open leaves the window on screen", comes_back(wid))
    c.check("with the modal window on it", wait_window(ABOUT, 5))
    c.check("and no tray icon", not tray_icon_centre())
    c.check("Escape closes the modal window", escape(ABOUT))
    focus(MAIN)
    type_text("7")
    c.check("the main window takes keys again", read_box(MAIN) == "7")


def second_start_case(c, session):
    program, wid = main_window(c)
    ended = second_start(program, 5)
    c.check("a second start ends at once", ended and ended is not program.process)
    c.check("leaving one main window", len(windows_named(MAIN)) == 1)
    c.require("the window goes into the tray", to_tray())
    second_start(program)
    wid = c.check("a second start brings the window back from the tray", wait_window(MAIN, 10))
    c.check("and the icon goes", no_icon())
    c.check("and to the front", eventually(5, lambda: wid and shows_focus(wid)))


def tray_host_goes_away(c, session):
    main_window(c)
    c.require("the window goes into the tray", to_tray())
    session.kill_tray()
    c.check("the main window comes back when the notification area goes", wait_window(MAIN, 5))
    session.start_tray()
    c.check("minimised again, it goes into the new tray", to_tray())


# name, scenario, needs a tray host, launchers that run it
SCENARIOS = [
    ("start-up", startup, False, {"x11"}),
    ("calculation through the clipboard", calculation, False, {"x11", "wine"}),
    ("compact window", compact_window, False, {"x11"}),
    ("information windows", information_windows, False, {"x11"}),
    ("migration wizard, started twice", wizard, False, {"x11"}),
    ("windows on screen", windows_on_screen, False, {"x11"}),
    ("no notification area", no_tray_host, False, {"x11"}),
    ("notification area", tray, True, {"x11"}),
    ("quick restore from the tray", quick_restore, True, {"x11"}),
    ("minimised with a modal window open", minimised_with_modal_window, True, {"x11"}),
    ("second start", second_start_case, True, {"x11"}),
    ("the notification area goes away", tray_host_goes_away, True, {"x11"}),
]


def run_scenarios(cases, session, launcher_name):
    # Runs the rows for this launcher; those without a tray host first, as the host takes the top of the screen.
    for needs_tray in (False, True):
        if needs_tray and not any(tray and launcher_name in launchers for _, _, tray, launchers in SCENARIOS):
            break
        if needs_tray and not session.tray:
            session.start_tray()
        for name, scenario, tray, launchers in SCENARIOS:
            if tray == needs_tray and launcher_name in launchers:
                cases.run(name, scenario, session)
