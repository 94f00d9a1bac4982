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

import places
from session import (Cases, Program, Session, Skip, activate, click_in, clipboard_becomes, eventually, keys, menus,
                     count_colours, need, run, screenshot, type_text, wait_gone, wait_window, window_named)

VB = r"HKCU\Software\VB and VBA Program Settings"
RATE_KEY = VB + r"\Zelk_2010\Zelk_Satz"
RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelk 2010"
WIZARD_BUTTON = (260, 264)  # Weiter, Übernehmen and Fertig, one after the other (below Wine's caption)
work = tempfile.mkdtemp(prefix="zelk-wine-")
shots = ""


def wine(*args, env=None):
    return subprocess.run(("wine",) + args, capture_output=True, env=env, check=False).returncode


def reg_value(key, name):
    match = re.search(rf"^\s*{re.escape(name)}\s+REG_\w+\s+(.*?)\r?$",
                      run("wine", "reg", "query", key, "/v", name), re.M)
    return match.group(1) if match else None


def no_reg_key(key):
    return wine("reg", "query", key) != 0


def reg_add(key, name, data):
    wine("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", data, "/f")


class WineProgram(Program):
    # zelk.exe under Wine; the stored data is the registry's, and zelk.dat beside the program.

    def __init__(self, exe, old_rate=None, command=None):
        if old_rate is not None:
            reg_add(VB + r"\Zelk_2009\Zelk_Satz", "x.Text", str(old_rate))
        self.exe = exe
        super().__init__(command or ["wine", exe])

    def stored_rate(self):
        return reg_value(RATE_KEY, "x.Text")

    def entries(self):
        path = os.path.join(os.path.dirname(self.exe), "zelk.dat")
        with open(path, encoding="utf-8", errors="replace") as lines:
            return [line.rstrip("\r\n") for line in lines]

    def stop(self):
        super().stop()
        wait_gone("^Zelk")  # the windows go a moment after the process


# Wine loses a click or a key that only activates a window, and keys pressed
# before it has given a new window the focus: each action is repeated until its effect shows.
def until(seconds, act, effect, wait=3):
    return eventually(seconds, lambda: (act(), eventually(wait, effect))[1])


def press(pattern, *names):
    wid = window_named(pattern)
    if wid:
        activate(wid)
        keys(*names)


def click(wid, place):
    activate(wid)
    click_in(wid, *place)


def opens_by_click(wid, place, pattern):
    return until(20, lambda: click(wid, place), lambda: window_named(pattern))


def opens_by_key(pattern, key, opened):
    return until(15, lambda: press(pattern, key), lambda: window_named(opened))


def closes_by_key(pattern, key):
    return until(15, lambda: press(pattern, key), lambda: not window_named(pattern))


def menu_by_click(wid, place):
    return until(20, lambda: click(wid, place), menus)


# No marker goes into the clipboard first: Wine imports a new X owner a moment
# later and could overwrite the program's copy with it. Nothing copies the
# expected text before.
def copied_from(wid, box, text):
    return eventually(10, lambda: (click(wid, places.BOXES[box]), keys("End", "shift+Home", "ctrl+c"),
                                   clipboard_becomes(text, 2))[-1])


def typed_into(wid, box, text):
    def attempt():
        click(wid, places.BOXES[box])
        keys("End", "shift+Home", "BackSpace")
        type_text(text, 60)
        keys("shift+Home", "ctrl+c")
        return clipboard_becomes(text, 2)
    return eventually(20, attempt)


def main_window():
    wid = wait_window(places.MAIN, 60)
    if wid:
        activate(wid)
    return wid


def screen_text(png, crop=None):
    # What tesseract reads, on one line; enlarged first, since the 8 pt texts
    # are small for it. It mistakes some small characters (0 for 9, ; for :).
    run("convert", png, *(["-gravity", "southeast", "-crop", crop, "+repage"] if crop else []),
        "-resize", "400%", "-colorspace", "Gray", f"{work}/ocr.png")
    return run("tesseract", f"{work}/ocr.png", "-").replace("\n", " ")


def shows(wid, png, pattern, crop=None):
    # Takes the screenshot again until it shows the text: a window may still be painting.
    def attempt():
        screenshot(wid, f"{shots}/{png}")
        return re.search(pattern, screen_text(f"{shots}/{png}", crop))
    return eventually(15, attempt)


