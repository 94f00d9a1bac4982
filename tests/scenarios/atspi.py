# The windows as a screen reader sees and drives them through AT-SPI: every
# showing object that offers actions has a name, and the actions do what they
# say and return at once (a call that waits for a modal window blocks the reader).
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

from actions import escape  # noqa: E402
from places import ACCESSIBLE_COMPACT, ACCESSIBLE_MAIN, COMPACT, MAIN, MODALS  # noqa: E402
from session import eventually, keys, menus, on_top, wait_window  # noqa: E402

# The interface getters are deprecated in favour of calling through the object; both work.
warnings.filterwarnings("ignore", category=DeprecationWarning)

MAIN_CAPTIONS = ["Neu", "Zelk. speichern & löschen", "Kopieren", "Ansicht wechseln", "Copyright", "Hilfe",
                 "Diverse Links", "Online-Update", "Autostartfunktion", "Programm beenden", "Immer im Vordergrund",
                 "Nettobetrag", "Bruttobetrag", "Mehrwertsteuersatz"]
COMPACT_CAPTIONS = ["Neu", "Zum großen Fenster wechseln", "Vordergrund", "Netto kopieren", "Zelk.-Anteil kopieren",
                    "Brutto kopieren"]
MENU_BUTTONS = ["Zelk. speichern & löschen", "Kopieren", "Diverse Links"]
PRESS_OPENS = {"Copyright": "about", "Autostartfunktion": "autostart", "Online-Update": "update question",
               "Programm beenden": "exit question"}


def application(pid):
    desktop = Atspi.get_desktop(0)
    apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
    return next((app for app in apps if app is not None and app.get_process_id() == pid), None)


def showing(obj):
    # Every showing object below obj, obj included.
    try:
        if not obj.get_state_set().contains(Atspi.StateType.SHOWING):
            return
    except GLib.Error:
        return
    yield obj
    for i in range(obj.get_child_count()):
        child = obj.get_child_at_index(i)
        if child is not None:
            yield from showing(child)


def actions(obj):
    iface = obj.get_action_iface()
    return [iface.get_action_name(i) for i in range(iface.get_n_actions())] if iface else []


def window(app, name=None):
    # The showing top-level object with that name, or (no name) the one that is no calculator window.
    def found():
        tops = [app.get_child_at_index(i) for i in range(app.get_child_count())]
        return next((w for w in tops if w is not None and w.get_state_set().contains(Atspi.StateType.SHOWING)
                     and (w.get_name() == name if name else not w.get_name().startswith("Zelk. 2010"))), None)
    return eventually(10, found)


def named_objects(c, obj, label, captions=()):
    # Every showing object with actions, by name; each must have one, and the captions be among them.
    objects = [o for o in showing(obj) if actions(o)] if obj else []
    nameless = [o.get_role_name() for o in objects if not o.get_name()]
    c.check(f"{label}: every object with actions has a name ({len(objects)}, nameless: {nameless})",
            objects and not nameless)
    named = {o.get_name(): o for o in objects}
    missing = [caption for caption in captions if caption not in named]
    if captions:
        c.require(f"{label}: every command is there under its caption (missing: {missing})", not missing)
    return named


def quick(c, obj, action, caption):  # runs the action, which must return at once
    start = time.monotonic()
    obj.get_action_iface().do_action(actions(obj).index(action))
    took = time.monotonic() - start
    return c.check(f"{action} on '{caption}' returns at once ({took:.2f} s)", took < 1)


def switch_on_top(c, toggle, wid, caption):
    for expected in (True, False):
        quick(c, toggle, "Toggle", caption)
        c.check(f"Toggle on '{caption}' puts the window {'on top' if expected else 'back'}, and shows it",
                eventually(5, lambda: on_top(wid) == expected)
                and toggle.get_state_set().contains(Atspi.StateType.CHECKED) == expected)


def screen_reader(c, session):
    program = c.launch()
    app = c.require("the program shows up on the accessibility bus",
                    eventually(20, lambda: application(program.process.pid)))
    wid = c.require("the main window opens", wait_window(MAIN, 30))
    named = named_objects(c, window(app, ACCESSIBLE_MAIN), "main window", MAIN_CAPTIONS)
    for caption in MENU_BUTTONS:
        quick(c, named[caption], "ShowMenu", caption)
        c.check(f"ShowMenu on '{caption}' opens its menu", eventually(5, menus))
        keys("Escape")
        c.check(f"the menu of '{caption}' closes", eventually(5, lambda: not menus()))
    switch_on_top(c, named["Immer im Vordergrund"], wid, "Immer im Vordergrund")
    for caption, modal in PRESS_OPENS.items():
        quick(c, named[caption], "Press", caption)
        c.check(f"Press on '{caption}' opens its window", wait_window(MODALS[modal], 10))
        named_objects(c, window(app), f"window of '{caption}'")
        c.check(f"Escape closes the window of '{caption}'", escape(MODALS[modal]))
    quick(c, named["Ansicht wechseln"], "Press", "Ansicht wechseln")
    compact = c.require("the compact window opens", wait_window(COMPACT, 10))
    small = named_objects(c, window(app, ACCESSIBLE_COMPACT), "compact window", COMPACT_CAPTIONS)
    switch_on_top(c, small["Vordergrund"], compact, "Vordergrund")
    quick(c, small["Zum großen Fenster wechseln"], "Press", "Zum großen Fenster wechseln")
    c.check("the main window comes back", wait_window(MAIN, 10))


def main(cases):
    cases.run("the windows through AT-SPI", screen_reader, None)
    return cases.finish()
