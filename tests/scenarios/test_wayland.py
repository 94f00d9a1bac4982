# The program in a Wayland session: weston with its X11 back end inside the
# session's Xvfb, so that xdotool's keys and clicks reach Wayland clients
# through weston's window, and with XWayland. weston-debug's scene graph tells
# which windows are mapped, where, with which title and app id.
import glob
import os
import re
import tempfile

import pytest
from Xlib import display as xlib
from Xlib.protocol import display as protocol, event

import places
from actions import shows_focus
from session import click_in, eventually, geometry, keys, need, run, shoot, type_text, wait_window

SOCKET = "zelk-wayland"


class Weston:
    # weston's output window on the display, its XWayland display, and what its scene graph shows.

    def __init__(self, session, runtime):
        os.environ["XDG_RUNTIME_DIR"] = runtime
        # No on-screen keyboard for text boxes, no panel: the output is the windows'.
        with open(f"{runtime}/weston.ini", "w", encoding="utf-8") as ini:
            ini.write("[core]\nidle-time=0\n[input-method]\npath=\n[shell]\npanel-position=none\n")
        log = f"{runtime}/weston.log"
        session.spawn("weston", f"--config={runtime}/weston.ini", f"--log={log}", "--debug", "--use-pixman",
                      "--backend=x11-backend.so", "--xwayland", f"--socket={SOCKET}", "--width=1000", "--height=700")
        self.output = wait_window("^Weston Compositor", 10)
        name = eventually(10, lambda: re.findall(r"xserver listening on display (:\d+)", run("cat", log)))
        assert self.output and name, f"weston starts: {run('cat', log)}"
        # python-xlib keeps one table of extension events for all connections, and XWayland numbers them
        # differently: a fresh table for this one (the session's connection asks for no events).
        protocol.Display.event_classes = event.event_class.copy()
        self.xwayland = xlib.Display(name[0])
        os.environ["WAYLAND_DISPLAY"] = SOCKET
        # Keys go to the focused X window: weston's, which hands them on to its own.
        run("xdotool", "windowactivate", "--sync", str(self.output))

    def view(self, title):
        # The scene graph's line for the mapped window titled exactly so, and the next, with its place.
        match = re.search(rf"^.*window '{re.escape(title)}'.*\n.*", run("weston-debug", "scene-graph"), re.M)
        return match.group(0) if match else ""

    def corners(self, title):
        # (x1, y1, x2, y2) of the window's view, frame included.
        match = re.search(r"position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)", self.view(title))
        return match and tuple(map(int, match.groups()))

    def surface(self, title):
        return next(iter(re.findall(r"surface ID (\d+),", self.view(title))), None)

    def click_view(self, title, place):
        # Clicks into the client area of a Wayland window: Qt's decoration is 3 pixels wide, its title bar 30.
        corners = self.corners(title)
        return corners and (click_in(self.output, corners[0] + 3 + place[0], corners[1] + 30 + place[1]) or True)

    def x_origin(self, wid):
        # Client origin of an X window on XWayland. weston frames it itself and does not always know its
        # title, so its view is found by its size: the opaque part is the window with a border of one pixel.
        _, _, width, height = geometry(wid, self.xwayland)
        opaque = re.findall(r"opaque: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)", run("weston-debug", "scene-graph"))
        return next(((x1 + 1, y1 + 1, width, height) for x1, y1, x2, y2 in (map(int, box) for box in opaque)
                     if x2 - x1 == width + 2 and y2 - y1 == height + 2), None)


@pytest.fixture(scope="module")
def weston(session):
    need("weston", "weston-debug", "Xwayland", "wl-paste")
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        pytest.skip("Qt's Wayland platform is not installed (Debian: qt6-wayland)")
    os.environ.pop("QT_QPA_PLATFORM", None)
    with tempfile.TemporaryDirectory() as runtime:
        yield Weston(session, runtime)


def test_plain_start_runs_on_xwayland_centred(weston, launch):
    launch(env={"DISPLAY": weston.xwayland.get_display_name()})
    wid = wait_window(places.MAIN, 30, weston.xwayland)
    assert wid, "a plain start in a Wayland session runs on XWayland"

    def centred():  # in the middle of weston's 1000 x 700 output, its title bar above it
        x, y, width, height = weston.x_origin(wid) or (-999, -999, 0, 0)
        return -20 <= x + width // 2 - 500 <= 20 and -10 <= y + height // 2 - 350 <= 40
    assert eventually(5, centred), "its window is centred"
    # Clicked once it has painted itself with the keyboard in the net box, not before.
    assert eventually(10, lambda: shows_focus(weston.output)), "it shows its focus"
    x, y, _, _ = weston.x_origin(wid)
    click_in(weston.output, x + places.TOOLBAR["compact"][0], y + places.TOOLBAR["compact"][1])
    # (weston's window manager for X windows has no "above" state and gives tool
    # windows no input: keeping the compact window on top is the X11 suite's case.)
    assert wait_window(places.COMPACT, 10, weston.xwayland), "Ansicht wechseln opens the compact window there too"


def test_without_x_server_runs_natively(weston, launch):
    launch(env={"DISPLAY": ""})
    assert eventually(30, lambda: "role xdg_toplevel" in weston.view(places.MAIN))


def test_native_wayland(weston, launch):
    launch(env={"QT_QPA_PLATFORM": "wayland"})
    assert eventually(30, lambda: weston.corners(places.MAIN)), "with QT_QPA_PLATFORM=wayland the window is Wayland's"
    assert "of example.zelk.Zelk," in weston.view(places.MAIN), "its app id is the menu entry's"

    def copies(net, gross):  # the gross amount of the net one, read with wl-paste
        weston.click_view(places.MAIN, places.BOXES["net"])
        keys("End", "BackSpace", "BackSpace", "BackSpace")
        type_text(net)
        keys("Return")
        # Kopieren, then "Bruttowert kopieren": one copy. (Ctrl+C in a box copies twice, and
        # weston's clipboard keeper starts reading the first, then puts an empty copy over the second.)
        weston.click_view(places.MAIN, places.TOOLBAR["copy"])
        if eventually(5, lambda: "role xdg_popup" in run("weston-debug", "scene-graph")):
            keys("b")
        return eventually(10, lambda: run("wl-paste", "-n", timeout=5) == gross)

    assert eventually(10, lambda: shows_focus(weston.output)), "it shows its focus"
    assert copies("100", "119,00")
    weston.click_view(places.MAIN, places.TOOLBAR["about"])
    surface = eventually(10, lambda: weston.surface("Copyright"))
    assert surface, "the about window opens"
    shoot(weston.output, "wayland-about.png")
    _, y1, x2, _ = weston.corners("Copyright")
    click_in(weston.output, x2 - 63, y1 + 15)  # the minimise button of Qt's decoration
    assert eventually(10, lambda: weston.surface("Copyright") not in (None, surface)), "minimised, it comes back"
    keys("Escape")
    assert eventually(10, lambda: not weston.view("Copyright")), "Escape then closes it"
    assert copies("200", "238,00"), "and the main window takes typing again"
