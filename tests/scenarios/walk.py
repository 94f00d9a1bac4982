# A seeded random walk through the real program's windows, as a user who does
# not follow a script, drawn from the same actions as the scenarios. After every
# step the program must show what the model expects, reachable by the user.
# ZELK_WALK_SEED and ZELK_WALK_STEPS replay a walk.
import os
import random
import re
import time

from actions import (alt_f4, click_icon, close_box, press, second_start, shows_focus, switch_view, to_tray,
                     toolbar, tray_menu, type_amount, type_letter)
from places import COMPACT, MAIN, MODALS, WIZARD
from session import (active_window, eventually, image, keys, minimise, run, shoot, stacked_above, title,
                     tray_icon_centre, wait_window, window_named)

ROLES = {"main": MAIN, "compact": COMPACT, "wizard": WIZARD, **MODALS}
WIZARD_KEYS = ["alt+w", "alt+udiaeresis", "alt+f"]


class Failure(Exception):
    pass


def shown():
    # The program's framed windows by role, each with the ids shown.
    found = {role: [] for role in ROLES}
    for wid in run("xdotool", "search", "--onlyvisible", "--class", "zelk").split():
        name = title(wid)
        for role, pattern in ROLES.items():
            if re.search(pattern, name):
                found[role].append(wid)
    return found


class Walk:
    # The model (what the user should see) and the actions that change it.

    def __init__(self, launch, rng):
        self.launch, self.rng = launch, rng
        self.program = None
        self.state = "ended"  # splash, main, tray, compact, modal, wizard, ended
        self.owner = self.modal = None  # under a modal window: main or compact
        self.page = 0

    def start(self):
        if self.program:
            self.program.stop()
        self.program = self.launch(old_rate=16 if self.rng.random() < 0.3 else None)
        self.state = "splash"

    def window(self, pattern):  # the window the model says is there
        wid = wait_window(pattern, 5)
        if not wid:
            raise Failure(f"no window {pattern} to act on in state {self.state}")
        return wid

    def pattern(self):
        return MODALS[self.modal] if self.state == "modal" else ROLES.get(self.state)

    def check(self):
        # Waits until the program shows what the model says, or fails.
        process = self.program.process
        if self.state == "ended" and (not self.program.ended(10) or process.returncode != 0):
            raise Failure(f"the program did not end well (exit code {process.returncode})")
        if self.state != "ended" and not self.program.alive():
            raise Failure(f"the program died (exit code {process.returncode})")
        if self.state in ("ended", "splash"):
            return
        problems = []

        def holds():
            problems.clear()
            icon = tray_icon_centre()
            if bool(icon) != (self.state == "tray"):
                problems.append("a tray icon exists" if icon else "no tray icon")
            windows = shown()
            expected = {self.owner, self.modal} if self.state == "modal" else {self.state}
            for role, ids in windows.items():
                if (role in expected) != bool(ids) or len(ids) > 1:
                    problems.append(f"{len(ids)} {role} windows")
            if self.state == "modal" and not problems and not stacked_above(windows[self.modal][0],
                                                                             windows[self.owner][0]):
                problems.append(f"the {self.modal} window is not above its owner")
            return not problems

        if not eventually(8, holds):
            raise Failure("; ".join(problems))
        if self.state in ("main", "compact", "modal"):
            wid = window_named(self.pattern())
            if not eventually(5, lambda: active_window() == wid):
                raise Failure(f"the {self.state} window is not the active window")
            if self.state != "modal" and not eventually(5, lambda: shows_focus(wid)):
                raise Failure(f"no box of the {self.state} window shows the focus colour")

    def to(self, state, modal=None):
        # An action whose model effect is the new state (and modal window).
        def change():
            if modal:
                self.owner, self.modal = self.state, modal
            self.state = state
        return change

    def actions(self):
        # (weight, name, action, then) of what a user can do now.
        state, here = self.state, self.pattern()
        moves = [(1, "second start", self.second_start, None)]
        if state == "splash":
            return moves + [(5, "wait for the splash to end", lambda: None, self.after_splash)]
        if state in ("main", "compact"):
            moves += [(3, "type an amount and Enter", lambda: type_amount(here, self.rng.randint(1, 9999)), None),
                      (1, "type a letter", lambda: type_letter(here), self.to("modal", "wrong key")),
                      (2, "Alt+F4", lambda: alt_f4(here), self.to("ended" if state == "main" else "main")),
                      (1, "close box", lambda: close_box(here), self.to("ended" if state == "main" else "main"))]
        if state == "main":
            moves += [(6, "minimise", to_tray, self.to("tray")),
                      (2, "minimise and restore at once", self.minimise_and_click, None),
                      (2, "Ansicht wechseln", switch_view, self.to("compact"))]
            for button, modal, weight in [("about", "about", 2), ("autostart", "autostart", 1),
                                          ("update", "update question", 1), ("exit", "exit question", 1)]:
                moves.append((weight, modal, lambda b=button, m=modal: toolbar(b, MODALS[m]), self.to("modal", modal)))
            moves.append((1, "donation", lambda: toolbar("links") and keys("z"), self.to("modal", "donation")))
        if state == "compact":
            moves.append((3, "minimise the compact window", lambda: minimise(self.window(COMPACT)), None))
        if state == "tray":
            moves += [(5, "click the tray icon", click_icon, self.to("main")),
                      (3, "tray menu: öffnen", lambda: tray_menu(True), self.to("main")),
                      (0.4, "tray menu: beenden", lambda: tray_menu(False), self.to("ended"))]
        if state == "modal":
            moves += [(3, "Escape", lambda: press(here, "Escape"), self.to(self.owner)),
                      (2, "minimise the owner", lambda: minimise(self.window(ROLES[self.owner])), None),
                      (1, "Alt+F4 on the modal window", lambda: press(here, "alt+F4"), self.to(self.owner))]
            if self.modal == "exit question":
                moves.append((1, "answer Ja", lambda: press(here, "Return"), self.to("ended")))
        if state == "wizard":
            moves += [(2, "minimise the wizard", lambda: minimise(self.window(WIZARD)), None),
                      (0.5, "Abbrechen", lambda: press(WIZARD, "alt+a"), self.to("ended")),
                      (4, "next page with Enter", lambda: self.turn_page("Return"), None),
                      (4, f"next page with {WIZARD_KEYS[self.page]}", self.turn_page, None)]
        return moves

    def after_splash(self):
        if not eventually(30, lambda: window_named(MAIN) or window_named(WIZARD)):
            raise Failure("neither the main window nor the wizard followed the splash")
        self.state, self.page = ("wizard" if window_named(WIZARD) else "main"), 0

    def second_start(self):
        # Right after the first start either may take the lock; the walk goes on with the one that runs.
        first = self.program.process
        ended = second_start(self.program)
        if not ended or ended.returncode != 0:
            raise Failure("a second start did not end well")
        if ended is first and self.state != "splash":
            raise Failure("the running program ended when started again")
        if self.state == "tray":
            self.state = "main"

    def minimise_and_click(self):
        minimise(self.window(MAIN))
        time.sleep(self.rng.uniform(0, 0.3))
        click_icon()

    def turn_page(self, key=None):  # with Enter or the button's mnemonic
        key, wid = key or WIZARD_KEYS[self.page], wait_window(WIZARD, 5)
        before = image(wid)
        # The next page shows its text and button once the key has been handled.
        if self.page < 2 and not press(WIZARD, key, lambda: image(wid) != before):
            raise Failure(f"{key} did not turn the wizard's page")
        if self.page == 2:
            press(WIZARD, key)
            self.state = "main"
        self.page += 1


