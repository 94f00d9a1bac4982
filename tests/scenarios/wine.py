# Runs zelk.exe under Wine on the session's display, in a Wine prefix made for
# this run, and drives it like a user; then checks the release (the zip and the
# installer), installs it, uses it, installs it again and uninstalls it there.
# The registry, the Run key, the HTML Help viewer and the Windows version are
# Wine's own implementations, read back with `wine reg`, the clipboard (Wine
# shares X's) and tesseract (text on screen).
# wine.py <source folder> <zelk.exe> <screenshot folder> <installer> <zip>
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.dom.minidom
import zipfile

import scenarios
from actions import attempt, focus, gone, press, read_box, toolbar, type_amount
from places import BOXES, COMPACT, MAIN, MODALS, WIZARD
from session import (exit_with, Cases, Program, Session, Skip, click_in, clipboard, count_colours, eventually,
                     keys, menus, need, run, shoot, type_text, wait_gone, wait_window, window_named)

VB = r"HKCU\Software\VB and VBA Program Settings"
RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelk 2010"
AUTOSTART, MESSAGE = MODALS["autostart"], MODALS["autostart message"]
work = ""  # this run's folder: the Wine prefix, copies, OCR pictures


def wine(*args):
    return subprocess.run(("wine",) + args, capture_output=True, check=False).returncode


def reg_value(key, name):
    query = run("wine", "reg", "query", key, "/v", name)
    match = re.search(rf"^\s*{re.escape(name)}\s+REG_\w+\s+(.*?)\r?$", query, re.M)
    return match.group(1) if match else None


def no_reg_key(key):
    return wine("reg", "query", key) != 0


def reg_add(key, name, data):
    wine("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", data, "/f")


class WineProgram(Program):
    # zelk.exe under Wine: what it stores is in the registry, its list of rates beside it.
    def __init__(self, exe, old_rate=None, env=None, command=None):
        if old_rate is not None:
            reg_add(VB + r"\Zelk_2009\Zelk_Satz", "x.Text", str(old_rate))
        self.exe = exe
        super().__init__(command or ["wine", exe], env=env)

    def setting(self, application):
        return reg_value(rf"{VB}\{application}\Zelk_Satz", "x.Text")

    def old_rate(self):
        return None if no_reg_key(VB + r"\Zelk_2009") else self.setting("Zelk_2009") or "(its key is left)"

    def autostart(self):
        return reg_value(RUN_KEY, "zelk")

    def entries(self):
        try:
            with open(os.path.join(os.path.dirname(self.exe), "zelk.dat"), encoding="utf-8") as lines:
                return [line.rstrip("\r\n") for line in lines]
        except OSError:
            return None

    def stop(self):
        super().stop()
        wait_gone("^Zelk")  # the windows go a moment after the process


def list_menu():
    # The rate box's side button: its list of stored rates.
    return attempt(lambda: click_in(focus(MAIN), *BOXES["rate list"]), menus, 3, 5)


def rate_box(rate, typed=False):
    def once():
        click_in(focus(MAIN), *BOXES["rate"])
        if typed:
            keys("ctrl+a")
            type_text(rate)
        keys("End", "shift+Home", "ctrl+c")
    return attempt(once, lambda: clipboard() == rate, 2, 8)


def screen_text(png, crop=None):
    # What tesseract reads, on one line; enlarged first, since the 8 pt texts are
    # small for it. It mistakes some small characters (0 for 9, ; for :).
    run("convert", png, *(["-gravity", "southeast", "-crop", crop, "+repage"] if crop else []),
        "-resize", "400%", "-colorspace", "Gray", f"{work}/ocr.png")
    return run("tesseract", f"{work}/ocr.png", "-").replace("\n", " ")


def shows(wid, png, pattern, crop=None):
    # Shot again until it shows the text: a window may still be painting.
    path = os.path.join(os.environ["ZELK_SCREENSHOTS"], png)
    return wid and eventually(15, lambda: shoot(wid, png) or re.search(pattern, screen_text(path, crop)))


