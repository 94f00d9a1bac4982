"""A seeded random walk through the real program's windows, as a user who does
not follow a script: minimising, the notification area, the compact window,
modal windows, the wizard, closing, second starts, typing, with short gaps.
After every step the program must be in the state the walk expects, reachable
by the user. Runs inside an X session with a window manager and a tray host
(walk.sh sets them up). Usage: walk.py <zelk> <steps> <seed>
"""
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

from xsession import count_colours, eventually, menus, run, window_image, window_named

MAIN = "Zelk. 2010    -    Freeware"
COMPACT = "^Zelk. 2010$"
WIZARD = "^Zelk. 2010 Daten"
MODALS = {
    "about": "^Copyright$",
    "autostart": "^Autostartfunktion$",
    "donation": "^Spende / Anerkennung$",
    "wrong key": "^Falsche Eingabe$",
    "exit question": "^Programm beenden$",
    "update question": "^Online-Update$",
}
# Toolbar buttons, in pixels from the main window's top-left corner; for the
# split button Diverse Links its arrow, which opens the menu.
TOOLBAR = {"modus": (235, 14), "info": (318, 14), "links": (420, 14), "update": (439, 14),
           "auto": (465, 14), "ende": (507, 14)}
# The focused box is light yellow: ffff80 in the main window and the compact
# window's rate box, ffffc0 for the compact window's amounts.
FOCUS_COLOURS = ("ffff80", "ffffc0")


class WalkFailure(Exception):
    pass


def visible_windows():
    """The program's framed windows by role, each with the ids shown."""
    patterns = {"main": MAIN, "compact": COMPACT, "wizard": WIZARD, **MODALS}
    shown = {name: [] for name in patterns}
    for wid in run("xdotool", "search", "--onlyvisible", "--class", "zelk").split():
        title = run("xdotool", "getwindowname", wid).rstrip("\n")
        for name, pattern in patterns.items():
            if re.search(pattern, title):
                shown[name].append(wid)
    return shown


def active_window():
    return run("xdotool", "getactivewindow").strip()


def tray_icon_centre():
    """The zelk window that trayer's panel embeds, or None."""
    tree = run("xwininfo", "-root", "-tree").splitlines()
    depth = None
    for line in tree:
        indent = len(line) - len(line.lstrip())
        if depth is None:
            if '"panel"' in line:
                depth = indent
            continue
        if indent <= depth:
            return None
        if '"zelk"' in line:
            match = re.search(r"(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)", line)
            # A click before the icon is mapped there goes nowhere.
            if match and "IsViewable" in run("xwininfo", "-id", line.split()[0]):
                width, height, x, y = map(int, match.groups())
                return x + width // 2, y + height // 2
            return None
    return None


def pointer_on_tray_icon():
    """Moves the pointer onto the icon; true once the icon is still there, as
    the tray host may move a newly docked icon into its place."""
    centre = tray_icon_centre()
    if not centre:
        return False
    run("xdotool", "mousemove", str(centre[0]), str(centre[1]))
    return tray_icon_centre() == centre


def focus_pixels(wid):
    return count_colours(window_image(wid), FOCUS_COLOURS)


def stacked_above(upper, lower):
    order = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
    ids = [int(x, 16) for x in re.findall(r"0x[0-9a-f]+", order)]
    return int(upper) in ids and int(lower) in ids and ids.index(int(upper)) > ids.index(int(lower))


