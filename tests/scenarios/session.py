# The session layer of the scenario engine: an X display (Xvfb + openbox, a
# tray host and an accessibility bus where asked), the program started as a new
# user, and what a user sees there (windows, menus, the tray icon, the
# clipboard, pixels), read back as Python values.
# Run as a script it runs one command inside a fresh session:
#     session.py [--tray] [--atspi] -- <command> [arguments]
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TOOLS = {"Xvfb": "xvfb", "openbox": "openbox", "xdotool": "xdotool", "xclip": "xclip", "xwininfo": "x11-utils",
         "xprop": "x11-utils", "xmodmap": "x11-xserver-utils", "import": "imagemagick"}


def exit_with(main, *args):
    """Ends the suite with main's exit code; 77, which CTest counts as skipped,
    when the machine lacks what the suite needs."""
    try:
        sys.exit(main(*args))
    except Skip as why:
        print(f"SKIP: {why}")
        sys.exit(77)


class Skip(Exception):  # the machine lacks a tool: CTest counts the suite as skipped (77)
    pass


def run(*args, timeout=30):
    try:
        # Bytes decoded here, so that line ends (CRLF in the clipboard) stay as they are.
        return subprocess.run(args, capture_output=True, check=False, timeout=timeout).stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return ""


def need(*tools):
    for tool in tools:
        if not shutil.which(tool):
            raise Skip(f"{tool} is not installed (Debian: {TOOLS.get(tool, tool)})")


def eventually(seconds, condition):  # polls until the condition holds or time is up; its last value
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


class Session:  # Xvfb with openbox on a display of its own; trayer and the AT-SPI bus on request

    def __init__(self, tray=False, atspi=False, size="1024x768"):
        need(*TOOLS)
        # Stopped (a CTest timeout), it still takes its display and programs down.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
        self.processes, self.tray = [], None
        # Xvfb picks a free display itself (other sessions may run beside this
        # one) and names it once it takes connections.
        read, write = os.pipe()
        self.spawn("Xvfb", "-displayfd", str(write), "-screen", "0", f"{size}x24", "-nolisten", "tcp", pass_fds=[write])
        os.close(write)
        with os.fdopen(read) as number:
            os.environ["DISPLAY"] = f":{number.readline().strip()}"
        # Leaks in the desktop libraries at exit are not the program's.
        os.environ.setdefault("ASAN_OPTIONS", "detect_leaks=0")
        self.spawn("openbox")
        eventually(5, lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        # Xvfb's US keymap has no umlauts, so xdotool would bind one to a spare
        # keycode for a moment and undo it; a busy program may read the key after
        # the undo and see nothing. A fixed key of their own avoids that race.
        spare = [line.split()[1] for line in run("xmodmap", "-pke").splitlines() if len(line.split()) == 3][-1]
        run("xmodmap", "-e", f"keycode {spare} = udiaeresis Udiaeresis")
        if atspi:
            self.start_atspi()
        if tray:
            self.start_tray()

    def spawn(self, *args, pass_fds=()):
        process = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=pass_fds)
        self.processes.append(process)
        return process

    def start_tray(self):  # trayer as the notification area at the top right
        need("trayer")
        self.tray = self.spawn("trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                               "120", "--height", "24", "--SetDockType", "true")
        eventually(5, lambda: '"panel"' in run("xwininfo", "-root", "-tree"))

    def kill_tray(self):
        self.tray.kill()
        self.tray.wait()

    def start_atspi(self):  # a private session bus with the accessibility bus on it
        launcher = "/usr/libexec/at-spi-bus-launcher"
        need("dbus-daemon")
        if not os.path.exists(launcher):
            raise Skip("at-spi-bus-launcher is not installed (Debian: at-spi2-core)")
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                             capture_output=True, text=True, check=True).stdout.split()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self.bus_pid = int(bus[1])
        self.spawn(launcher, "--launch-immediately")
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    def close(self):
        for process in reversed(self.processes):
            process.kill()
            process.wait()
        if getattr(self, "bus_pid", None):
            os.kill(self.bus_pid, signal.SIGTERM)