def case_windows_texts_and_rate(c):
    # With Wine's own fallback font these texts were cut; whole, they end in '.' and ':'.
    program = c.launch(old_rate=16)
    wizard = c.require("a 2009 rate in the registry opens the 2009 wizard", wait_window(WIZARD, 60))
    c.check("its first page is whole (... auf WEITER.)", shows(wizard, "wizard-start.png", r"WEITER\."))
    c.check("Weiter moves the rate to Zelk_2010", press(WIZARD, "alt+w", lambda: program.stored_rate() == "16"))
    c.check("and deletes the old key Zelk_2009", eventually(10, lambda: program.old_rate() is None))
    c.check("its second page is whole (... Registrierung zu löschen.)", shows(wizard, "wizard.png", r"schen\."))
    # Fertig takes Übernehmen's place once that has been handled (below Wine's caption).
    wid = c.require("Übernehmen, then Fertig opens the main window",
                    attempt(lambda: click_in(wizard, 260, 264), lambda: window_named(MAIN), 1, 15))
    c.check("the rate label is whole (Mehrwertsteuer:)", shows(wid, "main-window.png", r"Mehrwert[a-z]+[:;]"))
    main_png = os.path.join(os.environ["ZELK_SCREENSHOTS"], "main-window.png")
    # (OCR reads an accent or a gap into it now and then: "érmitteln.", "erm ittein.")
    c.check("the netto hint is whole (... ermitteln.)", shows(wid, "main-window.png", r"rm ?i[a-z]+\."))
    # An empty toolbar place is its light gradient; Neu, Info and Beenden have a dark outline.
    c.check("the toolbar draws its icons (Neu, Info, Beenden)", all(
        run("convert", main_png, "-crop", f"16x16+{x}+6", "+repage", "-colorspace", "Gray", "-format",
            "%[fx:minima < 0.5]", "info:") == "1" for x in (10, 299, 482)))
    c.check("the main window shows the moved rate 16", rate_box("16"))
    rate_key = rf"{VB}\Zelk_2010\Zelk_Satz"
    for key, stored, what in (("l", lambda: no_reg_key(rate_key), r"deleting through the save menu removes Zelk_Satz"),
                              ("s", lambda: program.stored_rate() == "16", "saving writes x.Text = 16 there")):
        c.check(what, toolbar("save") and not keys(key) and eventually(10, stored))


def case_autostart_about_help(c, exe):
    c.launch()
    c.require("the main window appears", wait_window(MAIN, 60))
    c.require("the autostart window opens", toolbar("autostart", AUTOSTART))
    folder = "Z:" + os.path.dirname(exe).replace("/", "\\")  # Wine names the build folder as drive Z:
    for key, value, what in (("alt+e", folder + r"\zelk.exe", r"Eintragen writes the Run value <folder>\zelk.exe"),
                             ("alt+a", None, "Entfernen removes it")):
        c.check(what, press(AUTOSTART, key, lambda: window_named(MESSAGE)) and
                eventually(10, lambda: reg_value(RUN_KEY, "zelk") == value))
        c.check("the message closes", press(MESSAGE, "Return", gone(MESSAGE)))
    c.check("Escape closes the autostart window", press(AUTOSTART, "Escape", gone(AUTOSTART)))
    about = c.check("the about window opens", toolbar("about", MODALS["about"]))
    c.check("it names the system as Windows NT ( Version 10.0, ... )",
            shows(about, "about-window.png", r"Windows NT \S{0,2} ?Version 10\.[0-9],"))
    c.check("Escape closes it", press(MODALS["about"], "Escape", gone(MODALS["about"])))
    viewer = press(MAIN, "F1", lambda: window_named("^Zelk. 2010 Hilfe$"))
    # Wine has no Gecko here, so the topic pane stays blank; the contents list is the help file's.
    c.check("F1 opens the HTML Help viewer on zelk.chm, its contents with umlauts whole",
            shows(viewer, "help.png", r"Hauptfenster.*Daten[üui]{1,2}bernahme.*Tastatur"))


def software_keys():
    # HKCU\Software as text, without Software\Wine, where Wine keeps values of its own.
    if wine("reg", "export", r"HKCU\Software", f"{work}/export.reg", "/y"):
        return None
    with open(f"{work}/export.reg", encoding="utf-16") as exported:
        sections = exported.read().replace("\r", "").split("\n[")
    return [s for s in sections if not s.startswith(r"HKEY_CURRENT_USER\Software\Wine")]


def case_plain_start_writes_nothing(c):
    wine("reg", "delete", VB, "/f")  # as a new user has it, whatever the cases before stored
    before = c.require(r"HKCU\Software is exported before the start", software_keys())
    program = c.launch()
    c.require("the main window appears", wait_window(MAIN, 60))
    c.check("Alt+F4 ends the program", press(MAIN, "alt+F4", gone(MAIN)) and program.ended(10))
    program.stop()
    c.check(r"a plain start leaves HKCU\Software as it was", software_keys() == before)


