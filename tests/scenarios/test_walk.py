# A seeded random walk through the real program's windows, as a user who does
# not follow a script. After every step the program must show what the model
# expects, reachable by the user. The walk first tries every (window state,
# action) pair it can reach, taking the shortest way to a state with pairs
# still untried, then goes on at random; it prints which pairs it tried.
# ZELK_WALK_SEED and ZELK_WALK_STEPS replay a walk.
import os
import random
import re
import time
import warnings

from actions import click_icon, close_box, gone, press, second_start, shows_focus, to_tray, toolbar, tray_menu
from actions import type_amount
from places import COMPACT, MAIN, MODALS, WIZARD
from session import eventually, keys, minimise, pixels, prop, root, shoot, shown, stacked_above, tray_icon_centre
from session import wait_window, window_named

ROLES = {"main": MAIN, "compact": COMPACT, "wizard": WIZARD, **MODALS}
WIZARD_KEYS = ["alt+w", "alt+udiaeresis", "alt+f"]
OPENS = [("about", "about", 2), ("autostart", "autostart", 1), ("update", "update question", 1),
         ("exit", "exit question", 1)]


class Walk:
    # The model is one state: ended, splash (or "splash, 2009 rate" before the
    # wizard), main, tray, compact, "wizard <page>", or "<modal window> over <its owner>".

    def __init__(self, launch, rng):
        self.launch, self.rng = launch, rng
        self.program, self.state, self.seen = None, "ended", set()  # seen: the states whose windows were shot

    def pattern(self, state=None):
        role = (state or self.state).split(" over ")[0]
        return ROLES.get(role.split()[0] if role.startswith("wizard") else role)

    def window(self, pattern):  # the window the model says is there
        wid = wait_window(pattern, 5)
        assert wid, f"no window {pattern} to act on in state {self.state}"
        return wid

    def moves(self, state):
        # (weight, name, action, the state after it) of what a user can do in the state.
        here = self.pattern(state)
        if state == "ended":
            return [(1, "start", lambda: self.start(None), "splash"),
                    (0.5, "start with a 2009 rate", lambda: self.start(16), "splash, 2009 rate")]
        moves = [(1, "second start", self.second_start, "main" if state == "tray" else state)]
        if state.startswith("splash"):
            return moves + [(5, "wait for the splash to end", self.after_splash, "main" if state == "splash"
                             else "wizard 1")]
        if state in ("main", "compact"):
            back = "ended" if state == "main" else "main"
            moves += [(3, "type an amount and Enter", lambda: type_amount(here, self.rng.randint(1, 9999)), state),
                      (1, "type a letter", lambda: press(here, "q", lambda: window_named(MODALS["wrong key"])),
                       f"wrong key over {state}"),
                      (2, "Alt+F4", lambda: press(here, "alt+F4", gone(here)), back),
                      (1, "close box", lambda: close_box(here), back)]
        if state == "main":
            moves += [(6, "minimise", to_tray, "tray"),
                      (2, "minimise and restore at once", self.minimise_and_click, "main"),
                      (2, "Ansicht wechseln", lambda: toolbar("compact", COMPACT), "compact"),
                      (1, "donation", lambda: toolbar("links") and keys("z"), "donation over main")]
            moves += [(weight, modal, lambda b=button, m=modal: toolbar(b, MODALS[m]), f"{modal} over main")
                      for button, modal, weight in OPENS]
        if state == "compact":
            moves.append((3, "minimise the compact window", lambda: minimise(self.window(COMPACT)), state))
        if state == "tray":
            moves += [(5, "click the tray icon", click_icon, "main"),
                      (3, "tray menu: öffnen", lambda: tray_menu(True), "main"),
                      (0.4, "tray menu: beenden", lambda: tray_menu(False), "ended")]
        if " over " in state:
            modal, owner = state.split(" over ")
            moves += [(3, "Escape", lambda: press(here, "Escape"), owner),
                      (2, "minimise the owner", lambda: minimise(self.window(ROLES[owner])), state),
                      (1, "Alt+F4 on the modal window", lambda: press(here, "alt+F4"), owner)]
            if modal == "exit question":
                moves.append((1, "answer Ja", lambda: press(here, "Return"), "ended"))
        if state.startswith("wizard"):
            page = int(state.split()[1])
            after = f"wizard {page + 1}" if page < 3 else "main"
            moves += [(2, "minimise the wizard", lambda: minimise(self.window(WIZARD)), state),
                      (0.5, "Abbrechen", lambda: press(WIZARD, "alt+a"), "ended"),
                      (4, "next page with Enter", lambda: self.turn_page(page, "Return"), after),
                      (4, f"next page with {WIZARD_KEYS[page - 1]}", lambda: self.turn_page(page), after)]
        return moves

    def ways(self, start):  # every state the model reaches from start, nearest first, with the first move there
        first, todo = {start: None}, [start]
        for state in todo:
            for move in self.moves(state):
                if move[3] not in first:
                    first[move[3]] = first[state] or move
                    todo.append(move[3])
        return first

    def choose(self, tried):
        # An untried move here, else the first move towards the nearest state with one, else any move.
        moves = self.moves(self.state)
        untried = [move for move in moves if (self.state, move[1]) not in tried]
        if untried:
            return self.rng.choice(untried)
        way = next((first for state, first in self.ways(self.state).items()
                    if any((state, move[1]) not in tried for move in self.moves(state))), None)
        return way or self.rng.choices(moves, weights=[move[0] for move in moves])[0]

    def start(self, old_rate):
        if self.program:
            self.program.stop()
        self.program = self.launch(old_rate=old_rate)

    def check(self):
        # Waits until the program shows what the model says, or fails.
        process = self.program.process
        if self.state == "ended":
            ended = self.program.ended(10) and process.returncode == 0
            assert ended, f"the program did not end well (exit code {process.returncode})"
            return
        assert self.program.alive(), f"the program died (exit code {process.returncode})"
        if self.state.startswith("splash"):
            return
        problems = []
        modal, owner = self.state.split(" over ") if " over " in self.state else (None, None)
        expected = {owner, modal} if modal else {self.state.split()[0]}

        def holds():
            icon, windows = tray_icon_centre(), shown()
            windows = {role: [win.id for win, title, *_ in windows if re.search(pattern, title)]
                       for role, pattern in ROLES.items()}
            problems[:] = [f"{len(ids)} {role} windows" for role, ids in windows.items()
                           if (role in expected) != bool(ids) or len(ids) > 1]
            if bool(icon) != (self.state == "tray"):
                problems.append("a tray icon exists" if icon else "no tray icon")
            if modal and not problems and not stacked_above(windows[modal][0], windows[owner][0]):
                problems.append(f"the {modal} window is not above its owner")
            return not problems

        assert eventually(8, holds), "; ".join(problems)
        if self.state in ("main", "compact") or modal:
            wid = window_named(self.pattern())
            assert eventually(5, lambda: prop(root(), "_NET_ACTIVE_WINDOW") == [wid]), f"{self.state}: not active"
            assert modal or eventually(5, lambda: shows_focus(wid)), f"{self.state}: no box shows the focus colour"
            if self.state not in self.seen:  # each window's picture, for the README and to look at
                self.seen.add(self.state)
                shoot(wid, f"walk-{self.state.split(' over ')[0].replace(' ', '-')}.png")

    def after_splash(self):
        assert eventually(30, lambda: window_named(MAIN) or window_named(WIZARD)), "nothing followed the splash"

    def second_start(self):
        # Right after the first start either may take the lock; the walk goes on with the one that runs.
        first = self.program.process
        ended = second_start(self.program)
        assert ended and ended.returncode == 0, "a second start did not end well"
        assert ended is not first or self.state.startswith("splash"), "the running program ended when started again"

    def minimise_and_click(self):
        minimise(self.window(MAIN))
        time.sleep(self.rng.uniform(0, 0.3))  # the user's own gap, not a wait for the program
        click_icon()

    def turn_page(self, page, key=None):  # with Enter or the button's mnemonic
        key, wid = key or WIZARD_KEYS[page - 1], self.window(WIZARD)
        before = pixels(wid)
        # The next page shows its text and button once the key has been handled; after the last the model checks.
        assert press(WIZARD, key, lambda: page == 3 or pixels(wid) != before), f"{key} did not turn the wizard's page"


