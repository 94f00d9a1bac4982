"""Walks the main window through AT-SPI as a screen reader does: every showing
object that offers actions has a name, and the actions do what they say and
return at once. Usage: atspi_walk.py <pid of zelk>"""
import sys
import time
import warnings

import gi

# The interface getters are deprecated in favour of calling through the object; both work.
warnings.filterwarnings("ignore", category=DeprecationWarning)

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

from xsession import eventually, menus, run, window_named  # noqa: E402

MAIN = "Zelk. 2010    -    Freeware"
failures = []


def check(what, condition):
    print(("  ok: " if condition else "  FAILED: ") + what)
    if not condition:
        failures.append(what)


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def showing(obj):
    """Every showing object below obj, obj included."""
    try:
        if not obj.get_state_set().contains(Atspi.StateType.SHOWING):
            return
    except gi.repository.GLib.Error:
        return
    yield obj
    for i in range(obj.get_child_count()):
        child = obj.get_child_at_index(i)
        if child is not None:
            yield from showing(child)


def actions(obj):
    iface = obj.get_action_iface()
    if iface is None:
        return []
    return [iface.get_action_name(i) for i in range(iface.get_n_actions())]


def do_action(obj, name):
    """Runs the action and returns how long the call took."""
    iface = obj.get_action_iface()
    index = actions(obj).index(name)
    start = time.monotonic()
    iface.do_action(index)
    return time.monotonic() - start


def on_top(wid):
    return "_NET_WM_STATE_ABOVE" in run("xprop", "-id", wid, "_NET_WM_STATE")


def windows(app):
    return [w for w in (app.get_child_at_index(i) for i in range(app.get_child_count()))
            if w is not None and w.get_state_set().contains(Atspi.StateType.SHOWING)]


def atspi_window(app, name):
    return eventually(10, lambda: next((w for w in windows(app) if w.get_name() == name), None))


def other_window(app):
    """The showing window that is neither the main nor the compact window: the modal one."""
    return eventually(10, lambda: next((w for w in windows(app) if not w.get_name().startswith("Zelk. 2010")),
                                       None))


def named_objects(window, label):
    """Every showing object with actions in window, by name; each must have one."""
    objects = [o for o in showing(window) if actions(o)]
    nameless = [o.get_role_name() for o in objects if not o.get_name()]
    check("%s: every object with actions has a name (%d objects, nameless: %s)"
          % (label, len(objects), nameless), objects and not nameless)
    return {o.get_name(): o for o in objects}


def press_and_close(app, button, caption, title):
    """Press returns at once, the window opens; its objects are named; Escape closes it."""
    took = do_action(button, "Press")
    check("Press on '%s' returns at once (%.2f s)" % (caption, took), took < 1)
    check("Press on '%s' opens its window" % caption, eventually(10, lambda: window_named(title)))
    modal = other_window(app)
    if modal is not None:
        named_objects(modal, "window of '%s'" % caption)
    run("xdotool", "key", "Escape")
    check("the window of '%s' closes" % caption, eventually(10, lambda: not window_named(title)))


def switch_on_top(toggle, xid, caption):
    for expected in (True, False):
        do_action(toggle, "Toggle")
        check("Toggle on '%s' puts the window %s" % (caption, "on top" if expected else "back"),
              eventually(5, lambda: on_top(xid) == expected))
        check("'%s' shows it" % caption, toggle.get_state_set().contains(Atspi.StateType.CHECKED) == expected)


def main():
    pid = int(sys.argv[1])
    app = eventually(20, lambda: application(pid))
    if app is None:
        print("  FAILED: zelk does not show up on the accessibility bus")
        return 1
    main_window = eventually(20, lambda: window_named(MAIN))
    check("the main window opens", main_window is not None)
    if main_window is None:
        return 1
    frame = atspi_window(app, "Zelk. 2010 Hauptfenster")
    named = named_objects(frame, "main window")
    for caption in ["Neu", "Zelk. speichern & löschen", "Kopieren", "Ansicht wechseln", "Copyright", "Hilfe",
                    "Diverse Links", "Online-Update", "Autostartfunktion", "Programm beenden",
                    "Immer im Vordergrund", "Nettobetrag", "Bruttobetrag", "Mehrwertsteuersatz"]:
        check("'%s' is there under its caption" % caption, caption in named)

    for menu_button in ["Zelk. speichern & löschen", "Kopieren", "Diverse Links"]:
        button = named.get(menu_button)
        if button is None:
            continue
        took = do_action(button, "ShowMenu")
        check("ShowMenu on '%s' returns at once (%.2f s)" % (menu_button, took), took < 1)
        check("ShowMenu on '%s' opens its menu" % menu_button, eventually(5, menus))
        run("xdotool", "key", "Escape")
        check("the menu of '%s' closes" % menu_button, eventually(5, lambda: not menus()))

    if "Immer im Vordergrund" in named:
        switch_on_top(named["Immer im Vordergrund"], main_window, "Immer im Vordergrund")

    for caption, title in [("Copyright", "^Copyright$"), ("Autostartfunktion", "^Autostartfunktion$"),
                           ("Online-Update", "^Online-Update$"), ("Programm beenden", "^Programm beenden$")]:
        if caption in named:
            press_and_close(app, named[caption], caption, title)

    # The compact window and back.
    if "Ansicht wechseln" in named:
        took = do_action(named["Ansicht wechseln"], "Press")
        check("Press on 'Ansicht wechseln' returns at once (%.2f s)" % took, took < 1)
        compact_xid = eventually(10, lambda: window_named("^Zelk. 2010$"))
        check("the compact window opens", compact_xid is not None)
        compact = atspi_window(app, "Zelk. 2010 kleines Fenster")
        if compact_xid and compact:
            small = named_objects(compact, "compact window")
            for caption in ["Neu", "Zum großen Fenster wechseln", "Vordergrund", "Netto kopieren",
                            "Zelk.-Anteil kopieren", "Brutto kopieren"]:
                check("compact: '%s' is there" % caption, caption in small)
            if "Vordergrund" in small:
                switch_on_top(small["Vordergrund"], compact_xid, "Vordergrund")
            if "Zum großen Fenster wechseln" in small:
                do_action(small["Zum großen Fenster wechseln"], "Press")
                check("the main window comes back", eventually(10, lambda: window_named(MAIN)))

    print("%d failed" % len(failures))
    return 1 if failures else 0


sys.exit(main())
