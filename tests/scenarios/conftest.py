# The scenario engine's fixtures: the X session, the tray host, the
# accessibility bus, and the program started as a new user by a launcher
# (x11: the binary here; wine: zelk.exe under Wine; cleanroot: the installed
# package in a fresh Debian root). CTest runs each suite as
#     python3 -m pytest <test files> --zelk <program> [--launcher wine|cleanroot --release <folder>]
# Pick cases with pytest's -k, through CTest too:
#     PYTEST_ADDOPTS='-k "tray and not host"' ctest --test-dir build/sanitize -R '^realwindow$'
# A suite whose machine lacks a tool is skipped (pytest's skip; CTest reads
# its summary). ZELK_WALK_SEED and ZELK_WALK_STEPS replay a random walk.
import os
import subprocess

import pytest

import launchers
from session import Program, Session, need


def pytest_addoption(parser):
    parser.addoption("--zelk", help="the program: the binary built here, or zelk.exe for Wine")
    parser.addoption("--launcher", default="x11", choices=["x11", "wine", "cleanroot"])
    parser.addoption("--release", help="the folder of the release files (Wine) or of the package (clean root)")


def pytest_configure(config):
    config.addinivalue_line("markers", "launchers(*names): the launchers that run a shared case")


def pytest_collection_modifyitems(config, items):
    # A shared case runs on the launchers it names; every other case on its own suite's.
    chosen = config.getoption("launcher")
    keep = [item for item in items if chosen in getattr(item.get_closest_marker("launchers"), "args", [chosen])]
    config.hook.pytest_deselected(items=[item for item in items if item not in keep])
    items[:] = keep


@pytest.fixture(scope="session")
def session():
    started = Session()
    yield started
    started.close()


@pytest.fixture
def tray(session):
    session.start_tray()
    yield session
    session.kill_tray()


@pytest.fixture(scope="session")
def bus(session):  # a private session bus with the accessibility bus on it
    launcher = "/usr/libexec/at-spi-bus-launcher"
    need("dbus-daemon", launcher)
    # The bus runs in the foreground, a process of the session, which ends it with the others.
    bus = session.spawn("dbus-daemon", "--session", "--nofork", "--print-address=1", stdout=subprocess.PIPE)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
    session.spawn(launcher, "--launch-immediately")
    os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"


@pytest.fixture(scope="session")
def launcher(request, session):
    option = request.config.getoption
    kind, program = option("launcher"), option("zelk")
    if kind == "x11":
        yield launchers.Native(program)
        return
    with launchers.Wine(program) if kind == "wine" else launchers.CleanRoot(option("release")) as made:
        yield made


@pytest.fixture
def launch(launcher):
    # Starts the program as a new user: launch(old_rate=16, env={...}, command=[...], via=<another launcher>).
    # Stops it after the case, and shows what it printed when the case failed.
    programs = []

    def start(via=None, **options):
        programs.append(Program(via or launcher, **options))
        return programs[-1]
    yield start
    for program in programs:
        if program.output():
            print(f"the program printed:\n{program.output()}")
        program.stop()