def test_walk(tray, launch, capsys):
    steps = int(os.environ.get("ZELK_WALK_STEPS", "300"))
    seed = int(os.environ.get("ZELK_WALK_SEED") or time.time())
    replay = f"ZELK_WALK_SEED={seed} ZELK_WALK_STEPS={steps} ctest --preset sanitize -R '^walk$'"
    with capsys.disabled():
        print(f"\nrandom walk: {steps} steps, seed {seed}", flush=True)
    walk, history, tried = Walk(launch, random.Random(seed)), [], set()
    try:
        for step in range(1, steps + 1):
            _, name, action, after = walk.choose(tried)
            tried.add((walk.state, name))
            history.append(f"{step}: {walk.state}: {name}")
            action()
            walk.state = after
            # Now and then the user goes on before the program has answered.
            if (after in ("main", "tray", "compact") or " over " in after) and walk.rng.random() < 0.25:
                gap = walk.rng.uniform(0, 0.3)
                history[-1] += f" (next after {gap * 1000:.0f} ms)"
                time.sleep(gap)  # the user's own pace, not a wait for the program
            else:
                walk.check()
    except Exception as failure:  # an action that broke, too, is shown with its seed
        shoot("root", "walk-failure.png")
        raise AssertionError("\n".join([*history[-15:], f"FAILED after step {len(history)}: {failure}",
                                        f"replay with: {replay}"])) from failure
    # Every (state, action) pair the model can reach from a stopped program, that the walk did not try.
    untried = sorted({(state, move[1]) for state in walk.ways("ended") for move in walk.moves(state)} - tried)
    with capsys.disabled():
        print(f"coverage: {len(tried)} of {len(tried) + len(untried)} (state, action) pairs tried", flush=True)
    if untried:
        warnings.warn(f"never reached in this walk ({replay}): " + "; ".join(f"{s}: {a}" for s, a in untried))
