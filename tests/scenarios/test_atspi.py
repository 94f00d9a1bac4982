# What only a screen reader's calls through AT-SPI show: each action returns at
# once (a call that waits for a modal window blocks the reader), Toggle really
# puts the window on top, and Press opens the modal windows. The names of the
# controls and the split buttons are the widget tests'.
import time

import pytest

from actions import focus, gone, press
from places import ACCESSIBLE_COMPACT, ACCESSIBLE_MAIN, COMPACT, MAIN, MODALS
from session import eventually, on_top, wait_window

gi = pytest.importorskip("gi")
gi.require_version("Atspi", "2.0")
Atspi = pytest.importorskip("gi.repository.Atspi")
# Calling an interface's methods through the object is the way the deprecation asks for.
pytestmark = pytest.mark.filterwarnings("ignore::DeprecationWarning")


def children(obj):  # one that went away meanwhile is None, and left out
    return (child for child in map(obj.get_child_at_index, range(obj.get_child_count())) if child)


def find(obj, name):  # the showing object below obj (depth first) with that name and actions
    if not obj.get_state_set().contains(Atspi.StateType.SHOWING):
        return None
    if obj.get_name() == name and obj.get_n_actions():
        return obj
    return next((found for child in children(obj) if (found := find(child, name))), None)


def control(app, window, name):
    obj = eventually(10, lambda: next((find(top, name) for top in children(app) if top.get_name() == window), None))
    assert obj, f"'{name}' in '{window}'"
    return obj


def act(obj, action):  # runs the action, which must return at once
    start = time.monotonic()
    obj.do_action(next(i for i in range(obj.get_n_actions()) if obj.get_action_name(i) == action))
    took = time.monotonic() - start
    assert took < 1, f"{action} on '{obj.get_name()}' returns at once ({took:.2f} s)"


@pytest.fixture
def app(bus, launch):  # the program as the accessibility bus shows it
    program = launch()
    found = eventually(20, lambda: next((app for app in children(Atspi.get_desktop(0))
                                         if app.get_process_id() == program.process.pid), None))
    assert found and wait_window(MAIN, 30), "the program shows up on the accessibility bus"
    return found


@pytest.mark.parametrize("caption, modal", [("Copyright", "about"), ("Autostartfunktion", "autostart"),
                                            ("Online-Update", "update question"),
                                            ("Programm beenden", "exit question")])
def test_press_opens_modal_window(app, caption, modal):
    act(control(app, ACCESSIBLE_MAIN, caption), "Press")
    assert wait_window(MODALS[modal], 10), f"Press on '{caption}' opens its window"
    assert press(MODALS[modal], "Escape", gone(MODALS[modal]))


TOGGLES = {"main": (MAIN, ACCESSIBLE_MAIN, "Immer im Vordergrund"),
           "compact": (COMPACT, ACCESSIBLE_COMPACT, "Vordergrund")}


@pytest.mark.parametrize("window, accessible, caption", TOGGLES.values(), ids=TOGGLES.keys())
def test_toggle_puts_window_on_top(app, window, accessible, caption):
    if window == COMPACT:
        act(control(app, ACCESSIBLE_MAIN, "Ansicht wechseln"), "Press")
    toggle, wid = control(app, accessible, caption), focus(window)
    for expected in (True, False):
        act(toggle, "Toggle")
        assert eventually(5, lambda: on_top(wid) == expected), f"Toggle on '{caption}': on top {expected}"
        assert toggle.get_state_set().contains(Atspi.StateType.CHECKED) == expected
    if window == COMPACT:
        act(control(app, accessible, "Zum großen Fenster wechseln"), "Press")
        assert wait_window(MAIN, 10), "the main window comes back"
