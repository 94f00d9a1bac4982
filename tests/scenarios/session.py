# The session layer of the scenario engine: an X display (Xvfb + openbox, a
# tray host where asked), the program started as a new user by a launcher
# (launchers.py), and what a user sees there (windows, menus, the tray icon, the
# clipboard, pixels), read back through python-xlib as Python values; keys and
# clicks go through xdotool, the clipboard through xclip.
# Run as a script it runs one command inside a fresh session:
#     session.py -- <command> [arguments]
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pytest
from Xlib import X, XK, display as xlib, error as xerror

# The Debian package of a tool that is named otherwise.
TOOLS = {"Xvfb": "xvfb", "import": "imagemagick", "/usr/libexec/at-spi-bus-launcher": "at-spi2-core"}
x11 = None  # the session's display, as python-xlib talks to it


def run(*args, timeout=30):
    try:
        # Bytes decoded here, so that line ends (CRLF in the clipboard) stay as they are.
        return subprocess.run(args, capture_output=True, check=False, timeout=timeout).stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return ""


def need(*tools):  # skips the tests that need a tool the machine lacks
    for tool in tools:
        if not shutil.which(tool):
            pytest.skip(f"{tool} is not installed (Debian: {TOOLS.get(tool, tool)})")


def quietly(read, default=None):  # what the X server answers, or the default for a window already gone
    try:
        return read()
    except xerror.XError:
        return default


def eventually(seconds, condition):  # polls until the condition holds or time is up; its last value
    deadline = time.monotonic() + seconds
    while not (value := condition()) and time.monotonic() <= deadline:
        time.sleep(0.05)
    return value


