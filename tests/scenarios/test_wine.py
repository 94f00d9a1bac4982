# zelk.exe under Wine, driven like a user, and the Windows release: the zip
# and the installer, installed, used, installed again and uninstalled. The
# registry, the Run key, the HTML Help viewer and the Windows version are
# Wine's own implementations, read back with `wine reg`, the clipboard (Wine
# shares X's) and tesseract (text on screen). How long installing takes is
# bench/install.sh's table.
import os
import pathlib
import re
import shutil
import subprocess
import xml.dom.minidom

import pytest

from actions import attempt, focus, gone, press, read_box, toolbar
from launchers import RUN_KEY, SOURCE, VB, no_reg_key, reg_add, reg_value, wine
from places import BOXES, COMPACT, MAIN, MODALS, WIZARD
from session import click_in, clipboard, count_colours, eventually, keys, menus, need, prop, run, shoot, type_text
from session import wait_window, window, window_named

pytestmark = pytest.mark.launchers("wine")
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelk 2010"
AUTOSTART, MESSAGE, ABOUT = MODALS["autostart"], MODALS["autostart message"], MODALS["about"]
LIST_MESSAGE = "^Gespeicherte Werte$"  # the title of the message a failed change of the rate list shows


def shows(wid, png, pattern, crop=None):
    # What tesseract reads in a shot of the window, shot again until it shows the text (a window may still be
    # painting); enlarged first, since the 8 pt texts are small for it. It mistakes some small characters
    # (0 for 9, ; for :).
    def read():
        path = shoot(wid, png)
        run("convert", path, *(["-gravity", "southeast", "-crop", crop, "+repage"] if crop else []),
            "-resize", "400%", "-colorspace", "Gray", f"{path}.ocr.png")
        text = run("tesseract", f"{path}.ocr.png", "-").replace("\n", " ")
        os.remove(f"{path}.ocr.png")
        return re.search(pattern, text)
    return wid and eventually(15, read)


def test_wizard_texts_rate_autostart_about_and_help(launch, launcher):
    # With Wine's own fallback font these texts were cut; whole, they end in '.' and ':'.
    program = launch(old_rate=16)
    wizard = wait_window(WIZARD, 60)
    assert wizard, "a 2009 rate in the registry opens the 2009 wizard"
    assert shows(wizard, "wizard-start.png", r"WEITER\."), "its first page is whole (... auf WEITER.)"
    assert press(WIZARD, "alt+w", lambda: program.stored_rate() == "16"), "Weiter moves the rate to Zelk_2010"
    assert eventually(10, lambda: no_reg_key(VB + r"\Zelk_2009")), "and deletes the old key Zelk_2009"
    assert shows(wizard, "wizard.png", r"schen\."), "its second page is whole (... Registrierung zu löschen.)"
    # Fertig takes Übernehmen's place once that has been handled (below Wine's caption).
    wid = attempt(lambda: click_in(wizard, 260, 264), lambda: window_named(MAIN), 1, 15)
    assert wid, "Übernehmen, then Fertig opens the main window"
    assert shows(wid, "main-window.png", r"Mehrwert[a-z]+[:;]"), "the rate label is whole (Mehrwertsteuer:)"
    # (OCR reads an accent or a gap into it now and then: "érmitteln.", "erm ittein.")
    assert shows(wid, "main-window.png", r"rm ?i[a-z]+\."), "the netto hint is whole (... ermitteln.)"
    # An empty toolbar place is its light gradient; Neu, Info and Beenden have a dark outline.
    assert all(run("convert", shoot(wid, "main-window.png"), "-crop", f"16x16+{x}+6", "+repage", "-colorspace",
                   "Gray", "-format", "%[fx:minima < 0.5]", "info:") == "1" for x in (10, 299, 482)), "toolbar icons"
    assert read_box(MAIN, "Tab") == "16", "the main window shows the moved rate 16"
    rate_key = rf"{VB}\Zelk_2010\Zelk_Satz"
    assert toolbar("save") and not keys("l") and eventually(10, lambda: no_reg_key(rate_key)), "deleting the rate"
    assert toolbar("save") and not keys("s") and eventually(10, lambda: program.stored_rate() == "16"), "saving it"

    assert toolbar("autostart", AUTOSTART)
    folder = "Z:" + os.path.dirname(launcher.program).replace("/", "\\")  # Wine names the build folder as drive Z:
    # Quoted, since the path may hold a blank: Windows would try the path up to it first.
    for key, value in (("alt+e", f'"{folder}\\zelk.exe"'), ("alt+a", None)):  # Eintragen, then Entfernen
        assert press(AUTOSTART, key, lambda: window_named(MESSAGE))
        assert eventually(10, lambda: reg_value(RUN_KEY, "zelk") == value), f"{key}: the Run value is {value}"
        assert press(MESSAGE, "Return", gone(MESSAGE)), "the message closes"
    assert press(AUTOSTART, "Escape", gone(AUTOSTART))
    assert shows(toolbar("about", ABOUT), "about-window.png", r"Windows NT \S{0,2} ?Version 10\.[0-9],"), "NT 10.x"
    assert press(ABOUT, "Escape", gone(ABOUT))
    viewer = press(MAIN, "F1", lambda: window_named("^Zelk. 2010 Hilfe$"))
    # Wine has no Gecko here, so the topic pane stays blank; the contents list is the help file's.
    assert shows(viewer, "help.png", r"Hauptfenster.*Daten[üui]{1,2}bernahme.*Tastatur"), "F1 opens zelk.chm"


