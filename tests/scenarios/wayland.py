# Runs the program in a Wayland session: weston with its X11 back end inside
# the session's Xvfb, so that xdotool's keys and clicks reach Wayland clients
# through weston's window, and with XWayland. weston-debug's scene graph tells
# which windows are mapped, where, with which title and app id.
# wayland.py <zelk binary> <screenshot folder>
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

import places
from session import exit_with, Cases, Program, Session, Skip, eventually, keys, need, run, shoot, type_text

SOCKET = "zelk-wayland"


class Weston:
    # weston's output window on the display, its XWayland display, and what its scene graph shows.

    def __init__(self, session):
        self.runtime = tempfile.mkdtemp()
        os.environ["XDG_RUNTIME_DIR"] = self.runtime
        # No on-screen keyboard for text boxes, no panel: the output is the windows'.
        with open(f"{self.runtime}/weston.ini", "w", encoding="utf-8") as ini:
            ini.write("[core]\nidle-time=0\n[input-method]\npath=\n[shell]\npanel-position=none\n")
        self.log = f"{self.runtime}/weston.log"
        with open(self.log, "w", encoding="utf-8") as log:
            session.processes.append(subprocess.Popen(
                ["weston", f"--config={self.runtime}/weston.ini", "--debug", "--backend=x11-backend.so",
                 "--use-pixman", "--xwayland", f"--socket={SOCKET}", "--width=1000", "--height=700"],
                stdout=log, stderr=log))
        self.output = eventually(10, lambda: run("xdotool", "search", "--class", "weston").split())
        self.xwayland = eventually(10, lambda: re.findall(r"xserver listening on display (:\d+)",
                                                          open(self.log, encoding="utf-8").read()))
        if not (self.output and self.xwayland):
            raise RuntimeError(f"weston did not start: {open(self.log).read()}")
        self.output, self.xwayland = self.output[0], self.xwayland[0]
        os.environ["WAYLAND_DISPLAY"] = SOCKET
        # Keys go to the focused X window: weston's, which hands them on to its own.
        run("xdotool", "windowactivate", "--sync", self.output)

    def scene(self):
        return run("weston-debug", "scene-graph")

    def view(self, title):
        # The scene graph's line for the mapped window titled exactly so, and the next, with its place.
        match = re.search(rf"^.*window '{re.escape(title)}'.*\n.*", self.scene(), re.M)
        return match.group(0) if match else None

    def corners(self, title):
        # (x1, y1, x2, y2) of the window's view, frame included.
        match = re.search(r"position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)", self.view(title) or "")
        return tuple(map(int, match.groups())) if match else None

    def surface(self, title):
        match = re.search(r"surface ID (\d+),", self.view(title) or "")
        return match and match.group(1)

    def click(self, x, y):
        run("xdotool", "mousemove", "--window", self.output, str(x), str(y), "click", "1")

    def click_view(self, title, place):
        # Clicks into the client area of a Wayland window: Qt's decoration is 3 pixels wide, its title bar 30.
        corners = self.corners(title)
        return corners and (self.click(corners[0] + 3 + place[0], corners[1] + 30 + place[1]) or True)

    def on_xwayland(self, *args):
        return subprocess.run(["xdotool", *args], capture_output=True, text=True, check=False,
                              env=dict(os.environ, DISPLAY=self.xwayland)).stdout

    def x_window(self, pattern):
        return (self.on_xwayland("search", "--onlyvisible", "--name", pattern).split() or [None])[0]

    def x_origin(self, wid):
        # Client origin and size of an X window on XWayland. weston frames it itself and does not always know
        # its title, so its view is found by its size: the opaque part is the window with a border of one pixel.
        size = dict(re.findall(r"(\w+)=(\d+)", self.on_xwayland("getwindowgeometry", "--shell", wid)))
        width, height = int(size.get("WIDTH", 0)), int(size.get("HEIGHT", 0))
        for x1, y1, x2, y2 in re.findall(r"\[opaque: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)\]", self.scene()):
            if int(x2) - int(x1) == width + 2 and int(y2) - int(y1) == height + 2:
                return int(x1) + 1, int(y1) + 1, width, height
        return None

    def clipboard_becomes(self, text):
        return eventually(10, lambda: run("wl-paste", "-n", timeout=5) == text)