def case_entry_list(c, exe):
    # A copy in a folder of its own, so that zelk.dat lies beside it and nowhere else.
    os.makedirs(f"{work}/program", exist_ok=True)
    program = c.launch(exe=shutil.copy(exe, f"{work}/program/zelk.exe"))
    c.require("the main window appears", wait_window(MAIN, 60))
    c.check("the rate box takes 16", rate_box("16", typed=True))
    c.check("its side button opens the list", list_menu())
    keys("h")
    c.check("Aktuellen Wert hinzufügen writes 16 to zelk.dat beside zelk.exe, after 19 and 7",
            eventually(10, lambda: {"19", "7", "16"} <= set(program.entries() or [])))
    c.check("the list opens again", list_menu())
    keys("e", "Down", "Down", "Return")  # Eintrag entfernen, then the third entry
    c.check("removing 16 takes it out of zelk.dat, 19 and 7 stay",
            eventually(10, lambda: (lambda e: "16" not in e and {"19", "7"} <= set(e))(program.entries() or [])))


def case_compact_keyboard(c):
    wine("reg", "delete", VB + r"\Zelk_2010", "/f")  # 19 %, whatever an earlier case stored
    c.launch()
    c.require("the main window appears", wait_window(MAIN, 60))
    compact = c.require("Ansicht wechseln opens the compact window", toolbar("compact", COMPACT))

    def keyboard_in():
        # The X focus is on the window or a child, and its net box shows the focus colour.
        focused = run("xdotool", "getwindowfocus").strip()
        tree = run("xwininfo", "-id", compact, "-tree")
        return focused and (focused == compact or f" {hex(int(focused))} " in tree) \
            and count_colours(compact, "ffffc0") > 300
    # A tool window gets no keyboard on Windows unless the program asks: digits typed at once must arrive.
    c.check("which takes the keyboard by itself", eventually(5, keyboard_in))
    type_text("100", 60)
    keys("Return", "Tab", "Tab", "ctrl+c")  # from netto over x to brutto, whose whole text Ctrl+C copies
    c.check("digits typed without a click compute: gross 119,00", eventually(5, lambda: clipboard() == "119,00"))
    # OCR finds the compact window's few small words only in the corner alone; a cut button reads "...run".
    c.check("the Vordergrund button is whole", shows(compact, "compact-window.png", "Vorder[gqa]rund", "100x30+0+0"))
    # The static Qt for Windows has no translations: the program brings Qt's German texts along.
    keys("shift+F10")
    menu = eventually(5, menus)
    c.check("brutto's context menu opens and speaks German (Einfügen, Alles auswählen)",
            menu and shows(menu[0][0], "context-menu.png", "Einf.gen.*Alles"))


def resource(exe, kind):
    # Raw resource data: 14 is the icon group, 16 the version information, 24 the manifest.
    return subprocess.run(["wrestool", "-x", "--raw", f"--type={kind}", exe], capture_output=True, check=False).stdout


def version_strings(exe):
    # The version information's strings, as `strings -el` lists them: a value follows its name.
    found = re.findall(r"[\x20-\x7e\xa0-\xff]{4,}", resource(exe, 16).decode("utf-16-le", "replace"))
    return dict(zip(found, found[1:]))


MANIFEST = {"runs as the invoker": r'requestedExecutionLevel level="asInvoker"',
            "Windows 10 and 11": r'supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"',
            "per-monitor DPI aware (v2)": r"<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>",
            "common controls 6": r'name="Microsoft.Windows.Common-Controls" version="6'}