def toolbar_icons_drawn(png):
    # An empty toolbar place is its light gradient; Neu, Info and Beenden have a dark outline.
    return all(run("convert", png, "-crop", f"16x16+{x}+6", "+repage", "-colorspace", "Gray", "-format",
                   "%[fx:minima < 0.5]", "info:") == "1" for x in (10, 299, 482))


def case_calculation(c, new):
    program = new()
    wid = main_window()
    if not c.check("the main window appears with its title", wid):
        return program.stop()
    c.check("netto takes 100", typed_into(wid, "net", "100"))
    keys("Return")
    c.check("Enter in netto computes: 100 at 19 % gives gross 119,00", copied_from(wid, "gross", "119,00"))
    # With Wine's own fallback font these were cut off; whole, they end in ':' and '.'.
    c.check("the rate label is whole (Mehrwertsteuer:)", shows(wid, "main-window.png", r"Mehrwert[a-z]+[:;]"))
    c.check("the toolbar draws its icons (Neu, Info, Beenden)", toolbar_icons_drawn(f"{shots}/main-window.png"))
    c.check("the netto hint is whole (... ermitteln.)", re.search(r"erm[a-z]+\.", screen_text(f"{shots}/main-window.png")))
    c.check("the save menu opens", menu_by_click(wid, places.TOOLBAR["save"]))
    keys("s")
    c.check(r"saving writes x.Text = 19 under Zelk_2010\Zelk_Satz", eventually(10, lambda: program.stored_rate() == "19"))
    menu_by_click(wid, places.TOOLBAR["save"])
    keys("l")
    c.check("deleting removes the section Zelk_Satz", eventually(10, lambda: no_reg_key(RATE_KEY)))
    program.stop()


def case_wizard(c, new):
    program = new(old_rate=16)
    wizard = wait_window(places.WIZARD, 60)
    if not c.check("a 2009 rate in the registry opens the 2009 wizard", wizard):
        return program.stop()
    activate(wizard)
    c.check("its first page is whole (... auf WEITER.)", shows(wizard, "wizard-start.png", r"WEITER\."))
    keys("alt+w")
    c.check("Weiter moves the rate to Zelk_2010", eventually(10, lambda: program.stored_rate() == "16"))
    c.check("and deletes the old key Zelk_2009", eventually(10, lambda: no_reg_key(VB + r"\Zelk_2009")))
    c.check("its second page is whole (... Registrierung zu löschen.)", shows(wizard, "wizard.png", r"schen\."))
    # Alt+Ü does not reach the program through Wine's US keyboard; Fertig takes
    # Übernehmen's place once that has been handled, so an early click does nothing.
    click_in(wizard, *WIZARD_BUTTON)
    c.check("Übernehmen, then Fertig opens the main window",
            until(15, lambda: click_in(wizard, *WIZARD_BUTTON), lambda: window_named(places.MAIN), 1))
    wid = main_window()
    c.check("which shows the moved rate 16", wid and copied_from(wid, "rate", "16"))
    program.stop()


def case_autostart_about_help(c, new, exe):
    program = new()
    wid = main_window()
    if not c.check("the main window appears", wid):
        return program.stop()
    if c.check("the autostart window opens", opens_by_click(wid, places.TOOLBAR["autostart"], "^Autostartfunktion$")):
        # Wine names the build folder as drive Z:.
        folder = "Z:" + os.path.dirname(exe).replace("/", "\\")
        for key, effect, what in (("alt+e", lambda: reg_value(RUN_KEY, "zelk") == folder + r"\zelk.exe",
                                   r"Eintragen writes the Run value zelk = <program folder>\zelk.exe"),
                                  ("alt+a", lambda: reg_value(RUN_KEY, "zelk") is None, "Entfernen removes it")):
            c.check(what, opens_by_key("^Autostartfunktion$", key, "^Autostart$") and eventually(10, effect))
            c.check("the message closes", closes_by_key("^Autostart$", "Return"))
        c.check("Escape closes the autostart window", closes_by_key("^Autostartfunktion$", "Escape"))
    about = opens_by_click(wid, places.TOOLBAR["about"], "^Copyright$")
    if c.check("the about window opens", about):
        c.check("it names the system as Windows NT ( Version 10.0, ... )",
                shows(about, "about-window.png", r"Windows NT \S{0,2} ?Version 10\.[0-9],"))
        c.check("Escape closes it", closes_by_key("^Copyright$", "Escape"))
    viewer = until(20, lambda: activate(wid) or keys("F1"), lambda: window_named("^Zelk. 2010 Hilfe$"), 5)
    # Wine has no Gecko here, so the topic pane stays blank; the contents list is the help file's.
    c.check("F1 opens the HTML Help viewer on zelk.chm, with its contents, umlauts whole",
            viewer and shows(viewer, "help.png", r"Hauptfenster.*Daten[üui]{1,2}bernahme.*Tastatur"))
    program.stop()