def main(launch):
    steps = int(os.environ.get("ZELK_WALK_STEPS", "300"))
    seed = int(os.environ.get("ZELK_WALK_SEED") or time.time())
    print(f"random walk: {steps} steps, seed {seed}", flush=True)
    rng = random.Random(seed)
    walk, history = Walk(launch, rng), []
    try:
        for step in range(1, steps + 1):
            if walk.state == "ended":
                walk.start()
                history.append(f"{step}: start{' (with a 2009 rate)' if walk.program.old_rate() else ''}")
            weights, names, moves, thens = zip(*walk.actions())
            index = rng.choices(range(len(moves)), weights=weights)[0]
            history.append(f"{step}: {walk.state}: {names[index]}")
            moves[index]()
            if thens[index]:
                thens[index]()
            # Now and then the user goes on before the program has answered.
            if walk.state in ("main", "tray", "compact", "modal") and rng.random() < 0.25:
                gap = rng.uniform(0, 0.3)
                history[-1] += f" (next after {gap * 1000:.0f} ms)"
                time.sleep(gap)
                continue
            walk.check()
    except Exception as failure:  # an action that broke, too, is shown with its seed
        print("\n".join(history[-15:]))
        print(f"FAILED after step {len(history)}: {failure}")
        shoot("root", "walk-failure.png")
        print("the program printed (last lines):\n" + "\n".join(walk.program.output().splitlines()[-20:]))
        print(f"replay with: ZELK_WALK_SEED={seed} ZELK_WALK_STEPS={steps} ctest --preset sanitize -R walk")
        return 1
    finally:
        walk.program and walk.program.stop()
    print(f"{steps} steps passed")
    return 0
