"""What the Python suites share for driving the real program in the X session
that xsession.sh made: xdotool, xwininfo and import, read back as Python values.
Run as a script, it counts the pixels of the given colours (rrggbb) in a binary
PPM image on stdin."""
import re
import subprocess
import sys
import time


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False).stdout


def eventually(seconds, condition):
    """Polls the condition until it holds or the time is over; returns its last value."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


def windows_named(pattern):
    return run("xdotool", "search", "--onlyvisible", "--name", pattern).split()


def window_named(pattern):
    found = windows_named(pattern)
    return found[0] if found else None


def menus():
    """The program's open menus, as (id, x, y, w, h): unframed windows taller
    than a tooltip line (a balloon goes when its icon is clicked)."""
    found = []
    for wid in run("xdotool", "search", "--onlyvisible", "--class", "zelk").split():
        if "Override Redirect State: yes" not in run("xwininfo", "-id", wid):
            continue
        geometry = dict(re.findall(r"(\w+)=(-?\d+)", run("xdotool", "getwindowgeometry", "--shell", wid)))
        if int(geometry["HEIGHT"]) >= 40:
            found.append((wid, int(geometry["X"]), int(geometry["Y"]), int(geometry["WIDTH"]),
                          int(geometry["HEIGHT"])))
    return found


def window_image(wid):
    """The window as an 8-bit binary PPM image."""
    return subprocess.run(["import", "-window", wid, "-depth", "8", "ppm:-"], capture_output=True,
                          check=False).stdout


def count_colours(image, colours):
    """How many pixels of a binary PPM image have one of the colours (rrggbb)."""
    fields = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s", image)
    if not fields:
        return 0
    wanted = {bytes.fromhex(colour) for colour in colours}
    pixels = image[fields.end():]
    return sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] in wanted)


if __name__ == "__main__":
    print(count_colours(sys.stdin.buffer.read(), sys.argv[1:]))