def software_keys():
    # HKCU\\Software as lines, without Software\\Wine, where Wine keeps values of its own.
    if wine("reg", "export", r"HKCU\Software", f"{work}/export.reg", "/y"):
        return None
    with open(f"{work}/export.reg", encoding="utf-16") as exported:
        sections = exported.read().replace("\r", "").split("\n[")
    return [s for s in sections if not s.startswith(r"HKEY_CURRENT_USER\Software\Wine")]


def case_plain_start_writes_nothing(c, new):
    wine("reg", "delete", VB, "/f")  # as a new user has it, whatever the cases before stored
    before = software_keys()
    c.check(r"HKCU\Software is exported before the start", before)
    program = new()
    c.check("the main window appears", main_window())
    c.check("Alt+F4 ends the program", closes_by_key(places.MAIN, "alt+F4") and program.ended(10))
    program.stop()
    c.check(r"a plain start leaves HKCU\Software as it was", software_keys() == before)


def case_entry_list(c, new, exe):
    # A copy in a folder of its own, so that zelk.dat lies beside it and nowhere else.
    os.makedirs(f"{work}/program", exist_ok=True)
    program = new(exe=shutil.copy(exe, f"{work}/program/zelk.exe"))
    def holds(*entries, lacks=None):
        return eventually(10, lambda: os.path.exists(f"{work}/program/zelk.dat") and lacks not in program.entries()
                          and all(e in program.entries() for e in entries))
    wid = main_window()
    if not c.check("the main window appears", wid):
        return program.stop()
    c.check("the rate box takes 16", typed_into(wid, "rate", "16"))
    c.check("its side button opens the list", menu_by_click(wid, places.BOXES["rate list"]))
    keys("h")
    c.check("Aktuellen Wert hinzufügen writes 16 to zelk.dat beside zelk.exe, keeping 19 and 7", holds("16", "19", "7"))
    c.check("the list opens again", menu_by_click(wid, places.BOXES["rate list"]))
    keys("e", "Down", "Down", "Return")  # Eintrag entfernen, then the third entry: 19, 7, 16
    c.check("removing 16 takes it out of zelk.dat and keeps 19 and 7", holds("19", "7", lacks="16"))
    program.stop()


def keyboard_in(wid):
    # The X focus is on the window or a child, and a box shows the focused amount's light yellow.
    focused = run("xdotool", "getwindowfocus").strip()
    children = re.findall(r"^\s*(0x[0-9a-f]+) ", run("xwininfo", "-id", wid, "-tree"), re.M)
    return focused and (focused == str(int(wid)) or hex(int(focused)) in children) and \
        count_colours(wid, "ffffc0") > 300


def case_compact_keyboard(c, new):
    wine("reg", "delete", VB + r"\Zelk_2010", "/f")  # 19 %, whatever an earlier case stored
    program = new()
    wid = main_window()
    compact = wid and opens_by_click(wid, places.TOOLBAR["compact"], places.COMPACT)
    if not c.check("Ansicht wechseln opens the compact window", compact):
        return program.stop()
    # A tool window gets no keyboard on Windows unless the program asks: digits typed at once must arrive.
    c.check("which takes the keyboard by itself", eventually(5, lambda: keyboard_in(compact)))
    type_text("100", 60)
    keys("Return", "Tab", "Tab", "ctrl+c")  # from netto over x to brutto, whose whole text Ctrl+C copies
    c.check("digits typed without a click compute: gross 119,00", clipboard_becomes("119,00"))
    # OCR finds the compact window's few small words only in the corner alone; a cut button reads "...run".
    c.check("the Vordergrund button is whole", shows(compact, "compact-window.png", "Vorder[gqa]rund", "100x30+0+0"))
    # The static Qt for Windows has no translations: the program brings Qt's German texts along.
    keys("shift+F10")
    menu = eventually(5, menus)
    c.check("brutto's context menu opens and speaks German (Einfügen, Alles auswählen)",
            menu and shows(menu[0][0], "context-menu.png", "Einf.gen.*Alles"))
    program.stop()