def case_release_files(c, exe, setup, portable, version, source_dir):
    with zipfile.ZipFile(portable) as archive:
        names = sorted(n for n in archive.namelist() if not n.endswith("/"))
    c.check(f"the zip holds Zelk 2010 with zelk.exe and zelk.chm, nothing else ({names})",
            names == ["Zelk 2010/zelk.chm", "Zelk 2010/zelk.exe"])
    headers = run("x86_64-w64-mingw32-objdump", "-f", exe)
    c.check("its zelk.exe is stripped", "architecture" in headers and "HAS_SYMS" not in headers)
    c.check(f"the installer is under 10 MB ({os.path.getsize(setup) // 1024} KiB)", os.path.getsize(setup) < 10_000_000)
    with open(f"{work}/icon.ico", "wb") as ico:
        ico.write(subprocess.run(["wrestool", "-x", "--type=14", exe], capture_output=True, check=False).stdout)
    sizes = re.findall(r"--width=(\d+)", run("icotool", "-l", f"{work}/icon.ico"))
    c.check(f"zelk.exe carries its icon, 32 and 64 pixels ({sizes})", sizes == ["32", "64"])
    # The fixed file version, which Explorer shows, is two little-endian words after the signature.
    info = resource(exe, 16)
    at = info.find(b"\xbd\x04\xef\xfe") + 8
    high, low = (int.from_bytes(info[at + i:at + i + 4], "little") for i in (0, 4))
    fixed = f"{high >> 16}.{high & 0xffff}.{low >> 16}.{low & 0xffff}"
    strings = version_strings(exe)
    wrong = [n for n in ("CompanyName", "FileDescription", "ProductName", "LegalCopyright") if not strings.get(n)] + \
        [n for n in ("FileVersion", "ProductVersion") if strings.get(n) != f"{version}.0"]
    c.check(f"its version information is the release's {version}.0 ({fixed}), German (0407, Unicode), "
            f"with every name ({wrong or 'all there'})",
            fixed == f"{version}.0" and b"\x07\x04\xb0\x04" in info and not wrong)
    manifest = resource(exe, 24)
    try:
        lacks = [] if xml.dom.minidom.parseString(manifest) else ["XML"]
    except Exception:  # pylint: disable=broad-except (any parser error means ill-formed)
        lacks = ["well-formed XML"]
    text = manifest.decode("utf-8", "replace").replace("\n", "")
    lacks += [what for what, pattern in MANIFEST.items() if not re.search(pattern, text)]
    c.check(f"its manifest is well-formed and says: {', '.join(MANIFEST)} (lacks: {lacks})", not lacks)
    # Signing, as windows_release does it when the environment names a certificate.
    if not (shutil.which("osslsigncode") and shutil.which("openssl")):
        return print("  skipped: signing (osslsigncode or openssl is not installed)")
    key, cert, p12 = (f"{work}/{name}" for name in ("key.pem", "cert.pem", "cert.p12"))
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days", "1",
        "-subj", "/CN=Zelk test")
    run("openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12, "-passout", "pass:test")
    signed = shutil.copy(exe, f"{work}/signed.exe")
    subprocess.run(["bash", f"{source_dir}/packaging/windows/sign.sh", signed], capture_output=True, check=False,
                   env=dict(os.environ, ZELK_SIGN_PKCS12=p12, ZELK_SIGN_PASSWORD="test"))
    c.check("a certificate in ZELK_SIGN_PKCS12 signs the program",
            not subprocess.run(["osslsigncode", "verify", "-in", signed, "-CAfile", cert],
                               capture_output=True, check=False).returncode)


def windows_folder(variable, within):
    # (Windows path, Unix path) of a place in a folder named by a Windows variable.
    path = run("wine", "cmd", "/c", f"echo %{variable}%").strip() + "\\" + within
    return path, run("winepath", "-u", path).strip()


def timed(*command):
    # (exit code, milliseconds) of a Windows program, or of a command line when given one string: cmd runs
    # that from a batch file, since wine's own quoting of arguments would hide the uninstaller's _?= behind a quote.
    if len(command) == 1:
        with open(f"{work}/run.bat", "w", encoding="utf-8", newline="\r\n") as batch:
            batch.write(f"@echo off\n{command[0]}\nexit /b %ERRORLEVEL%\n")
        command = ("cmd", "/c", run("winepath", "-w", f"{work}/run.bat").strip())
    start = time.monotonic()
    code = wine(*command)
    return code, int((time.monotonic() - start) * 1000)


def installed_program_pids():
    # The installed program's processes in this prefix (ps shows a Windows program by its path).
    def ours(pid):
        try:
            with open(f"/proc/{pid}/environ", "rb") as env:
                return f"WINEPREFIX={os.environ['WINEPREFIX']}".encode() in env.read().split(b"\0")
        except OSError:
            return False
    return [int(pid) for pid in run("pgrep", "-f", r"Zelk 2010.zelk\.exe").split() if ours(pid)]


def case_install_use_uninstall(c, setup, portable_exe, version):
    folder, unix = windows_folder("LOCALAPPDATA", r"Programs\Zelk 2010")
    shortcut, shortcut_unix = windows_folder("APPDATA", r"Microsoft\Windows\Start Menu\Programs\Zelk. 2010.lnk")
    files = lambda: sorted(os.listdir(unix)) if os.path.isdir(unix) else []
    installed_exe = f"{folder}\\zelk.exe"
    strings = version_strings(portable_exe)
    wine("reg", "delete", VB, "/f")
    wine("reg", "delete", RUN_KEY, "/v", "zelk", "/f")
    install = lambda *options: timed(setup, "/S", *options)
    uninstall = lambda option="": timed(f'{reg_value(UNINSTALL_KEY, "QuietUninstallString") or "false"} {option}')
    uninstalled = lambda: not set(files()) & {"zelk.exe", "zelk.chm", "uninstall.exe"} \
        and not os.path.exists(shortcut_unix) and no_reg_key(UNINSTALL_KEY)

    code, took = install("/AUTOSTART")
    c.check(f"a silent install with autostart succeeds within 5 s ({took} ms)", code == 0 and took < 5000)
    c.check(rf"into %LOCALAPPDATA%\Programs\Zelk 2010: zelk.exe, zelk.chm and the uninstaller ({files()})",
            files() == ["uninstall.exe", "zelk.chm", "zelk.exe"])
    with open(f"{unix}/zelk.exe", "rb") as installed, open(portable_exe, "rb") as unpacked:
        c.check("the installed zelk.exe is the zip's", installed.read() == unpacked.read())
    with open(shortcut_unix, "rb") as link:
        c.check("the Start menu's shortcut Zelk. 2010 points at it", installed_exe.encode() in link.read())
    c.check(f"Beim Anmelden starten writes the Run value zelk = {installed_exe}",
            reg_value(RUN_KEY, "zelk") == installed_exe)
    for name, value in (("DisplayName", strings.get("ProductName")), ("Publisher", strings.get("CompanyName")),
                        ("DisplayVersion", version), ("DisplayIcon", installed_exe + ",0"),
                        ("QuietUninstallString", f'"{folder}\\uninstall.exe" /S')):
        c.check(f"its uninstall entry has {name} = {value}", reg_value(UNINSTALL_KEY, name) == value)
    size, actual = int(reg_value(UNINSTALL_KEY, "EstimatedSize") or "0", 0), int(run("du", "-sk", unix).split()[0])
    c.check(f"its EstimatedSize is the folder's ({size} KiB, has {actual})", 0.9 * actual <= size <= 1.1 * actual)

    # As a user starts it from the Start menu.
    program = c.launch(exe=f"{unix}/zelk.exe", command=["wine", "start", shortcut])
    c.check("the shortcut starts the installed program", wait_window(MAIN, 60) and installed_program_pids())
    type_amount(MAIN, 100)
    c.check("which calculates: net 100, gross 119,00", read_box(MAIN, "Tab Tab") == "119,00")
    c.check("the rate box takes 16", rate_box("16", typed=True))
    c.check("saving stores 16 in the registry", toolbar("save") and not keys("s") and
            eventually(10, lambda: program.stored_rate() == "16"))
    c.check("adding it to the list writes zelk.dat beside the installed zelk.exe", list_menu() and not keys("h")
            and eventually(10, lambda: "16" in (program.entries() or [])))
    wine("reg", "delete", RUN_KEY, "/v", "zelk", "/f")
    c.check("the autostart window writes what the installer wrote", toolbar("autostart", AUTOSTART) and
            press(AUTOSTART, "alt+e", lambda: window_named(MESSAGE)) and
            eventually(10, lambda: program.autostart() == installed_exe))
    press(MESSAGE, "Return", gone(MESSAGE))
    press(AUTOSTART, "Escape", gone(AUTOSTART))
    # The uninstaller runs as a copy of itself and returns at once; _?= keeps it in place, so that its code tells.
    c.check("while it runs, the uninstaller refuses (2) and removes nothing",
            uninstall(f"_?={folder}")[0] == 2 and {"zelk.exe", "zelk.chm"} <= set(files())
            and not no_reg_key(UNINSTALL_KEY))
    c.check("and so does the installer", install()[0] == 2)
    press(MAIN, "alt+F4", gone(MAIN))
    if not eventually(10, lambda: not installed_program_pids()):
        [os.kill(pid, 9) for pid in installed_program_pids()]
    c.check("the program ends", eventually(10, lambda: not installed_program_pids()))

    code, took = install()
    c.check(f"installing again over it succeeds within 5 s ({took} ms)", code == 0 and took < 5000)
    c.check("and keeps the list, the saved rate and the autostart entry", "16" in (program.entries() or []) and
            program.stored_rate() == "16" and program.autostart() == installed_exe)
    start = time.monotonic()
    c.check("a silent uninstall removes the program, the shortcut and the uninstall entry",
            uninstall()[0] == 0 and eventually(10, uninstalled))
    c.check(f"within 5 s ({time.monotonic() - start:.1f} s)", time.monotonic() - start < 5)
    c.check("and the Run value, which started this copy", program.autostart() is None)
    c.check(f"but keeps the saved rate and zelk.dat, alone in the folder ({files()})",
            program.stored_rate() == "16" and files() == ["zelk.dat"])
    other = r"D:\Zelk 2010\zelk.exe"  # another copy's autostart entry is not this copy's to remove
    install("/AUTOSTART")
    reg_add(RUN_KEY, "zelk", other)
    c.check("uninstalling again keeps the Run value of another copy",
            not uninstall()[0] and eventually(10, uninstalled) and program.autostart() == other)


def make_prefix():
    # A fresh 64-bit prefix on every run, so that nothing an earlier run left in
    # the registry can make a case pass: Windows 10, as the users have it; Arial
    # (which Wine lacks) is Liberation Sans, so that texts measure as on Windows.
    # Mono and Gecko are not installed (the first start would ask to download
    # them), and the prefix makes no menu entries on this desktop.
    os.environ.update(WINEPREFIX=f"{work}/prefix", WINEARCH="win64", WINEDEBUG="-all",
                      WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    start = time.monotonic()
    run("wineboot", "-i", timeout=300)
    reg_add(r"HKCU\Software\Wine", "Version", "win10")
    reg_add(r"HKCU\Software\Wine\Fonts\Replacements", "Arial", "Liberation Sans")
    run("wineserver", "-w")
    print(f"Wine prefix ready after {time.monotonic() - start:.0f} s", flush=True)


def main(source_dir, exe, shots, setup, portable):
    exe, setup, portable = map(os.path.realpath, (exe, setup, portable))
    if not os.path.isdir(f"{source_dir}/../shared/windows"):
        raise Skip("no ../shared/windows beside the source folder: no static Qt for Windows, no zelk.exe")
    need("wine", "wineboot", "wineserver", "tesseract", "wrestool", "icotool")
    if not os.path.isfile(os.path.join(os.path.dirname(exe), "zelk.chm")):
        raise RuntimeError(f"zelk.chm is not beside {exe}")
    os.environ["ZELK_SCREENSHOTS"] = shots
    session = Session()
    global work
    work = tempfile.mkdtemp(prefix="zelk-wine-")
    # Wine hands the clipboard to X with LF line ends: the shared scenarios read them as the CRLF the program put there.
    scenarios.clipboard = lambda: clipboard().replace("\n", "\r\n")
    cases = Cases(lambda exe=exe, **options: WineProgram(exe, **options))
    try:
        make_prefix()
        scenarios.run_scenarios(cases, session, "wine")
        cases.run("whole texts and the rate in the registry", case_windows_texts_and_rate)
        cases.run("autostart, about window and help", case_autostart_about_help, exe)
        cases.run("a plain start writes nothing to the registry", case_plain_start_writes_nothing)
        cases.run("adding to and removing from the rate list", case_entry_list, exe)
        with zipfile.ZipFile(portable) as archive:
            archive.extractall(f"{work}/portable")
        portable_exe = f"{work}/portable/Zelk 2010/zelk.exe"
        version = re.search(r"zelk-(.*)-setup-x64\.exe$", setup).group(1)
        cases.run("the release's files and zelk.exe's resources", case_release_files, portable_exe, setup, portable,
                  version, source_dir)
        cases.run("install, use, install again and uninstall", case_install_use_uninstall, setup, portable_exe, version)
        cases.run("compact window takes the keyboard", case_compact_keyboard)
    finally:
        run("wineserver", "-k")
        session.close()
        shutil.rmtree(work, ignore_errors=True)
    return cases.finish()


if __name__ == "__main__":
    exit_with(main, *sys.argv[1:6])