# The program as a new user starts it: a fresh home, German, its output kept.
# `command` is how it starts (the binary, or wine with zelk.exe, or a chroot);
# another launcher overrides what it reads back of the stored data.
class Program:

    def __init__(self, command, old_rate=None, env=None):
        self.command = list(command)
        self.home = tempfile.mkdtemp(prefix="zelk-home-")
        self.log = open(os.path.join(self.home, "zelk.log"), "a+", encoding="utf-8", errors="replace")
        self.env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=f"{self.home}/.config",
                        XDG_DATA_HOME=f"{self.home}/.local/share", LANG="de_DE.UTF-8", LC_ALL="de_DE.UTF-8",
                        **(env or {}))
        if old_rate is not None:
            os.makedirs(f"{self.home}/.config/zelk", exist_ok=True)
            with open(f"{self.home}/.config/zelk/Zelk_2009.ini", "w", encoding="utf-8") as ini:
                ini.write(f"[Zelk_Satz]\nx.Text={old_rate}\n")
        self.processes = []
        self.process = self.start()

    def start(self):  # again: a second start finds the first one running
        process = subprocess.Popen(self.command, env=self.env, stdout=self.log, stderr=self.log)
        self.processes.append(process)
        return process

    def alive(self, process=None):
        return (process or self.process).poll() is None

    def ended(self, seconds=5):
        return eventually(seconds, lambda: not self.alive())

    def setting(self, application):  # the rate an application stored (x.Text), or None
        try:
            with open(f"{self.home}/.config/zelk/{application}.ini", encoding="utf-8") as ini:
                return re.search(r"^x\.Text=(.*)$", ini.read(), re.M).group(1)
        except (OSError, AttributeError):
            return None

    def stored_rate(self):
        return self.setting("Zelk_2010")

    def old_rate(self):
        return self.setting("Zelk_2009")

    def autostart(self):
        return os.path.exists(f"{self.home}/.config/autostart/zelk.desktop")

    def output(self):
        self.log.seek(0)
        return "\n".join(line for line in self.log.read().splitlines() if "XDG_RUNTIME_DIR" not in line)

    def stop(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def windows_named(pattern):
    return run("xdotool", "search", "--onlyvisible", "--name", pattern).split()


def window_named(pattern):
    found = windows_named(pattern)
    return found[0] if found else None


def wait_window(pattern, seconds=20):
    return eventually(seconds, lambda: window_named(pattern))


def wait_gone(pattern, seconds=10):
    return eventually(seconds, lambda: not window_named(pattern))


def windows_of(pid):
    return run("xdotool", "search", "--onlyvisible", "--pid", str(pid)).split()


def title(wid):
    return run("xdotool", "getwindowname", wid).rstrip("\n")


def active_window():
    return run("xdotool", "getactivewindow").strip()


def activate(wid):
    run("xdotool", "windowactivate", wid)


def minimise(wid):
    run("xdotool", "windowminimize", wid)


def wm_state(wid):  # Normal, Iconic or Withdrawn, as the window manager sets it
    match = re.search(r"window state: (\w+)", run("xprop", "-id", wid, "WM_STATE"))
    return match.group(1) if match else "Withdrawn"


def on_top(wid):
    return "_NET_WM_STATE_ABOVE" in run("xprop", "-id", wid, "_NET_WM_STATE")


def stacked_above(upper, lower):
    ids = [int(x, 16) for x in re.findall(r"0x[0-9a-f]+", run("xprop", "-root", "_NET_CLIENT_LIST_STACKING"))]
    return int(upper) in ids and int(lower) in ids and ids.index(int(upper)) > ids.index(int(lower))


def frame(wid):  # (left, top, right, bottom) of the window with the frame the window manager draws
    info = run("xwininfo", "-id", wid)
    x, y, width, height = [int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))
                           for name in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
    extents = [int(v) for v in re.findall(r"\d+", run("xprop", "-id", wid, "_NET_FRAME_EXTENTS").split("=")[-1])]
    left, right, top, bottom = extents if len(extents) == 4 else (0, 0, 0, 0)
    return x - left, y - top, x + width + right, y + height + bottom


def menus():  # the open menus and balloons, (id, x, y, w, h): unframed windows taller than a tooltip
    found = []
    for wid in run("xdotool", "search", "--onlyvisible", "--class", "zelk").split():
        if "Override Redirect State: yes" not in run("xwininfo", "-id", wid):
            continue
        values = dict(re.findall(r"(\w+)=(-?\d+)", run("xdotool", "getwindowgeometry", "--shell", wid)))
        if int(values.get("HEIGHT", 0)) >= 40:
            found.append((wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])))
    return found


# --- keys, clicks, clipboard --------------------------------------------------

def keys(*names):
    run("xdotool", "key", *names)