def resource(exe, kind):
    # Raw resource data: 14 is the icon group, 16 the version information, 24 the manifest.
    return subprocess.run(["wrestool", "-x", "--raw", f"--type={kind}", exe], capture_output=True, check=False).stdout


def version_strings(exe):
    # The version information's strings, as `strings -el` lists them: the value follows its name.
    found = re.findall(r"[\x20-\x7e\xa0-\xff]{4,}", resource(exe, 16).decode("utf-16-le", "replace"))
    return {name: value for name, value in zip(found, found[1:])}


def fixed_version(exe):
    # The fixed file version that Explorer shows, as a.b.c.d.
    data = resource(exe, 16)
    at = data.find(b"\xbd\x04\xef\xfe") + 8
    high, low = (int.from_bytes(data[at + i:at + i + 4], "little") for i in (0, 4))
    return f"{high >> 16}.{high & 0xffff}.{low >> 16}.{low & 0xffff}"


def icon_sizes(exe):
    with open(f"{work}/icon.ico", "wb") as ico:
        ico.write(subprocess.run(["wrestool", "-x", "--type=14", exe], capture_output=True, check=False).stdout)
    return re.findall(r"--width=(\d+)", run("icotool", "-l", f"{work}/icon.ico"))


def case_release_files(c, exe, setup, portable, version, source_dir):
    with zipfile.ZipFile(portable) as archive:
        c.check("the zip holds the folder Zelk 2010 with zelk.exe and zelk.chm, nothing else",
                sorted(n for n in archive.namelist() if not n.endswith("/")) ==
                ["Zelk 2010/zelk.chm", "Zelk 2010/zelk.exe"])
    headers = run("x86_64-w64-mingw32-objdump", "-f", exe)
    c.check("its zelk.exe is stripped", "architecture" in headers and "HAS_SYMS" not in headers)
    c.check(f"the installer is under 10 MB ({os.path.getsize(setup) // 1024} KiB)", os.path.getsize(setup) < 10_000_000)
    c.check(f"zelk.exe carries its icon, 32 and 64 pixels ({icon_sizes(exe)})", icon_sizes(exe) == ["32", "64"])
    c.check(f"its file version is the release's, {version}.0 ({fixed_version(exe)})", fixed_version(exe) == f"{version}.0")
    strings = version_strings(exe)
    for name in ("FileVersion", "ProductVersion"):
        c.check(f"its version information names {name} {version}.0", strings.get(name) == f"{version}.0")
    for name in ("CompanyName", "FileDescription", "ProductName", "LegalCopyright"):
        c.check(f"its version information has a {name}", strings.get(name))
    c.check("in German (translation 0407, Unicode)", b"\x07\x04\xb0\x04" in resource(exe, 16))
    manifest = resource(exe, 24)
    try:
        well_formed = bool(xml.dom.minidom.parseString(manifest))
    except Exception:  # pylint: disable=broad-except (any parser error means ill-formed)
        well_formed = False
    c.check("its manifest is well-formed XML", well_formed)
    for what, pattern in (("runs as the invoker, without elevation", r'requestedExecutionLevel level="asInvoker"'),
                          ("declares Windows 10 and 11", r'supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"'),
                          ("is per-monitor DPI aware (v2)", r"<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>"),
                          ("asks for the common controls 6", r'name="Microsoft.Windows.Common-Controls" version="6')):
        c.check(f"it {what}", re.search(pattern, manifest.decode("utf-8", "replace").replace("\n", "")))
    # Signing, as windows_release does it when the environment names a certificate.
    if not (shutil.which("osslsigncode") and shutil.which("openssl")):
        return print("  skipped: signing (osslsigncode or openssl is not installed)")
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{work}/key.pem", "-out",
        f"{work}/cert.pem", "-days", "1", "-subj", "/CN=Zelk test")
    run("openssl", "pkcs12", "-export", "-inkey", f"{work}/key.pem", "-in", f"{work}/cert.pem", "-out",
        f"{work}/cert.p12", "-passout", "pass:test")
    signed = shutil.copy(exe, f"{work}/signed.exe")
    run("bash", f"{source_dir}/packaging/windows/sign.sh", signed,
        env=dict(os.environ, ZELK_SIGN_PKCS12=f"{work}/cert.p12", ZELK_SIGN_PASSWORD="test"))
    c.check("a certificate in ZELK_SIGN_PKCS12 signs the program", subprocess.run(
        ["osslsigncode", "verify", "-in", signed, "-CAfile", f"{work}/cert.pem"], capture_output=True).returncode == 0)


