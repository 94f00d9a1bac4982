# How the program starts, and where it keeps what it stores, on each launcher:
# the binary here, zelk.exe under Wine (the registry), and the package
# installed into a fresh Debian root.
import ctypes
import glob
import os
import re
import shutil
import subprocess
import tempfile

import pytest

from session import need, run

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Native:  # the binary started directly; its store is the INI files in its home
    root, homes = "/", None

    def __init__(self, program):
        self.program = program

    def command(self, program):
        return [self.program]

    def store(self, program, application, rate):
        os.makedirs(f"{program.home}/.config/zelk", exist_ok=True)
        with open(f"{program.home}/.config/zelk/{application}.ini", "w", encoding="utf-8") as ini:
            ini.write(f"[Zelk_Satz]\nx.Text={rate}\n")

    def setting(self, program, application):  # the rate an application stored (x.Text), or None
        try:
            with open(f"{program.home}/.config/zelk/{application}.ini", encoding="utf-8") as ini:
                return re.search(r"^x\.Text=(.*)$", ini.read(), re.M).group(1)
        except (OSError, AttributeError):
            return None


# --- Wine -----------------------------------------------------------------------

VB = r"HKCU\Software\VB and VBA Program Settings"
RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"


def wine(*args):  # its exit code; its output goes nowhere, so that no program it starts can hold a pipe open
    return subprocess.run(("wine",) + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def reg_value(key, name):
    query = run("wine", "reg", "query", key, "/v", name)
    match = re.search(rf"^\s*{re.escape(name)}\s+REG_\w+\s+(.*?)\r?$", query, re.M)
    return match.group(1) if match else None


def no_reg_key(key):
    return wine("reg", "query", key) != 0


def reg_add(key, name, data):
    wine("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", data, "/f")


class Wine(Native):
    # zelk.exe in a Wine prefix made for this run, so that nothing an earlier run
    # left in the registry can make a case pass: Windows 10, as the users have it;
    # Arial (which Wine lacks) is Liberation Sans, so that texts measure as on
    # Windows. Mono and Gecko are not installed (the first start would ask to
    # download them), and the prefix makes no menu entries on this desktop.

    def __init__(self, exe):
        if not os.path.isdir(f"{SOURCE}/../shared/windows"):
            pytest.skip("no ../shared/windows beside the source folder: no static Qt for Windows, no zelk.exe")
        need("wine", "wineboot", "wineserver", "tesseract", "wrestool", "icotool")
        super().__init__(os.path.realpath(exe))
        assert os.path.isfile(os.path.join(os.path.dirname(self.program), "zelk.chm")), "no zelk.chm beside zelk.exe"
        self.work = tempfile.mkdtemp(prefix="zelk-wine-")
        # German, as its users' Windows is: every Wine process writes the number formats of its own locale into
        # the user's registry, and the program shows those it finds there, so the suite's own wine commands are
        # German too. Wine reads LC_ALL where the system lacks that locale; LANG alone does not do.
        os.environ.update(WINEPREFIX=f"{self.work}/prefix", WINEARCH="win64", WINEDEBUG="-all", LANG="de_DE.UTF-8",
                          LC_ALL="de_DE.UTF-8", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        run("wineboot", "-i", timeout=300)
        run("wineserver", "-w")
        # Wine's server opens every file for its programs. As root it would pass any permission bits, so it runs
        # without that right, and a folder closed to its owner is closed to the program, as to a Windows user
        # (for other users setpriv fails, and the first program starts the server).
        sh("setpriv", "--bounding-set=-dac_override,-dac_read_search", "wineserver", "--persistent=600")
        reg_add(r"HKCU\Software\Wine", "Version", "win10")
        reg_add(r"HKCU\Software\Wine\Fonts\Replacements", "Arial", "Liberation Sans")

    def __enter__(self):
        return self

    def __exit__(self, *_):
        run("wineserver", "-k")
        shutil.rmtree(self.work, ignore_errors=True)

    def command(self, program, *args):
        # Debian's Wine finds its server through TMPDIR, and every program gets a TMPDIR of its own: with that,
        # the program would run on a server of its own, whose registry `wine reg` never sees.
        return ["env", f"TMPDIR={os.environ.get('TMPDIR', '/tmp')}", "wine", *(args or [self.program])]

    def store(self, program, application, rate):
        reg_add(rf"{VB}\{application}\Zelk_Satz", "x.Text", str(rate))

    def setting(self, program, application):
        return reg_value(rf"{VB}\{application}\Zelk_Satz", "x.Text")


# --- a fresh Debian root ----------------------------------------------------------

CACHE = os.path.join(os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache")), "zelk")
TARBALL = f"{CACHE}/debian-bookworm-minbase.tar.gz"


def sh(*args, log=None):
    with open(log or os.devnull, "a", encoding="utf-8") as out:
        return subprocess.run(args, stdout=out, stderr=subprocess.STDOUT, check=False).returncode == 0


def mounted_under(folder):
    with open("/proc/self/mounts", encoding="utf-8") as mounts:
        return sorted(line.split()[1] for line in mounts if line.split()[1].startswith(folder + "/"))


class Pristine(Native):
    # The program started with nothing of this machine's environment but the display and the user's places.
    inside = []

    def command(self, program):
        names = ("DISPLAY", "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "LANG", "LC_ALL")
        return [*self.inside, "/usr/bin/env", "-i", "PATH=/usr/local/bin:/usr/bin:/bin",
                *(f"{name}={program.env[name]}" for name in names), self.program]


class CleanRoot(Pristine):
    # The package installed with apt into a Debian 12 root (debootstrap, minbase:
    # nothing the development machine happens to have), as a new user would,
    # with the installed /usr/bin/zelk started there on the session's display.
    # The root is made once and kept as a tarball in ~/.cache/zelk/, the packages
    # apt fetches for it beside it, so later runs take a minute. All it mounts
    # lives in a mount namespace of this process: nothing stays mounted on the
    # host, even when the test is killed.

    def __init__(self, packages):
        if os.getuid() != 0:
            pytest.skip("making and entering a Debian root needs root (debootstrap, chroot, mount)")
        need("debootstrap", "wget", "chroot", "dpkg-deb")
        debs = glob.glob(f"{packages}/zelk_*.deb")
        if not debs:
            pytest.skip(f"no package in {packages} (cmake --workflow --preset package makes it)")
        if "/zelk.chm" not in run("dpkg-deb", "-c", debs[0]):
            pytest.skip("the package holds no zelk.chm (Debian: fp-utils)")
        mirror = os.environ.get("ZELK_DEBIAN_MIRROR", "http://deb.debian.org/debian")
        if not sh("wget", "-q", "-T", "15", "-t", "2", "--spider", f"{mirror}/dists/bookworm/InRelease"):
            pytest.skip(f"the Debian archive {mirror} cannot be reached (no network): debootstrap and apt cannot run")
        if ctypes.CDLL(None, use_errno=True).unshare(0x20000) or not sh("mount", "--make-rprivate", "/"):
            pytest.skip("no mount namespace can be made here (unshare CLONE_NEWNS)")
        for old in glob.glob(f"{tempfile.gettempdir()}/zelk-cleanroot.*/pid"):  # of runs killed before they tidied up
            if not os.path.exists(f"/proc/{open(old, encoding='utf-8').read().strip()}"):
                sh("rm", "-rf", "--one-file-system", os.path.dirname(old))
        self.work = tempfile.mkdtemp(prefix="zelk-cleanroot.")
        with open(f"{self.work}/pid", "w", encoding="utf-8") as pid:
            pid.write(str(os.getpid()))
        super().__init__("/usr/bin/zelk")
        self.root = self.make_root(mirror)
        self.homes, self.inside = f"{self.root}/tmp", ["chroot", self.root]
        self.install(debs[0])

    def __enter__(self):
        return self

    def __exit__(self, *_):
        for mount in reversed(mounted_under(self.work)):
            sh("umount", mount) or sh("umount", "-l", mount)
        sh("rm", "-rf", "--one-file-system", self.work)

    def make_root(self, mirror):
        # The root unpacked from the cached tarball (made first when there is none), with apt ready to install.
        work = self.work
        if not os.path.exists(TARBALL):
            print(f"Making a Debian 12 root (debootstrap --variant=minbase, a few minutes, once): {TARBALL}")
            if not sh("debootstrap", "--variant=minbase", "bookworm", f"{work}/new", mirror, log=f"{work}/boot.log"):
                raise RuntimeError(f"debootstrap failed: {run('tail', '-n', '20', f'{work}/boot.log')}")
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

    def install(self, deb):
        # What a new user types; Recommends are left out, so Depends alone must do.
        sh("cp", deb, f"{self.root}/tmp/")
        apt = ["chroot", self.root, "/usr/bin/env", "-i", "PATH=/usr/bin:/bin:/usr/sbin:/sbin", "HOME=/root",
               "LANG=C.UTF-8", "DEBIAN_FRONTEND=noninteractive", "apt-get", "-q", "-y", "-o",
               "APT::Sandbox::User=root"]
        log = f"{self.work}/apt.log"
        if not (sh(*apt, "update", log=log) and
                sh(*apt, "install", "--no-install-recommends", f"/tmp/{os.path.basename(deb)}", log=log)):
            raise RuntimeError(f"apt-get install {os.path.basename(deb)} in the Debian root failed:\n"
                               + run("tail", "-n", "30", log))
        sh(*apt, "autoclean", log=log)  # the cache keeps only what the archive still offers
        with open(log, encoding="utf-8") as lines:
            print(f"installed {os.path.basename(deb)} with {lines.read().count('Setting up')} packages")
