# Runs a suite against the real program in a fresh X session:
# run.py realwindow|walk|atspi <program> [launcher, default x11]
# Exits 77 (skipped) when the machine lacks a tool the suite needs.
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from session import Cases, Program, Session, Skip  # noqa: E402


def x11(program):
    # The binary started directly, as a new user.
    return lambda **options: Program([program], **options)


LAUNCHERS = {"x11": x11}


def main(suite, program, launcher="x11"):
    launch = LAUNCHERS[launcher](program)
    try:
        session = Session(tray=suite == "walk", atspi=suite == "atspi")
        if suite == "atspi":
            import atspi
        if suite == "walk":
            import walk
    except (Skip, ImportError, ValueError) as why:
        print(f"SKIP: {why}")
        return 77
    try:
        if suite == "realwindow":
            import scenarios
            cases = Cases(launch)
            scenarios.run_scenarios(cases, session, launcher)
            return cases.finish()
        if suite == "atspi":
            return atspi.main(Cases(launch))
        return walk.main(launch)
    finally:
        session.close()


if __name__ == "__main__":
    os.environ["PYTHONDONTWRITEBYTECODE"] = "1"
    sys.exit(main(*sys.argv[1:]))