def windows_folder(variable, *names):
    # (Windows path, Unix path) of a folder named by a Windows variable, and names within.
    path = "\\".join([run("wine", "cmd", "/c", f"echo %{variable}%").strip(), *names])
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
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as cmd, open(f"/proc/{pid}/environ", "rb") as env:
                if re.search(rb"Zelk 2010.zelk\.exe", cmd.read()) and \
                        f"WINEPREFIX={os.environ['WINEPREFIX']}".encode() in env.read().split(b"\0"):
                    found.append(int(pid))
        except OSError:
            pass
    return found


def case_install_use_uninstall(c, setup, portable_exe, version):
    folder, unix = windows_folder("LOCALAPPDATA", "Programs", "Zelk 2010")
    shortcut, shortcut_unix = windows_folder("APPDATA", "Microsoft", "Windows", "Start Menu", "Programs", "Zelk. 2010.lnk")
    files = lambda: sorted(os.listdir(unix)) if os.path.isdir(unix) else []
    holds_16 = lambda: os.path.exists(f"{unix}/zelk.dat") and "16" in open(f"{unix}/zelk.dat").read().split()
    strings = version_strings(portable_exe)
    wine("reg", "delete", VB, "/f")
    wine("reg", "delete", RUN_KEY, "/v", "zelk", "/f")
    install = lambda *options: timed(setup, "/S", *options)
    uninstall = lambda option="": timed(f'{reg_value(UNINSTALL_KEY, "QuietUninstallString") or "false"} {option}')
    uninstalled = lambda: not any(os.path.exists(f"{unix}/{n}") for n in ("zelk.exe", "zelk.chm", "uninstall.exe")) \
        and not os.path.exists(shortcut_unix) and no_reg_key(UNINSTALL_KEY)

    code, took = install("/AUTOSTART")
    c.check(f"a silent install with autostart succeeds within 5 s ({took} ms)", code == 0 and took < 5000)
    c.check(rf"into %LOCALAPPDATA%\Programs\Zelk 2010: zelk.exe, zelk.chm and the uninstaller ({files()})",
            files() == ["uninstall.exe", "zelk.chm", "zelk.exe"])
    with open(f"{unix}/zelk.exe", "rb") as installed, open(portable_exe, "rb") as unpacked:
        c.check("the installed zelk.exe is the zip's", installed.read() == unpacked.read())
    with open(shortcut_unix, "rb") as link:
        c.check("the Start menu's shortcut Zelk. 2010 points at it", f"{folder}\\zelk.exe".encode() in link.read())
    c.check(r"Beim Anmelden starten writes the Run value zelk = <folder>\zelk.exe",
            reg_value(RUN_KEY, "zelk") == f"{folder}\\zelk.exe")
    for name, value in (("DisplayName", strings.get("ProductName")), ("Publisher", strings.get("CompanyName")),
                        ("DisplayVersion", version), ("DisplayIcon", f"{folder}\\zelk.exe,0"),
                        ("QuietUninstallString", f'"{folder}\\uninstall.exe" /S')):
        c.check(f"the uninstall entry's {name} is {value}", reg_value(UNINSTALL_KEY, name) == value)
    size = int(reg_value(UNINSTALL_KEY, "EstimatedSize") or "0", 0)
    actual = int(run("du", "-sk", unix).split()[0])
    c.check(f"its size is the folder's ({size} KiB, has {actual})", 0.9 * actual <= size <= 1.1 * actual)

    # As a user starts it from the Start menu.
    program = WineProgram(f"{unix}/zelk.exe", command=["wine", "start", shortcut])
    wid = main_window()
    c.check("the shortcut starts the installed program", eventually(10, installed_program_pids))
    if wid:
        c.check("netto takes 100", typed_into(wid, "net", "100"))
        keys("Return")
        c.check("and Enter computes brutto 119,00", copied_from(wid, "gross", "119,00"))
        c.check("the rate box takes 16", typed_into(wid, "rate", "16"))
        menu_by_click(wid, places.TOOLBAR["save"])
        keys("s")
        c.check("saving stores 16 in the registry", eventually(10, lambda: program.stored_rate() == "16"))
        menu_by_click(wid, places.BOXES["rate list"])
        keys("h")
        c.check("adding it to the list writes zelk.dat beside the installed zelk.exe (error 32 on replacing)",
                eventually(10, holds_16))
        wine("reg", "delete", RUN_KEY, "/v", "zelk", "/f")
        c.check("the autostart window writes what the installer wrote",
                opens_by_click(wid, places.TOOLBAR["autostart"], "^Autostartfunktion$") and
                opens_by_key("^Autostartfunktion$", "alt+e", "^Autostart$") and
                eventually(10, lambda: reg_value(RUN_KEY, "zelk") == f"{folder}\\zelk.exe"))
        closes_by_key("^Autostart$", "Return")
        closes_by_key("^Autostartfunktion$", "Escape")
    # The uninstaller runs as a copy of itself and returns at once; _?= keeps it in place, so that its code tells.
    c.check("while it runs, the uninstaller refuses (2) and removes nothing",
            uninstall(f"_?={folder}")[0] == 2 and {"zelk.exe", "zelk.chm"} <= set(files())
            and not no_reg_key(UNINSTALL_KEY))
    c.check("and so does the installer", install()[0] == 2)
    closes_by_key(places.MAIN, "alt+F4")
    if not eventually(10, lambda: not installed_program_pids()):
        [os.kill(pid, 9) for pid in installed_program_pids()]
    c.check("the program ends", eventually(10, lambda: not installed_program_pids()))
    program.stop()

    code, took = install()
    c.check(f"installing again over it succeeds within 5 s ({took} ms)", code == 0 and took < 5000)
    c.check("and keeps the list, the saved rate and the autostart entry", holds_16() and
            program.stored_rate() == "16" and reg_value(RUN_KEY, "zelk") == f"{folder}\\zelk.exe")
    start = time.monotonic()
    c.check("a silent uninstall removes the program, the shortcut and the uninstall entry",
            uninstall()[0] == 0 and eventually(10, uninstalled))
    c.check(f"within 5 s ({time.monotonic() - start:.1f} s)", time.monotonic() - start < 5)
    c.check("and the Run value, which started this copy", reg_value(RUN_KEY, "zelk") is None)
    c.check(f"but keeps the saved rate and zelk.dat, alone in the folder ({files()})",
            program.stored_rate() == "16" and files() == ["zelk.dat"])
    other = r"D:\Zelk 2010\zelk.exe"  # another copy's autostart entry is not this copy's to remove
    install("/AUTOSTART")
    reg_add(RUN_KEY, "zelk", other)
    uninstall()
    eventually(10, uninstalled)
    c.check("uninstalling again keeps the Run value of another copy", reg_value(RUN_KEY, "zelk") == other)


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


