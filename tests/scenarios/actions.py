# What a user does with the program, one function per action. Each waits for
# its effect where it has one and repeats the click or key when the effect does
# not come: under Wine a first click may only activate a window, and a key
# pressed before a new window has the focus is lost. On X11 a repeat never
# happens. Windows are named by their title pattern (places).
import places
from session import (activate, clear_clipboard, click_in, clipboard, count_colours, eventually, frame, keys, menus,
                     minimise, pointer_on_tray_icon, root, run, shoot, tray_icon_centre, type_text, wait_window,
                     window_named)


def attempt(action, effect, seconds=4, tries=3):  # returns the effect
    for _ in range(tries):
        action()
        if value := eventually(seconds, effect):
            return value
    return value


def main_window(launch, **options):  # the program started by the launch fixture, and its main window, activated
    program = launch(**options)
    wid = focus(places.MAIN, 60)
    assert wid, "the main window appears"
    return program, wid


def gone(pattern):
    return lambda: not window_named(pattern)


def focus(pattern, seconds=10):
    # The window, activated again even when X says it is active: Wine loses
    # keys and clicks sent before it has given the window the keyboard.
    wid = wait_window(pattern, seconds)
    if wid:
        activate(wid)
    return wid


def press(pattern, names, effect=lambda: True, seconds=4, tries=4):  # keys such as "Escape" or "alt+F4"
    return attempt(lambda: focus(pattern) and keys(*names.split()), effect, seconds, tries)


def type_amount(pattern, amount):  # into the box with the focus, and Enter calculates
    focus(pattern)
    type_text(str(amount))
    keys("Return")


def read_box(pattern, moves=""):
    # The text of the box that the moves (keys such as "Tab Tab") lead to, copied with Ctrl+C.
    focus(pattern)
    keys(*moves.split())
    clear_clipboard()
    return attempt(lambda: keys("ctrl+c"), lambda: clipboard() != "(leer)" and clipboard()) or None


def toolbar(button, opens=None, scale=1):
    # Clicks a toolbar button of the main window; waits for the window it opens, or for its menu.
    wid = focus(places.MAIN)
    x, y = places.TOOLBAR[button]
    return wid and attempt(lambda: click_in(wid, x * scale, y * scale),
                           (lambda: window_named(opens)) if opens else menus)


def close_box(pattern):  # the close button at the right end of openbox's title bar
    wid = focus(pattern)
    return wid and attempt(lambda: click_in(root().id, frame(wid)[2] - 12, frame(wid)[1] + 10), gone(pattern))


def to_tray():  # minimises the main window into the notification area
    wid = wait_window(places.MAIN, 10)
    return wid and attempt(lambda: minimise(wid), lambda: tray_icon_centre() and not window_named(places.MAIN))


def shows_focus(wid):  # the window is active and its box with the focus shows that colour
    return count_colours(wid, *places.FOCUS_COLOURS) > 200


def click_icon(button=1):
    # Clicks the tray icon; the left button restores the main window. Never repeated:
    # a click the program ignores is the fault to see.
    if not eventually(5, pointer_on_tray_icon):
        return None
    run("xdotool", "click", str(button))
    return button != 1 or wait_window(places.MAIN, 5)


def tray_menu(first):  # the icon menu's first entry (öffnen) or its last (Programm beenden)
    menu = eventually(10, lambda: click_icon(3) and eventually(3, menus))
    if not menu:
        return None
    _, x, y, width, height = menu[0]
    shoot("root", "tray-menu.png")
    click_in(root().id, x + width // 2, y + 12 if first else y + height - 12)
    return wait_window(places.MAIN, 5) if first else True


def second_start(program, seconds=10):  # the start that ended (the second one, normally)
    second = program.start()
    ended = eventually(seconds, lambda: [p for p in (second, program.process) if not program.alive(p)])
    if ended == [program.process]:  # right after the first start either may take the lock
        program.process = second
    return ended[0] if ended else None