class Session:  # Xvfb with openbox on a display of its own; trayer on request

    def __init__(self):
        need("Xvfb", "openbox", "xdotool", "xclip", "import")
        global x11
        # Stopped, it ends the run as an interrupt does, which still takes the display and programs down.
        signal.signal(signal.SIGTERM, signal.default_int_handler)
        self.processes, self.tray = [], None
        # Xvfb picks a free display itself (other sessions may run beside this
        # one) and names it once it takes connections.
        read, write = os.pipe()
        self.spawn("Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   pass_fds=[write])
        os.close(write)
        with os.fdopen(read) as number:
            os.environ["DISPLAY"] = f":{number.readline().strip()}"
        x11 = xlib.Display()
        # Windows that go away while they are read are read as gone.
        x11.set_error_handler(lambda *_: None)
        # Leaks in the desktop libraries at exit are not the program's.
        os.environ.setdefault("ASAN_OPTIONS", "detect_leaks=0")
        self.spawn("openbox")
        eventually(5, lambda: prop(root(), "_NET_SUPPORTING_WM_CHECK"))
        # Xvfb's US keymap has no umlauts, so xdotool would bind one to a spare
        # keycode for a moment and undo it; a busy program may read the key after
        # the undo and see nothing. A fixed key of their own avoids that race.
        first, last = x11.display.info.min_keycode, x11.display.info.max_keycode
        mapping = x11.get_keyboard_mapping(first, last - first + 1)
        spare = max(first + i for i, syms in enumerate(mapping) if not any(syms))
        x11.change_keyboard_mapping(spare, [[XK.string_to_keysym(s) for s in ("udiaeresis", "Udiaeresis")]])
        x11.sync()

    def spawn(self, *args, pass_fds=(), stdout=subprocess.DEVNULL):
        # Killed (a CTest timeout), this process takes them along: PR_SET_PDEATHSIG.
        self.processes.append(subprocess.Popen(args, stdout=stdout, stderr=subprocess.DEVNULL, pass_fds=pass_fds,
                                               preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGKILL)))
        return self.processes[-1]

    def start_tray(self):  # trayer as the notification area at the top right
        need("trayer")
        self.tray = self.spawn("trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                               "120", "--height", "24", "--SetDockType", "true")
        eventually(5, panel)

    def kill_tray(self):
        self.tray.kill()
        self.tray.wait()

    def close(self):
        for process in reversed(self.processes):
            process.kill()
            process.wait()


# The program as a new user starts it: a fresh home, German, its output kept.
# The launcher says how it starts and where it keeps what it stores.
class Program:

    def __init__(self, launcher, old_rate=None, env=None, command=None):
        self.launcher, self.command, self.processes = launcher, command, []
        self.home = tempfile.mkdtemp(prefix="zelk-home-", dir=launcher.homes)
        self.log = open(os.path.join(self.home, "zelk.log"), "a+", encoding="utf-8", errors="replace")
        inside = "/" + os.path.relpath(self.home, launcher.root)  # the home as the program names it
        # The program's lock lives in the runtime folder (shared, as the user's)
        # or, where there is none, in a temporary folder: this user's own.
        os.mkdir(os.path.join(self.home, "tmp"), 0o700)
        self.env = dict(os.environ, HOME=inside, XDG_CONFIG_HOME=f"{inside}/.config",
                        XDG_DATA_HOME=f"{inside}/.local/share", TMPDIR=f"{inside}/tmp", LANG="de_DE.UTF-8",
                        LC_ALL="de_DE.UTF-8", **(env or {}))
        if old_rate is not None:
            launcher.store(self, "Zelk_2009", old_rate)
        self.process = self.start()

    def start(self):  # again: a second start finds the first one running
        self.processes.append(subprocess.Popen(self.command or self.launcher.command(self), env=self.env,
                                               stdout=self.log, stderr=self.log))
        return self.processes[-1]

    def alive(self, process=None):
        return (process or self.process).poll() is None

    def ended(self, seconds=5):
        return eventually(seconds, lambda: not self.alive())

    def stored_rate(self, application="Zelk_2010"):  # the rate stored for this program, or for its forerunner
        return self.launcher.setting(self, application)

    def output(self):
        self.log.seek(0)
        return "\n".join(line for line in self.log.read().splitlines() if "XDG_RUNTIME_DIR" not in line)

    def stop(self):  # once; the launch fixture stops every program again
        if not os.path.isdir(self.home):
            return
        for process in self.processes:
            process.kill()  # Popen polls first and leaves one that has ended alone
            process.wait()
        # Its windows go a moment after it, and must not pass for the next one's.
        eventually(10, lambda: not window_named("^Zelk"))
        shutil.rmtree(self.home, ignore_errors=True)


# --- what the X server shows ---------------------------------------------------

def root(x=None):
    return (x or x11).screen().root


def window(wid, x=None):
    return (x or x11).create_resource_object("window", wid)


def prop(win, name):  # a property's values (text for a text property), or None, also for a window already gone
    value = quietly(lambda: win.get_full_property(win.display.get_atom(name), X.AnyPropertyType))
    return value and (value.value.decode(errors="replace") if value.format == 8 else list(value.value))


def shown(x=None):
    # Every viewable window, depth first: (window, title, class, unframed, the root's child it lies in).
    def below(win, top):
        for child in quietly(lambda: win.query_tree().children, []):
            attributes = quietly(child.get_attributes)
            if attributes and attributes.map_state == X.IsViewable:
                title = prop(child, "_NET_WM_NAME") or prop(child, "WM_NAME") or ""
                names = " ".join(quietly(child.get_wm_class) or ())
                yield child, title, names, attributes.override_redirect, top or child
                yield from below(child, top or child)
    return list(below(root(x), None))


def windows_named(pattern, x=None):
    return [win.id for win, title, *_ in shown(x) if re.search(pattern, title)]


def window_named(pattern, x=None):
    return next(iter(windows_named(pattern, x)), None)


def wait_window(pattern, seconds=20, x=None):
    return eventually(seconds, lambda: window_named(pattern, x))


def windows_of(pid):
    return [win.id for win, *_ in shown() if prop(win, "_NET_WM_PID") == [pid]]


def activate(wid):
    run("xdotool", "windowactivate", str(wid))


def minimise(wid):
    run("xdotool", "windowminimize", str(wid))


def wm_state(wid):  # Normal, Iconic or Withdrawn, as the window manager sets it
    return {1: "Normal", 3: "Iconic"}.get((prop(window(wid), "WM_STATE") or [0])[0], "Withdrawn")


def on_top(wid):
    return x11.get_atom("_NET_WM_STATE_ABOVE") in (prop(window(wid), "_NET_WM_STATE") or [])


def stacked_above(upper, lower):
    ids = prop(root(), "_NET_CLIENT_LIST_STACKING") or []
    return upper in ids and lower in ids and ids.index(upper) > ids.index(lower)


def geometry(wid, x=None):  # (x, y, width, height) of the window's inside on the screen
    win = window(wid, x)
    corner, size = quietly(lambda: (root(x).translate_coords(win, 0, 0), win.get_geometry()), (None, None))
    return size and (corner.x, corner.y, size.width, size.height)


def frame(wid):  # (left, top, right, bottom) of the window with the frame the window manager draws
    x, y, width, height = geometry(wid)
    left, right, top, bottom = prop(window(wid), "_NET_FRAME_EXTENTS") or (0, 0, 0, 0)
    return x - left, y - top, x + width + right, y + height + bottom


def menus():  # the open menus and balloons, (id, x, y, w, h): unframed windows taller than a tooltip
    found = [(win.id, *geometry(win.id)) for win, _, names, unframed, _ in shown() if unframed and "zelk" in names]
    return [menu for menu in found if menu[4] >= 40]


# --- the tray icon ------------------------------------------------------------

def panel():  # trayer's window
    return next((top for _, title, _, _, top in shown() if title == "panel"), None)


def tray_icon_centre():  # (x, y) of the zelk window that trayer's panel embeds, once it is mapped there
    host = panel()
    icon = next((win.id for win, _, names, _, top in shown() if host and top == host and "zelk" in names), None)
    place = icon and geometry(icon)
    return place and (place[0] + place[2] // 2, place[1] + place[3] // 2)


# The tray host may still move a newly docked icon into its place: the pointer
# goes onto the icon, and holds once the icon is still under it.
def pointer_on_tray_icon():
    centre = tray_icon_centre()
    if not centre:
        return False
    run("xdotool", "mousemove", str(centre[0]), str(centre[1]))
    return tray_icon_centre() == centre


# --- keys, clicks, clipboard --------------------------------------------------

def keys(*names):
    run("xdotool", "key", *names)


def type_text(text, delay=40):
    run("xdotool", "type", "--delay", str(delay), text)


def click_in(wid, x, y, button=1):  # at x, y of the window's inside; of the screen for the root window
    run("xdotool", "mousemove", "--window", str(wid), str(x), str(y), "click", str(button))


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard", timeout=5)


# A marker in the clipboard, so that a copy that never happens cannot pass
# for one that left the same text as before.
def clear_clipboard():
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input="(leer)", text=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


# --- pixels -------------------------------------------------------------------

def shoot(wid, name):
    # A picture of the window (or "root") in $ZELK_SCREENSHOTS, else in the temporary folder's zelk-screenshots,
    # for the README, for failures and for the cases that read text in it.
    folder = os.environ.get("ZELK_SCREENSHOTS") or os.path.join(tempfile.gettempdir(), "zelk-screenshots")
    if wid:
        os.makedirs(folder, exist_ok=True)
        run("import", "-window", str(wid), os.path.join(folder, name))
    return wid and os.path.join(folder, name)


def pixels(wid, x=0, y=0, width=None, height=None):  # the window's pixels, rows of 0xrrggbb, or []
    _, _, full_width, full_height = geometry(wid) or (0, 0, 0, 0)
    width, height = width or full_width - x, height or full_height - y
    data = quietly(lambda: window(wid).get_image(x, y, width, height, X.ZPixmap, 0xffffffff).data)
    if not data:
        return []
    values = memoryview(data).cast("I")  # 32 bits a pixel, blue first
    return [[value & 0xffffff for value in values[row * width:(row + 1) * width]] for row in range(height)]


def count_colours(wid, *colours):  # how many pixels of the window have one of the colours (rrggbb)
    wanted = {int(colour, 16) for colour in colours}
    return sum(value in wanted for row in pixels(wid) for value in row)


if __name__ == "__main__":
    try:
        session = Session()
    except pytest.skip.Exception as why:
        print(f"SKIP: {why}")
        sys.exit(77)
    try:
        sys.exit(subprocess.run(sys.argv[sys.argv.index("--") + 1:], check=False).returncode)
    finally:
        session.close()
