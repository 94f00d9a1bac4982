# Installs the release package with apt into a fresh Debian 12 root
# (debootstrap, minbase: nothing the development machine happens to have), as a
# new user would, and starts the installed /usr/bin/zelk there on the session's
# display. It must look as the program built here does: the same Qt plug-ins
# mapped, everything in the toolbar drawn, and F1 must show the help or say why
# it cannot. The root is made once and kept as a tarball in ~/.cache/zelk/, the
# packages apt fetches for it beside it, so later runs take a minute.
# cleanroot.py <package folder> <program built here> <screenshot folder>
import glob
import os
import re
import subprocess
import sys
import tempfile

from places import MAIN
from session import (exit_with, Cases, Program, Session, Skip, activate, eventually, keys, need, run, shoot,
                     wait_gone, wait_window, window_named)

CACHE = os.path.join(os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache")), "zelk")
TARBALL = f"{CACHE}/debian-bookworm-minbase.tar.gz"
PATH = "PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin"


def sh(*args, log=None):
    with open(log or os.devnull, "a", encoding="utf-8") as out:
        return subprocess.run(args, stdout=out, stderr=subprocess.STDOUT, check=False).returncode == 0


def make_root(work, mirror):
    # The root unpacked from the cached tarball (made first when there is none), with apt ready to install.
    if not os.path.exists(TARBALL):
        print(f"Making a Debian 12 root (debootstrap --variant=minbase, a few minutes, once): {TARBALL}", flush=True)
        if not sh("debootstrap", "--variant=minbase", "bookworm", f"{work}/new", mirror, log=f"{work}/debootstrap.log"):
            raise RuntimeError(f"debootstrap failed: {run('tail', '-n', '20', f'{work}/debootstrap.log')}")
        for mount in reversed(mounted_under(f"{work}/new")):
            sh("umount", mount)
        os.makedirs(CACHE, exist_ok=True)
        if sh("tar", "-C", f"{work}/new", "--numeric-owner", "-czf", f"{TARBALL}.part", "."):
            os.replace(f"{TARBALL}.part", TARBALL)
        sh("rm", "-rf", "--one-file-system", f"{work}/new")
    root = f"{work}/root"
    os.makedirs(root)
    if not sh("tar", "-C", root, "--numeric-owner", "-xzpf", TARBALL):
        raise RuntimeError(f"unpacking {TARBALL} failed")
    os.makedirs(f"{root}/tmp/.X11-unix", exist_ok=True)
    os.makedirs(f"{CACHE}/apt-archives/partial", exist_ok=True)
    sh("mount", "-t", "proc", "proc", f"{root}/proc")
    sh("mount", "--rbind", "/dev", f"{root}/dev")
    sh("mount", "--bind", "/tmp/.X11-unix", f"{root}/tmp/.X11-unix")
    sh("mount", "--bind", f"{CACHE}/apt-archives", f"{root}/var/cache/apt/archives")
    sh("cp", "/etc/resolv.conf", f"{root}/etc/resolv.conf")
    with open(f"{root}/etc/dpkg/dpkg.cfg.d/zelk-test", "w", encoding="utf-8") as dpkg:
        dpkg.write("force-unsafe-io\n")
    return root


def mounted_under(folder):
    with open("/proc/self/mounts", encoding="utf-8") as mounts:
        return sorted(line.split()[1] for line in mounts if line.split()[1].startswith(folder + "/"))


def install(root, deb, work):
    # What a new user types; Recommends are left out, so Depends alone must do.
    sh("cp", deb, f"{root}/tmp/")
    apt = ["chroot", root, "/usr/bin/env", "-i", PATH, "HOME=/root", "LANG=C.UTF-8", "DEBIAN_FRONTEND=noninteractive",
           "apt-get", "-q", "-y", "-o", "APT::Sandbox::User=root"]
    log = f"{work}/apt.log"
    if not (sh(*apt, "update", log=log) and
            sh(*apt, "install", "--no-install-recommends", f"/tmp/{os.path.basename(deb)}", log=log)):
        raise RuntimeError(f"apt-get install {os.path.basename(deb)} in the Debian root failed:\n"
                           + run("tail", "-n", "30", log))
    sh(*apt, "autoclean", log=log)  # the cache keeps only what the archive still offers
    with open(log, encoding="utf-8") as lines:
        print(f"installed {os.path.basename(deb)} with {lines.read().count('Setting up')} packages", flush=True)


def plugins(pid):
    with open(f"/proc/{pid}/maps", encoding="utf-8") as maps:
        return sorted(set(re.findall(r"qt6/plugins/(\S+)", maps.read())))


def toolbar(wid, name):
    # The toolbar, the top 28 pixels (420 twips) of the main window, as rows of (r, g, b), once two shots in a
    # row agree (the window has finished painting); the whole window is kept to look at.
    def settled():
        width = int(re.search(r"WIDTH=(\d+)", run("xdotool", "getwindowgeometry", "--shell", wid)).group(1))
        shots = [subprocess.run(["import", "-window", wid, "-crop", f"{width}x28+0+0", "+repage", "-depth", "8",
                                 "rgb:-"], capture_output=True, check=False).stdout for _ in range(2)]
        return shots[0] == shots[1] and len(shots[0]) == width * 28 * 3 and (width, shots[0])
    width, data = eventually(10, settled) or (1, b"")
    shoot(wid, name)
    return [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(28)]


def drawn_stretches(rows):
    # Per stretch of drawn columns (an icon, a word, an arrow, a separator): its columns and how many pixels
    # differ from their row's background, the last column, which the stretch after the buttons keeps empty.
    counts = [sum(sum(abs(a - b) for a, b in zip(row[x], row[-1])) > 60 for row in rows) for x in range(len(rows[0]))]
    stretches, start = [], None
    for x, count in enumerate(counts + [0]):
        if count and start is None:
            start = x
        elif not count and start is not None:
            stretches.append((start, x))
            start = None
    return stretches, counts


def case_looks_as_here(c):
    here = c.launch(here=True)
    wid = c.require("the program built here shows its main window", wait_window(MAIN, 30))
    drawn_here, plugins_here = toolbar(wid, "toolbar-here.png"), plugins(here.process.pid)
    here.stop()
    wait_gone(MAIN)
    program = c.launch()
    wid = c.require("the installed program shows its main window", wait_window(MAIN, 30))
    drawn = toolbar(wid, "toolbar-clean-root.png")
    # Qt may load a plug-in at its first use: the late ones get their time.
    eventually(5, lambda: plugins(program.process.pid) == plugins_here)
    there = plugins(program.process.pid)
    c.check(f"the same Qt plug-ins are mapped as here ({there if there != plugins_here else len(there)})",
            there == plugins_here)
    # Every stretch of drawn columns here (an icon, a word, an arrow, a separator) is drawn there, half at least.
    stretches, counts_here = drawn_stretches(drawn_here)
    counts = drawn_stretches(drawn)[1] if len(drawn[0]) == len(drawn_here[0]) else [0] * len(counts_here)
    missing = [f"columns {a}-{b - 1}" for a, b in stretches if 2 * sum(counts[a:b]) < sum(counts_here[a:b])]
    c.check(f"the toolbar is drawn as here, {len(stretches)} stretches ({', '.join(missing) or 'all drawn'})",
            len(stretches) >= 10 and not missing)


def help_complete(c, folder):
    # Every page, style sheet and picture the installed help pages refer to is installed.
    missing = [f"{os.path.basename(page)}: {ref}" for page in glob.glob(f"{folder}/*.html")
               for ref in re.findall(r'(?:href|src)="([^"#:]*)"', open(page, encoding="utf-8").read())
               if not os.path.isfile(f"{folder}/{ref}")]
    c.check(f"the HTML help is complete ({missing or 'nothing missing'})",
            os.path.isfile(f"{folder}/index.html") and not missing)


def case_help(c, root):
    program = c.launch()
    wid = c.require("the installed program shows its main window", wait_window(MAIN, 30))
    opened = f"{root}/tmp/opened"

    def press_f1(expected=None):
        if os.path.exists(opened):
            os.remove(opened)
        activate(wid)
        keys("F1")
        return expected is None or eventually(
            10, lambda: os.path.exists(opened) and open(opened, encoding="utf-8").read() == expected)

    # A pristine root has neither a CHM viewer nor a browser nor xdg-utils.
    press_f1()
    message = wait_window("^Hilfe$", 10)
    if c.check("F1 with nothing to open help says so", message):
        activate(message)
        keys("Return")
        c.check("the message closes", wait_gone("^Hilfe$"))
    # A desktop's opener, standing in for xdg-utils with a browser behind it; then
    # xdg-mime as it answers where a CHM viewer's package registered it.
    for name, script, expected, what in (
            ("xdg-open", 'printf "%s" "$1" > /tmp/opened', "file:///usr/lib/zelk/help/index.html",
             "F1 without a CHM viewer opens the HTML help"),
            ("xdg-mime", '[ "$*" = "query default application/vnd.ms-htmlhelp" ] && echo xchm.desktop; exit 0',
             "file:///usr/lib/zelk/zelk.chm", "F1 with a CHM viewer opens zelk.chm")):
        with open(f"{root}/usr/local/bin/{name}", "w", encoding="utf-8") as stand_in:
            stand_in.write(f"#!/bin/sh\n{script}\n")
        os.chmod(f"{root}/usr/local/bin/{name}", 0o755)
        c.check(what, press_f1(expected))
        c.check("and shows no message besides", not window_named("^Hilfe$"))
    help_complete(c, f"{root}/usr/lib/zelk/help")
    c.check("the program still runs", program.alive())


def main(packages, built, shots):
    if os.getuid() != 0:
        raise Skip("making and entering a Debian root needs root (debootstrap, chroot, mount)")
    need("debootstrap", "wget", "unshare", "chroot", "dpkg-deb", "convert", "import")
    debs = glob.glob(f"{packages}/zelk_*.deb")
    if not debs or not os.access(built, os.X_OK):
        raise Skip(f"no package in {packages} or no program at {built} (./dev.sh package makes them)")
    if "/zelk.chm" not in run("dpkg-deb", "-c", debs[0]):
        raise Skip("the package holds no zelk.chm (Debian: fp-utils)")
    mirror = os.environ.get("ZELK_DEBIAN_MIRROR", "http://deb.debian.org/debian")
    if not sh("wget", "-q", "-T", "15", "-t", "2", "--spider", f"{mirror}/dists/bookworm/InRelease"):
        raise Skip(f"the Debian archive {mirror} cannot be reached (no network): debootstrap and apt cannot run")
    os.environ["ZELK_SCREENSHOTS"] = shots
    for old in glob.glob(f"{tempfile.gettempdir()}/zelk-cleanroot.*/pid"):  # of runs killed before they tidied up
        if not os.path.exists(f"/proc/{open(old, encoding='utf-8').read().strip()}"):
            sh("rm", "-rf", "--one-file-system", os.path.dirname(old))
    work = tempfile.mkdtemp(prefix="zelk-cleanroot.")
    with open(f"{work}/pid", "w", encoding="utf-8") as pid:
        pid.write(str(os.getpid()))
    session = None
    try:
        root = make_root(work, mirror)
        install(root, debs[0], work)
        session = Session()
        run("xdotool", "mousemove", "0", "767")  # nothing hovers over a button in either shot
        env = ["/usr/bin/env", "-i", "PATH=/usr/local/bin:/usr/bin:/bin", f"DISPLAY={os.environ['DISPLAY']}",
               "LANG=C.UTF-8"]
        os.makedirs(f"{root}/tmp/home", exist_ok=True)

        def launch(here=False):
            return Program(env + [f"HOME={tempfile.mkdtemp(dir=work)}", built]) if here else \
                Program(["chroot", root] + env + ["HOME=/tmp/home", "/usr/bin/zelk"])
        cases = Cases(launch)
        cases.run("the installed program looks as the one built here", case_looks_as_here)
        cases.run("help in the clean root", case_help, root)
    finally:
        if session:
            session.close()
        for mount in reversed(mounted_under(work)):
            sh("umount", mount) or sh("umount", "-l", mount)
        if mounted_under(work):
            print(f"WARNING: still mounted under {work}, left in place")
        else:
            sh("rm", "-rf", "--one-file-system", work)
    return cases.finish()


if __name__ == "__main__":
    # Everything mounted lives in a mount namespace of its own: nothing stays mounted on the host,
    # even when the test is killed.
    if os.getuid() == 0 and "ZELK_CLEANROOT_NAMESPACE" not in os.environ:
        if not sh("unshare", "--mount", "true"):
            print("SKIP: no mount namespace can be made here (unshare --mount)")
            sys.exit(77)
        os.environ["ZELK_CLEANROOT_NAMESPACE"] = "1"
        os.execvp("unshare", ["unshare", "--mount", "--propagation", "private", sys.executable] + sys.argv)
    exit_with(main, *sys.argv[1:4])