# --- the release's files ----------------------------------------------------------

@pytest.fixture(scope="module")
def release(request, launcher):
    # (zelk.exe from the zip, the installer, the version) of the release folder, where the launcher
    # finds what makes it (or skips).
    folder = pathlib.Path(request.config.getoption("release"))
    setup, portable = (next(folder.glob(f"zelk-*-{kind}"), None) for kind in ("setup-x64.exe", "windows-x64.zip"))
    assert setup and portable, f"the installer and the zip are in {folder}"
    shutil.unpack_archive(portable, f"{launcher.work}/portable")
    return f"{launcher.work}/portable/Zelk 2010/zelk.exe", str(setup), re.search(r"zelk-(.*)-setup", setup.name)[1]


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


def test_zip_holds_stripped_program_with_icon_and_version_information(release, tmp_path):
    exe, setup, version = release
    unpacked = pathlib.Path(exe).parent.parent
    files = sorted(str(path.relative_to(unpacked)) for path in unpacked.rglob("*"))
    assert files == ["Zelk 2010", "Zelk 2010/zelk.chm", "Zelk 2010/zelk.exe"], "the program and its help only"
    headers = run("x86_64-w64-mingw32-objdump", "-f", exe)
    assert "architecture" in headers and "HAS_SYMS" not in headers
    assert os.path.getsize(setup) < 10_000_000
    # Every size Windows shows (lists, task bar, Alt+Tab, Explorer's views), so that it never scales one.
    run("wrestool", "-x", "--type=14", "-o", f"{tmp_path}/icon.ico", exe)
    sizes = re.findall(r"--width=(\d+)", run("icotool", "-l", f"{tmp_path}/icon.ico"))
    assert sorted(map(int, sizes)) == [16, 24, 32, 48, 64, 256]
    # The fixed file version, which Explorer shows, is two little-endian words after the signature.
    info = resource(exe, 16)
    at = info.find(b"\xbd\x04\xef\xfe") + 8
    high, low = (int.from_bytes(info[at + i:at + i + 4], "little") for i in (0, 4))
    assert f"{high >> 16}.{high & 0xffff}.{low >> 16}.{low & 0xffff}" == f"{version}.0"
    assert b"\x07\x04\xb0\x04" in info, "German (0407), Unicode"
    strings = version_strings(exe)
    assert all(strings.get(n) for n in ("CompanyName", "FileDescription", "ProductName", "LegalCopyright")), strings
    assert strings.get("FileVersion") == strings.get("ProductVersion") == f"{version}.0"


@pytest.mark.parametrize("pattern", MANIFEST.values(), ids=MANIFEST.keys())
def test_manifest(release, pattern):
    # Parsed first: a manifest that is not well-formed stops the program from starting at all.
    assert re.search(pattern, xml.dom.minidom.parseString(resource(release[0], 24)).toxml().replace("\n", ""))