def main(source_dir, exe, shot_folder, setup, portable):
    global shots
    shots = shot_folder
    exe, setup, portable = map(os.path.realpath, (exe, setup, portable))
    if not os.path.isdir(f"{source_dir}/../shared/windows"):
        raise Skip("no ../shared/windows beside the source folder: no static Qt for Windows, no zelk.exe")
    need("wine", "wineboot", "wineserver", "tesseract", "wrestool", "icotool")
    if not os.path.isfile(os.path.join(os.path.dirname(exe), "zelk.chm")):
        raise RuntimeError(f"zelk.chm is not beside {exe}")
    os.makedirs(shots, exist_ok=True)
    session = Session()
    cases = Cases()
    try:
        make_prefix()
        new = lambda old_rate=None, exe=exe: WineProgram(exe, old_rate)
        cases.run("main window, calculation and the saved rate", case_calculation, new)
        cases.run("2009 wizard", case_wizard, new)
        cases.run("autostart, about window and help", case_autostart_about_help, new, exe)
        cases.run("a plain start writes nothing to the registry", case_plain_start_writes_nothing, new)
        cases.run("adding to and removing from the rate list", case_entry_list, new, exe)
        with zipfile.ZipFile(portable) as archive:
            archive.extractall(f"{work}/portable")
        portable_exe = f"{work}/portable/Zelk 2010/zelk.exe"
        version = re.search(r"zelk-(.*)-setup-x64\.exe$", setup).group(1)
        cases.run("the release's files and zelk.exe's resources", case_release_files, portable_exe, setup, portable,
                  version, source_dir)
        cases.run("install, use, install again and uninstall", case_install_use_uninstall, setup, portable_exe, version)
        cases.run("compact window takes the keyboard", case_compact_keyboard, new)
    finally:
        run("wineserver", "-k")
        session.close()
        shutil.rmtree(work, ignore_errors=True)
    return cases.finish()


if __name__ == "__main__":
    try:
        sys.exit(main(*sys.argv[1:6]))
    except Skip as why:
        print(f"SKIP: {why}")
        sys.exit(77)
