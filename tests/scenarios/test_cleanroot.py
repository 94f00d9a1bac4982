# What only a pristine Debian root shows of the package: its dependencies
# suffice. The installed program maps the same Qt plug-ins as the one built
# here, draws its whole toolbar, and F1 with nothing installed to open help
# says so. (Which help F1 opens where a viewer is installed is the widget
# tests'; that the package holds the help, the package test's.)
import re
from itertools import groupby

import pytest

import launchers
from actions import gone, main_window, press, shows_focus
from places import MAIN, MODALS
from session import eventually, pixels, run, shoot, window_named

pytestmark = pytest.mark.launchers("cleanroot")


def plugins(pid):
    with open(f"/proc/{pid}/maps", encoding="utf-8") as maps:
        return sorted(set(re.findall(r"qt6/plugins/(\S+)", maps.read())))


def toolbar(wid, name):
    # The toolbar, the top 28 pixels (420 twips) of the main window, once the window shows its focus in the
    # net box and two reads in a row agree (it has finished painting); the whole window is kept to look at.
    def settled():
        reads = [pixels(wid, 0, 0, None, 28) for _ in range(2)]
        return reads[0] == reads[1] and reads[0]
    rows = eventually(10, lambda: shows_focus(wid) and settled())
    shoot(wid, name)
    assert rows, "the toolbar can be read"
    return rows


def drawn_stretches(rows):
    # Per stretch of drawn columns (an icon, a word, an arrow, a separator): its columns and how many pixels
    # differ from their row's background, the last column, which the stretch after the buttons keeps empty.
    def differs(a, b):
        return sum(abs((a >> shift & 255) - (b >> shift & 255)) for shift in (0, 8, 16)) > 60
    counts = [sum(differs(row[x], row[-1]) for row in rows) for x in range(len(rows[0]))]
    drawn = [list(columns) for is_drawn, columns in groupby(range(len(counts)), lambda x: counts[x] > 0) if is_drawn]
    return [(columns[0], columns[-1] + 1) for columns in drawn], counts


def test_looks_as_built_here(launch, request):
    run("xdotool", "mousemove", "0", "767")  # nothing hovers over a button in either shot
    here, wid = main_window(launch, via=launchers.Pristine(request.config.getoption("zelk")))
    drawn_here, plugins_here = toolbar(wid, "toolbar-here.png"), plugins(here.process.pid)
    here.stop()  # and its windows are gone
    program, wid = main_window(launch)
    drawn = toolbar(wid, "toolbar-clean-root.png")
    # Qt may load a plug-in at its first use: the late ones get their time.
    eventually(5, lambda: plugins(program.process.pid) == plugins_here)
    assert plugins(program.process.pid) == plugins_here, "the same Qt plug-ins are mapped as here"
    # Every stretch of drawn columns here (an icon, a word, an arrow, a separator) is drawn there, half at least.
    stretches, counts_here = drawn_stretches(drawn_here)
    assert len(drawn[0]) == len(drawn_here[0]) and len(stretches) >= 10
    counts = drawn_stretches(drawn)[1]
    missing = [f"columns {a}-{b - 1}" for a, b in stretches if 2 * sum(counts[a:b]) < sum(counts_here[a:b])]
    assert not missing, "the toolbar is drawn as here"


def test_f1_with_nothing_to_open_help_says_so(launch):
    # A pristine root has neither a CHM viewer nor a browser nor xdg-utils.
    program, _ = main_window(launch)
    message = MODALS["help message"]
    assert press(MAIN, "F1", lambda: window_named(message), 10, tries=1), "F1 with nothing to open help says so"
    assert press(message, "Return", gone(message), 10, tries=1), "the message closes"
    assert program.alive()