def case_plain_start_uses_xwayland(c, weston):
    c.launch(env={"DISPLAY": weston.xwayland})
    wid = eventually(30, lambda: weston.x_window(places.MAIN))
    if c.check("a plain start in a Wayland session runs on XWayland", wid):
        # In the middle of weston's 1000 x 700 output, its title bar above it.
        def centred():
            x, y, width, height = weston.x_origin(wid) or (-999, -999, 0, 0)
            return -20 <= x + width // 2 - 500 <= 20 and -10 <= y + height // 2 - 350 <= 40
        c.check("its window is centred", eventually(5, centred))
        x, y, _, _ = eventually(5, lambda: weston.x_origin(wid))
        weston.click(x + places.TOOLBAR["compact"][0], y + places.TOOLBAR["compact"][1])
        # (weston's window manager for X windows has no "above" state and gives tool
        # windows no input: keeping the compact window on top is the X11 suite's case.)
        c.check("Ansicht wechseln opens the compact window there too",
                eventually(10, lambda: weston.x_window(places.COMPACT)))


def case_no_x_server(c, weston):
    c.launch(env={"DISPLAY": ""})
    c.check("without an X server a plain start runs natively on Wayland",
            eventually(30, lambda: "role xdg_toplevel" in (weston.view(places.MAIN) or "")))


def case_native_wayland(c, weston):
    c.launch(env={"QT_QPA_PLATFORM": "wayland"})
    main = places.MAIN
    c.require("with QT_QPA_PLATFORM=wayland the main window is a Wayland window",
              eventually(30, lambda: weston.corners(main)))
    c.check("its app id is the menu entry's (example.zelk.Zelk)", "of example.zelk.Zelk," in weston.view(main))

    def gross_of(net):
        weston.click_view(main, places.BOXES["net"])
        keys("End", "BackSpace", "BackSpace", "BackSpace")
        type_text(net)
        keys("Return")
        # Kopieren, then "Bruttowert kopieren": one copy. (Ctrl+C in a box copies twice, and
        # weston's clipboard keeper starts reading the first, then puts an empty copy over the second.)
        weston.click_view(main, places.TOOLBAR["copy"])
        if eventually(5, lambda: "role xdg_popup" in weston.scene()):
            keys("b")

    eventually(5, lambda: weston.corners(main) and weston.click_view(main, places.BOXES["net"]))
    gross_of("100")
    c.check("net 100 gives gross 119,00 (read with wl-paste)", weston.clipboard_becomes("119,00"))
    weston.click_view(main, places.TOOLBAR["about"])
    surface = eventually(10, lambda: weston.surface("Copyright"))
    if c.check("the about window opens", surface):
        shoot(weston.output, "wayland-about.png")
        x1, y1, x2, _ = weston.corners("Copyright")
        weston.click(x2 - 63, y1 + 15)  # the minimise button of Qt's decoration
        c.check("minimising the modal about window brings it back at once",
                eventually(10, lambda: weston.surface("Copyright") not in (None, surface)))
        keys("Escape")
        c.check("Escape then closes it", eventually(10, lambda: not weston.view("Copyright")))
        gross_of("200")
        c.check("and the main window takes typing again (200 gives 238,00)", weston.clipboard_becomes("238,00"))


def main(zelk, shots):
    need("weston", "weston-debug", "Xwayland", "wl-paste")
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        raise Skip("Qt's Wayland platform is not installed (Debian: qt6-wayland)")
    os.environ["ZELK_SCREENSHOTS"] = shots
    os.environ.pop("QT_QPA_PLATFORM", None)
    session = Session()
    cases = Cases(lambda env: Program([zelk], env=env))
    try:
        weston = Weston(session)
        cases.run("plain start in a Wayland session", case_plain_start_uses_xwayland, weston)
        cases.run("no X server", case_no_x_server, weston)
        cases.run("native Wayland", case_native_wayland, weston)
    finally:
        session.close()
        shutil.rmtree(os.environ["XDG_RUNTIME_DIR"], ignore_errors=True)
    return cases.finish()


if __name__ == "__main__":
    exit_with(main, *sys.argv[1:3])