def type_text(text, delay=40):
    run("xdotool", "type", "--delay", str(delay), text)


def click_in(wid, x, y, button=1):
    run("xdotool", "mousemove", "--window", wid, str(x), str(y), "click", str(button))


def click_at(x, y, button=1):
    run("xdotool", "mousemove", str(x), str(y), "click", str(button))


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard", timeout=5)


# A marker in the clipboard, so that a copy that never happens cannot pass
# for one that left the same text as before.
def clear_clipboard():
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input="(leer)", text=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


# --- the tray icon ------------------------------------------------------------

def tray_icon_centre():  # (x, y) of the zelk window that trayer's panel embeds, once it is mapped there
    depth = None
    for line in run("xwininfo", "-root", "-tree").splitlines():
        indent = len(line) - len(line.lstrip())
        if depth is None:
            depth = indent if '"panel"' in line else None
            continue
        if indent <= depth:
            return None
        if '"zelk"' in line:
            match = re.search(r"(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)", line)
            if match and "IsViewable" in run("xwininfo", "-id", line.split()[0]):
                width, height, x, y = map(int, match.groups())
                return x + width // 2, y + height // 2
            return None
    return None


# The tray host may still move a newly docked icon into its place: the pointer
# goes onto the icon, and holds once the icon is still under it.
def pointer_on_tray_icon():
    centre = tray_icon_centre()
    if not centre:
        return False
    run("xdotool", "mousemove", str(centre[0]), str(centre[1]))
    return tray_icon_centre() == centre


# --- pixels -------------------------------------------------------------------

def shoot(wid, name):  # a picture of the window (or "root") in $ZELK_SCREENSHOTS, for the README and failures
    folder = os.environ.get("ZELK_SCREENSHOTS")
    if folder and wid:
        os.makedirs(folder, exist_ok=True)
        run("import", "-window", wid, os.path.join(folder, name))


def screen():  # (width, height)
    return tuple(int(v) for v in run("xdotool", "getdisplaygeometry").split())


def image(wid):  # the window as an 8-bit binary PPM image
    return subprocess.run(["import", "-window", wid, "-depth", "8", "ppm:-"], capture_output=True,
                          check=False).stdout


def count_colours(wid, *colours):  # how many pixels of the window have one of the colours (rrggbb)
    ppm = image(wid)
    fields = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s", ppm)
    if not fields:
        return 0
    wanted = {bytes.fromhex(colour) for colour in colours}
    pixels = ppm[fields.end():]
    return sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] in wanted)


class Stop(Exception):  # a case cannot go on (its window never came); the check said why
    pass


# Runs named cases, prints every check and counts the failed cases; stops the
# programs a case started and shows their output when it failed.
# `launcher(**options)` starts the program (a Program) the way it runs here.
# ZELK_CASE=<part of a name> runs only the cases whose name contains it.
class Cases:

    def __init__(self, launcher):
        self.launcher = launcher
        self.passed = self.failed = 0
        self.case_failed = False
        self.programs = []

    def launch(self, **options):
        program = self.launcher(**options)
        self.programs.append(program)
        return program

    def check(self, what, condition):
        print(("  ok: " if condition else "  FAILED: ") + what, flush=True)
        self.case_failed |= not condition
        return condition

    def require(self, what, condition):
        if not self.check(what, condition):
            raise Stop(what)
        return condition

    def run(self, name, case, *args):
        if os.environ.get("ZELK_CASE", "") not in name:
            return
        print(f"case: {name}", flush=True)
        self.case_failed = False
        try:
            case(self, *args)
        except Stop:
            pass
        except Exception as error:  # a broken case must not hide the others
            self.check(f"the case runs to its end ({type(error).__name__}: {error})", False)
        for program in self.programs:
            if self.case_failed and program.output().strip():
                print("  the program printed:\n    " + program.output().replace("\n", "\n    "))
            program.stop()
        self.programs = []
        self.failed += self.case_failed
        self.passed += not self.case_failed

    def finish(self):
        print(f"{self.passed} passed, {self.failed} failed")
        return 1 if self.failed else 0


def main(argv):
    options, command = argv[:argv.index("--")], argv[argv.index("--") + 1:]
    try:
        session = Session(tray="--tray" in options, atspi="--atspi" in options)
    except Skip as why:
        print(f"SKIP: {why}")
        return 77
    try:
        return subprocess.run(command, check=False).returncode
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