class Walk:
    """The model: what the user should see, and the actions that change it."""

    def __init__(self, zelk, rng, log):
        self.zelk = zelk
        self.rng = rng
        self.log = log
        self.process = None
        self.home = None
        self.state = "ended"   # splash, main, tray, compact, modal, wizard, ended
        self.owner = None      # main or compact, under a modal window
        self.modal = None
        self.wizard_page = 0
        self.checked = True

    # --- program life ---------------------------------------------------

    def start(self):
        self.home = tempfile.mkdtemp(prefix="zelk-walk-")
        if self.rng.random() < 0.3:
            os.makedirs(f"{self.home}/.config/zelk")
            with open(f"{self.home}/.config/zelk/Zelk_2009.ini", "w", encoding="utf-8") as ini:
                ini.write("[Zelk_Satz]\nx.Text=16\n")
        self.process = self.launch()
        self.state = "splash"

    def launch(self):
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=f"{self.home}/.config",
                   XDG_DATA_HOME=f"{self.home}/.local/share", LANG="de_DE.UTF-8", LC_ALL="de_DE.UTF-8")
        return subprocess.Popen([self.zelk], env=env, stdout=self.log, stderr=self.log)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.home:
            shutil.rmtree(self.home, ignore_errors=True)
        self.process = None

    # --- what the user can reach ----------------------------------------

    def expected_window(self):
        return {"main": MAIN, "compact": COMPACT, "wizard": WIZARD}.get(self.state)

    def check(self):
        """Waits until the program shows what the model says, or fails."""
        if self.state == "ended":
            code = eventually(10, lambda: self.process.poll() is not None) and self.process.returncode
            if self.process.poll() is None:
                raise WalkFailure("the program did not end")
            if code != 0:
                raise WalkFailure(f"the program ended with exit code {code}")
            return
        if self.process.poll() is not None:
            raise WalkFailure(f"the program died (exit code {self.process.returncode})")
        if self.state == "splash":
            return
        problems = []

        def state_holds():
            problems.clear()
            tray = tray_icon_centre()
            if (tray is not None) != (self.state == "tray"):
                problems.append("a tray icon exists" if tray else "no tray icon")
            shown = visible_windows()
            expected = {self.state} & {"main", "compact", "wizard"}
            if self.state == "modal":
                expected = {self.owner, self.modal}
            for name, ids in shown.items():
                if (name in expected) != bool(ids):
                    problems.append(f"{name} window {'missing' if name in expected else 'visible'}")
                if len(ids) > 1:
                    problems.append(f"{len(ids)} {name} windows")
            if self.state == "modal" and not problems and not stacked_above(shown[self.modal][0],
                                                                             shown[self.owner][0]):
                problems.append(f"the {self.modal} window is not above its owner")
            return not problems

        if not eventually(8, state_holds):
            raise WalkFailure("; ".join(problems))
        if self.state in ("main", "compact", "modal"):
            wid = self.target()
            if not eventually(5, lambda: active_window() == wid):
                raise WalkFailure(f"the {self.state} window is not the active window")
            if self.state != "modal" and not eventually(5, lambda: focus_pixels(wid) > 200):
                raise WalkFailure(f"no box of the {self.state} window shows the focus colour")

    # --- actions ----------------------------------------------------------

    def actions(self):
        """(weight, name, function) of what a user can do now."""
        state = self.state
        if state == "splash":
            return [(5, "wait for the splash to end", self.wait_splash), (1, "second start", self.second_start)]
        common = [(1, "second start", self.second_start)]
        if state == "main":
            return common + [
                (6, "minimise", self.minimise),
                (2, "minimise and restore at once", self.minimise_and_click_icon),
                (3, "type an amount and Enter", self.type_amount),
                (1, "type a letter", self.type_letter),
                (2, "Ansicht wechseln", lambda: self.toolbar("modus", "compact")),
                (2, "Copyright", lambda: self.toolbar("info", "modal", "about")),
                (1, "Autostartfunktion", lambda: self.toolbar("auto", "modal", "autostart")),
                (1, "Spende", self.donation),
                (1, "Online-Update", lambda: self.toolbar("update", "modal", "update question")),
                (1, "Programm beenden", lambda: self.toolbar("ende", "modal", "exit question")),
                (0.3, "Alt+F4", lambda: self.keys("alt+F4", "ended")),
                (0.3, "close box", self.close_box),
            ]
        if state == "tray":
            return common + [
                (5, "click the tray icon", self.click_icon),
                (3, "tray menu: öffnen", lambda: self.tray_menu(first=True)),
                (0.4, "tray menu: beenden", lambda: self.tray_menu(first=False)),
            ]
        if state == "compact":
            return common + [
                (3, "minimise the compact window", self.minimise),
                (3, "type an amount and Enter", self.type_amount),
                (1, "type a letter", self.type_letter),
                (2, "Alt+F4", lambda: self.keys("alt+F4", "main")),
                (2, "close box", self.close_box),
            ]
        if state == "modal":
            moves = common + [
                (3, "Escape", lambda: self.keys("Escape", self.owner)),
                (2, "minimise the owner", self.minimise_owner),
                (1, "Alt+F4 on the modal window", lambda: self.keys("alt+F4", self.owner)),
            ]
            if self.modal == "exit question":
                moves.append((1, "answer Ja", lambda: self.keys("Return", "ended")))
            return moves
        if state == "wizard":
            moves = common + [(2, "minimise the wizard", self.minimise),
                              (0.5, "Abbrechen", lambda: self.keys("alt+a", "ended"))]
            page_keys = ["alt+w", "alt+udiaeresis", "alt+f"]
            moves.append((4, "next page with Enter", lambda: self.turn_wizard_page("Return")))
            moves.append((4, f"next page with {page_keys[self.wizard_page]}",
                          lambda: self.turn_wizard_page(page_keys[self.wizard_page])))
            return moves
        raise WalkFailure(f"no actions in state {state}")

    def wait_splash(self):
        found = eventually(30, lambda: window_named(MAIN) or window_named(WIZARD))
        if not found:
            raise WalkFailure("neither the main window nor the wizard followed the splash")
        self.state = "wizard" if window_named(WIZARD) else "main"
        self.wizard_page = 0

    def target(self):
        pattern = MODALS[self.modal] if self.state == "modal" else self.expected_window()
        wid = eventually(5, lambda: window_named(pattern))
        if not wid:
            raise WalkFailure(f"no window to act on in state {self.state}")
        return wid

    def activate_target(self):
        """Keys go where the user looks: to the window the model says is in front."""
        wid = self.target()
        if not eventually(5, lambda: active_window() == wid):
            raise WalkFailure(f"the window of state {self.state} does not take the keyboard")
        return wid

    def keys(self, keys, next_state):
        self.activate_target()
        run("xdotool", "key", keys)
        self.enter(next_state)

    def enter(self, state):
        if state in ("main", "compact"):
            self.modal = None
        self.state = state

    def minimise(self):
        run("xdotool", "windowminimize", self.target())
        # The main window goes into the tray; the others come back by themselves.
        if self.state == "main":
            self.state = "tray"

    def minimise_owner(self):
        owner = window_named(MAIN if self.owner == "main" else COMPACT)
        if owner:
            run("xdotool", "windowminimize", owner)

    def minimise_and_click_icon(self):
        run("xdotool", "windowminimize", self.target())
        time.sleep(self.rng.uniform(0, 0.3))
        self.state = "tray"
        self.click_icon()

    def click_icon(self):
        if not eventually(5, pointer_on_tray_icon):
            raise WalkFailure("no tray icon to click")
        run("xdotool", "click", "1")
        self.state = "main"

    def tray_menu(self, first):
        def right_click_menu():
            if not eventually(5, pointer_on_tray_icon):
                return None
            run("xdotool", "click", "3")
            return eventually(2, lambda: menus())

        menu = eventually(10, right_click_menu)
        if not menu:
            raise WalkFailure("the tray icon's right-button menu did not open")
        _, x, y, width, height = menu[0]
        run("xdotool", "mousemove", str(x + width // 2), str(y + 12 if first else y + height - 12),
            "click", "1")
        self.state = "main" if first else "ended"

    def toolbar(self, button, state, modal=None):
        wid = self.activate_target()
        x, y = TOOLBAR[button]
        run("xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1")
        if state == "modal":
            self.owner, self.modal = self.state, modal
        self.state = state

    def donation(self):
        wid = self.activate_target()
        x, y = TOOLBAR["links"]
        run("xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1")
        if not eventually(5, lambda: menus()):
            raise WalkFailure("the Links menu did not open")
        run("xdotool", "key", "z")
        self.owner, self.modal, self.state = "main", "donation", "modal"

    def type_amount(self):
        self.activate_target()
        run("xdotool", "type", "--delay", "20", str(self.rng.randint(1, 9999)))
        run("xdotool", "key", "Return")

    def type_letter(self):
        self.activate_target()
        run("xdotool", "key", "q")
        self.owner, self.modal, self.state = self.state, "wrong key", "modal"

    def close_box(self):
        wid = self.activate_target()
        info = run("xwininfo", "-id", wid)
        x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
        y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
        width = int(re.search(r"Width:\s+(\d+)", info).group(1))
        extents = re.findall(r"\d+", run("xprop", "-id", wid, "_NET_FRAME_EXTENTS").split("=")[-1])
        right, top = (int(extents[1]), int(extents[2])) if len(extents) == 4 else (4, 20)
        # Openbox puts the close button at the right end of the title bar.
        run("xdotool", "mousemove", str(x + width + right - 12), str(y - top // 2), "click", "1")
        self.enter("ended" if self.state == "main" else "main")

    def second_start(self):
        second = self.launch()
        # Right after the first start either of the two may take the lock: the
        # other one ends, and the walk goes on with the one that runs.
        ended = eventually(10, lambda: [p for p in (second, self.process) if p.poll() is not None])
        if not ended:
            second.kill()
            second.wait()
            raise WalkFailure("a second start did not end")
        if len(ended) > 1 or ended[0].returncode != 0:
            raise WalkFailure(f"a start ended with exit code {ended[0].returncode}")
        if ended[0] is self.process:
            if self.state != "splash":
                raise WalkFailure("the running program ended when started again")
            self.process = second
        if self.state == "tray":
            self.state = "main"

    def turn_wizard_page(self, keys):
        wid = self.activate_target()
        before = window_image(wid)
        run("xdotool", "key", keys)
        self.wizard_page += 1
        if self.wizard_page == 3:
            self.state = "main"
        # The next page shows its text and button once the key has been handled.
        elif not eventually(5, lambda: window_image(wid) != before):
            raise WalkFailure(f"{keys} did not turn the wizard's page")


def main():
    zelk, steps, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    print(f"random walk: {steps} steps, seed {seed}")
    rng = random.Random(seed)
    log = tempfile.TemporaryFile(mode="w+")
    walk = Walk(zelk, rng, log)
    history = []
    try:
        for step in range(1, steps + 1):
            if walk.state == "ended":
                walk.stop()
                walk.start()
                history.append(f"{step}: start{' (with a 2009 rate)' if os.path.exists(walk.home + '/.config/zelk') else ''}")
            weights, names, moves = zip(*walk.actions())
            index = rng.choices(range(len(moves)), weights=weights)[0]
            history.append(f"{step}: {walk.state}: {names[index]}")
            moves[index]()
            # Now and then the user goes on before the program has answered.
            if walk.state in ("main", "tray", "compact", "modal") and rng.random() < 0.25:
                gap = rng.uniform(0, 0.3)
                history[-1] += f" (next after {gap * 1000:.0f} ms)"
                time.sleep(gap)
                continue
            walk.check()
    except WalkFailure as failure:
        print("\n".join(history[-15:]))
        print(f"FAILED after step {len(history)}: {failure}")
        shot = os.environ.get("ZELK_WALK_SCREENSHOT", "/tmp/walk-failure.png")
        run("import", "-window", "root", shot)
        print(f"the screen at the failure: {shot}")
        log.seek(0)
        output = log.read().strip()
        if output:
            print("zelk printed (last lines):")
            print("\n".join([line for line in output.splitlines() if "XDG_RUNTIME_DIR" not in line][-20:]))
        print(f"replay with: ZELK_WALK_SEED={seed} ZELK_WALK_STEPS={steps} ctest --preset sanitize -R walk")
        walk.stop()
        return 1
    walk.stop()
    print(f"{steps} steps passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
