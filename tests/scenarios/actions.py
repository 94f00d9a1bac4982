"""What a user does with the program, one function per action. Each waits for
its effect where it has one and repeats the click or key when the effect does
not come: under Wine a first click may only activate a window, and a key
pressed before a new window has the focus is lost. On X11 a repeat never
happens. Windows are named by their title pattern (places)."""
import subprocess
import tempfile

import places
from session import (activate, active_window, clear_clipboard, click_at, click_in, click_tray_icon, clipboard,
                     count_colours, eventually, frame, keys, menus, minimise, tray_icon_centre, tray_menu_entry, type_text, wait_window,
                     window_named)

TRIES = 3


def attempt(action, effect, seconds=4, tries=TRIES):
    """Does the action, again while its effect does not come; returns the effect."""
    for _ in range(tries):
        action()
        value = eventually(seconds, effect)
        if value:
            return value
    return value


def gone(pattern):
    return lambda: not window_named(pattern)


def focus(pattern):
    """The window, active; None when it does not show."""
    wid = wait_window(pattern, 10)
    if wid and active_window() != wid:
        attempt(lambda: activate(wid), lambda: active_window() == wid, 2)
    return wid


def press(pattern, names, effect=lambda: True):
    """Keys into the window, e.g. "Escape" or "alt+F4"; again while the effect does not come."""
    wid = focus(pattern)
    return wid and attempt(lambda: keys(*names.split()), effect)


def escape(pattern):
    return press(pattern, "Escape", gone(pattern))


def alt_f4(pattern):
    return press(pattern, "alt+F4", gone(pattern))


def type_amount(pattern, amount):
    """Types an amount into the box with the focus and calculates with Enter."""
    wid = focus(pattern)
    type_text(str(amount))
    keys("Return")
    return wid


def type_letter(pattern, letter="q"):
    """A letter in an amount box: the "Falsche Eingabe" message."""
    return press(pattern, letter, lambda: window_named(places.MODALS["wrong key"]))


def read_box(pattern, moves=""):
    """The text of the box that the moves (keys such as "Tab Tab") lead to, copied with Ctrl+C."""
    focus(pattern)
    if moves:
        keys(*moves.split())
    clear_clipboard()
    copied = attempt(lambda: keys("ctrl+c"), lambda: clipboard() != "(leer)" and clipboard())
    return copied or None


def toolbar(button, opens=None, scale=1):
    """Clicks a toolbar button of the main window; waits for the window it opens, or for its menu."""
    wid = focus(places.MAIN)
    x, y = places.TOOLBAR[button]
    return wid and attempt(lambda: click_in(wid, x * scale, y * scale),
                           (lambda: window_named(opens)) if opens else menus)


def switch_view():
    """"Ansicht wechseln": the compact window takes the main window's place."""
    return toolbar("compact", places.COMPACT)


def close_box(pattern):
    """Clicks the close button at the right end of openbox's title bar."""
    wid = focus(pattern)
    if not wid:
        return None
    def click():
        left, top, right, _ = frame(wid)
        click_at(right - 12, top + 10)
    return attempt(click, gone(pattern))


def minimise_window(pattern, effect=None):
    """Minimises the window; with an effect (the main window into the tray, say), again until it comes."""
    wid = wait_window(pattern, 10)
    if wid and effect:
        return attempt(lambda: minimise(wid), effect)
    if wid:
        minimise(wid)
    return wid


def comes_back(wid):
    """Minimises a window that must not stay minimised: true once xprop saw it go
    Iconic and come back Normal (it may read both changes late and see Normal twice)."""
    with tempfile.NamedTemporaryFile("w") as states:
        spy = subprocess.Popen(["xprop", "-spy", "-id", wid, "WM_STATE"], stdout=states, stderr=subprocess.DEVNULL)

        def seen():
            with open(states.name, encoding="utf-8") as lines:
                return [line for line in lines if "window state:" in line]
        eventually(5, seen)
        minimise(wid)
        back = eventually(5, lambda: len(seen()) >= 3 and "Normal" in seen()[-1])
        spy.kill()
        spy.wait()
        if not back:
            print("    WM_STATE went " + ", ".join(line.split()[-1] for line in seen()))
        return back


def shows_focus(wid):
    """The box with the keyboard focus shows its colour: the window is active and its box has the focus."""
    return count_colours(wid, *places.FOCUS_COLOURS) > 200


def to_tray():
    return minimise_window(places.MAIN, lambda: tray_icon_centre() and not window_named(places.MAIN))


def click_icon():
    """A left click on the tray icon, never repeated: a click the program ignores is the fault to see."""
    return click_tray_icon(1) and wait_window(places.MAIN, 5)


def tray_menu(first):
    """The tray menu's first entry (öffnen, waits for the main window) or its last (Programm beenden)."""
    return tray_menu_entry(first) and (wait_window(places.MAIN, 5) if first else True)


def second_start(program, seconds=10):
    """Starts the program again; returns the start that ended (the second one, normally)."""
    second = program.start()
    ended = eventually(seconds, lambda: [p for p in (second, program.process) if not program.alive(p)])
    if ended == [program.process]:  # right after the first start either may take the lock
        program.process = second
    return ended[0] if ended else None