def test_certificate_signs_program(release, tmp_path):
    # Signing, as the release build does it when the environment names a certificate.
    need("osslsigncode", "openssl")
    key, cert, p12 = (f"{tmp_path}/{name}" for name in ("key.pem", "cert.pem", "cert.p12"))
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-subj", "/CN=Zelk")
    run("openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12, "-passout", "pass:test")
    signed = shutil.copy(release[0], f"{tmp_path}/signed.exe")
    subprocess.run(["bash", f"{SOURCE}/packaging/windows/sign.sh", signed], capture_output=True, check=False,
                   env=dict(os.environ, ZELK_SIGN_PKCS12=p12, ZELK_SIGN_PASSWORD="test"))
    assert "Signature verification: ok" in run("osslsigncode", "verify", "-in", signed, "-CAfile", cert)


# --- the program's folder, installed ------------------------------------------------

def windows_folder(variable, within):
    # (Windows path, Unix path) of a place in a folder named by a Windows variable.
    path = run("wine", "cmd", "/c", f"echo %{variable}%").strip() + "\\" + within
    return path, run("winepath", "-u", path).strip()


def listing(folder):
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


def entries(path):  # the words of a zelk.dat, its rates among them
    return pathlib.Path(path).read_text(encoding="utf-8").split() if os.path.isfile(path) else []


def software_keys(folder):
    # HKCU\Software as text, without Software\Wine, where Wine keeps values of its own.
    assert wine("reg", "export", r"HKCU\Software", f"{folder}/export.reg", "/y") == 0
    sections = pathlib.Path(f"{folder}/export.reg").read_text(encoding="utf-16").replace("\r", "").split("\n[")
    return [s for s in sections if not s.startswith(r"HKEY_CURRENT_USER\Software\Wine")]


def add_rate(rate):
    # Types the rate into the rate box and adds it to the list through the box's list button ("h": hinzufügen).
    def typed():
        click_in(focus(MAIN), *BOXES["rate"])
        keys("ctrl+a")
        type_text(rate)
        keys("End", "shift+Home", "ctrl+c")
    assert attempt(typed, lambda: clipboard() == rate, 2, 8), f"the rate box takes {rate}"
    return attempt(lambda: click_in(focus(MAIN), *BOXES["rate list"]), menus, 3, 5) and not keys("h")


def test_portable_program_in_protected_folder(launch, launcher, release, tmp_path):
    # The zip's program where it may not write: it calculates in its compact window, keeps its list in the data
    # folder, and stores nothing in the registry that it is not asked to. The folder is closed to its owner but
    # open to the group: Wine then shows no read-only attribute, as Windows shows none on a folder that its
    # access rights close.
    folder = shutil.copytree(os.path.dirname(release[0]), f"{tmp_path}/Zelk 2010")
    os.chmod(folder, 0o575)
    wine("cmd", "/c", f'echo x > "{run("winepath", "-w", f"{folder}/probe").strip()}"')
    assert not os.path.exists(f"{folder}/probe"), "Wine refuses new files in a folder closed to writing"
    data = windows_folder("APPDATA", r"zelk\zelk.dat")[1]  # the application's data folder
    wine("reg", "delete", VB, "/f")  # as a new user has it (19 %), whatever the cases before stored
    before = software_keys(tmp_path)
    program = launch(command=launcher.command(None, f"{folder}/zelk.exe"))
    assert wait_window(MAIN, 60)
    compact = toolbar("compact", COMPACT)
    assert compact, "Ansicht wechseln opens the compact window"
    # A tool window gets no keyboard on Windows unless the program asks: digits typed at once must arrive.
    assert eventually(5, lambda: count_colours(compact, "ffffc0") > 300), "its net box shows the focus colour"
    type_text("100", 60)
    keys("Return", "Tab", "Tab", "ctrl+c")  # from netto over x to brutto, whose whole text Ctrl+C copies
    assert eventually(5, lambda: clipboard() == "119,00"), "digits typed without a click compute"
    # OCR finds the compact window's few small words only in the corner alone; a cut button reads "...run".
    assert shows(compact, "compact-window.png", "Vorder[gqa]rund", "100x30+0+0"), "the Vordergrund button is whole"
    # The static Qt for Windows has no translations: the program brings Qt's German texts along.
    menu = attempt(lambda: keys("shift+F10"), menus, 5, 1)
    assert menu and shows(menu[0][0], "context-menu.png", "Einf.gen.*Alles"), "brutto's context menu is German"
    assert press(COMPACT, "Escape alt+F4", lambda: window_named(MAIN)), "closed, it gives way to the main window"
    assert add_rate("12")
    assert eventually(10, lambda: window_named(LIST_MESSAGE) or "12" in entries(data)), r"in %APPDATA%\zelk"
    assert not window_named(LIST_MESSAGE), "adding to the list shows no message"
    assert listing(folder) == ["zelk.chm", "zelk.exe"], "and leaves the program folder as it was"
    assert wine(release[1], "/S") == 2, "while any copy runs, the installer refuses (2)"
    assert press(MAIN, "alt+F4", lambda: not program.alive()), "Alt+F4 ends the program"
    assert software_keys(tmp_path) == before, "which stored nothing it was not asked to"


def test_install_use_install_again_uninstall(launch, launcher, release, tmp_path):
    portable_exe, setup, version = release
    folder, unix = windows_folder("LOCALAPPDATA", r"Programs\Zelk 2010")
    shortcut, shortcut_unix = windows_folder("APPDATA", r"Microsoft\Windows\Start Menu\Programs\Zelk. 2010.lnk")
    local, temp = (windows_folder(variable, "zelk")[1] for variable in ("LOCALAPPDATA", "TEMP"))  # lock folders
    installed_exe, strings = f"{folder}\\zelk.exe", version_strings(portable_exe)

    def uninstall():
        # The registered quiet command as it stands, from a batch file: wine would quote its _?= as an argument.
        pathlib.Path(os.environ["WINEPREFIX"], "drive_c/run.bat").write_text(
            f'{reg_value(UNINSTALL_KEY, "QuietUninstallString") or "false"}\r\nexit /b %ERRORLEVEL%\r\n')
        return wine("cmd", "/c", r"C:\run.bat")

    def uninstalled():
        return not set(listing(unix)) & {"zelk.exe", "zelk.chm", "uninstall.exe"} \
            and not os.path.exists(shortcut_unix) and no_reg_key(UNINSTALL_KEY)

    assert wine(setup, "/S", "/AUTOSTART") == 0, "a silent install with autostart succeeds"
    assert listing(unix) == ["uninstall.exe", "zelk.chm", "zelk.exe"], r"into %LOCALAPPDATA%\Programs\Zelk 2010"
    assert pathlib.Path(f"{unix}/zelk.exe").read_bytes() == pathlib.Path(portable_exe).read_bytes(), "the zip's"
    assert installed_exe.encode() in pathlib.Path(shortcut_unix).read_bytes(), "the Start menu's shortcut to it"
    assert reg_value(RUN_KEY, "zelk") == f'"{installed_exe}"', "Beim Anmelden starten writes the Run value, quoted"
    for name, value in (("DisplayName", strings.get("ProductName")), ("Publisher", strings.get("CompanyName")),
                        ("DisplayVersion", version), ("DisplayIcon", installed_exe + ",0"),
                        ("QuietUninstallString", f'"{folder}\\uninstall.exe" /S _?={folder}')):
        assert reg_value(UNINSTALL_KEY, name) == value, f"the uninstall entry's {name}"
    size, actual = int(reg_value(UNINSTALL_KEY, "EstimatedSize") or "0", 0), int(run("du", "-sk", unix).split()[0])
    assert 0.9 * actual <= size <= 1.1 * actual, f"its EstimatedSize is the folder's ({size} KiB, has {actual})"

    # As a user starts it from the Start menu, and keeps a rate and a list: the list replaces zelk.dat beside
    # the program through a file of its own, which Windows moves only once no handle holds it (error 32). A file
    # where %LOCALAPPDATA%\zelk belongs makes it keep its lock in %TEMP%\zelk.
    shutil.rmtree(local, ignore_errors=True)
    pathlib.Path(local).touch()
    program = launch(command=launcher.command(None, "start", shortcut))
    pid = (prop(window(wait_window(MAIN, 60)), "_NET_WM_PID") or [0])[0]
    assert b"Zelk 2010\\zelk.exe" in pathlib.Path(f"/proc/{pid}/cmdline").read_bytes(), "the installed program"
    assert os.path.exists(f"{temp}/zelk.lock"), r"its lock is in %TEMP%\zelk"
    assert add_rate("17") and eventually(10, lambda: "17" in entries(f"{unix}/zelk.dat")), "zelk.dat beside it"
    assert toolbar("save") and not keys("s") and eventually(10, lambda: program.stored_rate() == "17")
    assert uninstall() == 2 and listing(unix) == ["uninstall.exe", "zelk.chm", "zelk.dat", "zelk.exe"] \
        and not no_reg_key(UNINSTALL_KEY), "while it runs, the uninstall command refuses (2) and removes nothing"
    assert wine(setup, "/S") == 2, "and so does the installer"
    assert press(MAIN, "alt+F4", lambda: not os.path.exists(f"/proc/{pid}")), "Alt+F4 ends it"

    os.chmod(f"{unix}/zelk.exe", 0o444)  # write-protected, which tells nothing of a running program
    assert wine(setup, "/S") == 0, "installing again over it succeeds"
    assert "17" in entries(f"{unix}/zelk.dat") and program.stored_rate() == "17" \
        and reg_value(RUN_KEY, "zelk") == f'"{installed_exe}"', "and keeps the list, the saved rate and autostart"
    os.remove(local)
    os.mkdir(local)
    for path in (f"{local}/zelk.lock", f"{local}/zelk.wake", f"{local}/other", f"{temp}/zelk.wake"):
        pathlib.Path(path).touch()  # as programs leave them, and in one place someone else's file beside them
    # The Run value goes when it starts this copy: quoted, or unquoted as earlier versions wrote it.
    for value, left in ((f'"{installed_exe}"', None), (installed_exe, None), (r"D:\zelk.exe", r"D:\zelk.exe")):
        assert wine(setup, "/S", "/AUTOSTART") == 0 and not reg_add(RUN_KEY, "zelk", value)
        assert uninstall() == 0 and eventually(60, uninstalled), "after it ended, the uninstall command removes it"
        assert reg_value(RUN_KEY, "zelk") == left, f"and the Run value {value} only when it starts this copy"
    assert listing(local) == ["other"] and not os.path.exists(temp), "and the lock files, their folders once empty"
    assert program.stored_rate() == "17" and listing(unix) == ["zelk.dat"], "but keeps the rate and zelk.dat, alone"
