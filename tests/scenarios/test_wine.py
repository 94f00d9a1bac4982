# zelk.exe under Wine, driven like a user, and the Windows release: the zip
# and the installer, installed, used, installed again and uninstalled. The
# registry, the Run key, the HTML Help viewer and the Windows version are
# Wine's own implementations, read back with `wine reg`, the clipboard (Wine
# shares X's) and tesseract (text on screen). How long installing takes is
# bench/install.sh's table.
import glob
import os
import pathlib
import re
import shutil
import subprocess
import xml.dom.minidom
import zipfile

import pytest

from actions import attempt, focus, gone, press, read_box, toolbar
from launchers import RUN_KEY, VB, no_reg_key, reg_add, reg_value, wine
from places import BOXES, COMPACT, MAIN, MODALS, WIZARD
from session import click_in, clipboard, count_colours, eventually, keys, menus, prop, run, shoot, type_text
from session import wait_window, window, window_named

pytestmark = pytest.mark.launchers("wine")
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelk 2010"
AUTOSTART, MESSAGE = MODALS["autostart"], MODALS["autostart message"]


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


def test_wizard_texts_whole_and_rate_in_registry(launch):
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
    main_png = shoot(wid, "main-window.png")
    assert all(run("convert", main_png, "-crop", f"16x16+{x}+6", "+repage", "-colorspace", "Gray", "-format",
                   "%[fx:minima < 0.5]", "info:") == "1" for x in (10, 299, 482)), "the toolbar draws its icons"
    assert read_box(MAIN, "Tab") == "16", "the main window shows the moved rate 16"
    rate_key = rf"{VB}\Zelk_2010\Zelk_Satz"
    assert toolbar("save") and not keys("l") and eventually(10, lambda: no_reg_key(rate_key)), "deleting the rate"
    assert toolbar("save") and not keys("s") and eventually(10, lambda: program.stored_rate() == "16"), "saving it"


def test_autostart_about_and_help(launch, launcher):
    launch()
    assert wait_window(MAIN, 60)
    assert toolbar("autostart", AUTOSTART)
    folder = "Z:" + os.path.dirname(launcher.program).replace("/", "\\")  # Wine names the build folder as drive Z:
    for key, value in (("alt+e", folder + r"\zelk.exe"), ("alt+a", None)):  # Eintragen, then Entfernen
        assert press(AUTOSTART, key, lambda: window_named(MESSAGE))
        assert eventually(10, lambda: reg_value(RUN_KEY, "zelk") == value), f"{key}: the Run value is {value}"
        assert press(MESSAGE, "Return", gone(MESSAGE)), "the message closes"
    assert press(AUTOSTART, "Escape", gone(AUTOSTART))
    about = toolbar("about", MODALS["about"])
    assert shows(about, "about-window.png", r"Windows NT \S{0,2} ?Version 10\.[0-9],"), "names Windows NT 10.x"
    assert press(MODALS["about"], "Escape", gone(MODALS["about"]))
    viewer = press(MAIN, "F1", lambda: window_named("^Zelk. 2010 Hilfe$"))
    # Wine has no Gecko here, so the topic pane stays blank; the contents list is the help file's.
    assert shows(viewer, "help.png", r"Hauptfenster.*Daten[üui]{1,2}bernahme.*Tastatur"), "F1 opens zelk.chm"


def software_keys(folder):
    # HKCU\Software as text, without Software\Wine, where Wine keeps values of its own.
    assert wine("reg", "export", r"HKCU\Software", f"{folder}/export.reg", "/y") == 0
    with open(f"{folder}/export.reg", encoding="utf-16") as exported:
        sections = exported.read().replace("\r", "").split("\n[")
    return [s for s in sections if not s.startswith(r"HKEY_CURRENT_USER\Software\Wine")]


def test_plain_start_writes_nothing_to_registry(launch, tmp_path):
    wine("reg", "delete", VB, "/f")  # as a new user has it, whatever the cases before stored
    before = software_keys(tmp_path)
    program = launch()
    assert wait_window(MAIN, 60)
    assert press(MAIN, "alt+F4", gone(MAIN)) and program.ended(10), "Alt+F4 ends the program"
    program.stop()
    assert software_keys(tmp_path) == before


def test_compact_window_takes_keyboard(launch):
    wine("reg", "delete", VB + r"\Zelk_2010", "/f")  # 19 %, whatever an earlier case stored
    launch()
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
    keys("shift+F10")
    menu = eventually(5, menus)
    assert menu and shows(menu[0][0], "context-menu.png", "Einf.gen.*Alles"), "brutto's context menu is German"


# --- the release's files ----------------------------------------------------------

@pytest.fixture(scope="module")
def release(request, launcher, tmp_path_factory):
    # (zelk.exe from the zip, the installer, the zip, the version) of the release folder, where the launcher
    # finds what makes it (or skips).
    folder = request.config.getoption("release")
    setup = (glob.glob(f"{folder}/zelk-*-setup-x64.exe") or [None])[0]
    portable = (glob.glob(f"{folder}/zelk-*-windows-x64.zip") or [None])[0]
    assert setup and portable, f"the installer and the zip are in {folder}"
    unpacked = tmp_path_factory.mktemp("portable")
    with zipfile.ZipFile(portable) as archive:
        archive.extractall(unpacked)
    return f"{unpacked}/Zelk 2010/zelk.exe", setup, portable, re.search(r"zelk-(.*)-setup", setup).group(1)


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


def test_zip_holds_program_and_help_only(release):
    with zipfile.ZipFile(release[2]) as archive:
        names = sorted(n for n in archive.namelist() if not n.endswith("/"))
    assert names == ["Zelk 2010/zelk.chm", "Zelk 2010/zelk.exe"]


def test_exe_is_stripped_and_installer_small(release):
    exe, setup, _, _ = release
    headers = run("x86_64-w64-mingw32-objdump", "-f", exe)
    assert "architecture" in headers and "HAS_SYMS" not in headers
    assert os.path.getsize(setup) < 10_000_000


def test_exe_carries_icon_and_version_information(release, tmp_path):
    exe, _, _, version = release
    with open(f"{tmp_path}/icon.ico", "wb") as ico:
        ico.write(subprocess.run(["wrestool", "-x", "--type=14", exe], capture_output=True, check=False).stdout)
    assert re.findall(r"--width=(\d+)", run("icotool", "-l", f"{tmp_path}/icon.ico")) == ["32", "64"]
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
    manifest = resource(release[0], 24)
    xml.dom.minidom.parseString(manifest)  # well-formed
    assert re.search(pattern, manifest.decode("utf-8", "replace").replace("\n", ""))


def test_certificate_signs_program(release, tmp_path):
    # Signing, as the release build does it when the environment names a certificate.
    if not (shutil.which("osslsigncode") and shutil.which("openssl")):
        pytest.skip("osslsigncode or openssl is not installed")
    key, cert, p12 = (f"{tmp_path}/{name}" for name in ("key.pem", "cert.pem", "cert.p12"))
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days", "1",
        "-subj", "/CN=Zelk test")
    run("openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12, "-passout", "pass:test")
    signed = shutil.copy(release[0], f"{tmp_path}/signed.exe")
    source = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    subprocess.run(["bash", f"{source}/packaging/windows/sign.sh", signed], capture_output=True, check=False,
                   env=dict(os.environ, ZELK_SIGN_PKCS12=p12, ZELK_SIGN_PASSWORD="test"))
    assert subprocess.run(["osslsigncode", "verify", "-in", signed, "-CAfile", cert], capture_output=True,
                          check=False).returncode == 0


# --- installed ----------------------------------------------------------------------

def windows_folder(variable, within):
    # (Windows path, Unix path) of a place in a folder named by a Windows variable.
    path = run("wine", "cmd", "/c", f"echo %{variable}%").strip() + "\\" + within
    return path, run("winepath", "-u", path).strip()


def test_install_use_install_again_uninstall(launch, release, tmp_path):
    portable_exe, setup, _, version = release
    folder, unix = windows_folder("LOCALAPPDATA", r"Programs\Zelk 2010")
    shortcut, shortcut_unix = windows_folder("APPDATA", r"Microsoft\Windows\Start Menu\Programs\Zelk. 2010.lnk")
    installed_exe = f"{folder}\\zelk.exe"
    strings = version_strings(portable_exe)
    wine("reg", "delete", VB, "/f")
    wine("reg", "delete", RUN_KEY, "/v", "zelk", "/f")

    def files():
        return sorted(os.listdir(unix)) if os.path.isdir(unix) else []

    def entries():
        return pathlib.Path(f"{unix}/zelk.dat").read_text(encoding="utf-8").split() if "zelk.dat" in files() else []

    def uninstall(option=""):
        # cmd runs the uninstaller from a batch file, since wine's own quoting of arguments would hide its
        # _?= behind a quote; the uninstaller runs as a copy of itself and returns at once, _?= keeps it in
        # place, so that its code tells.
        with open(f"{tmp_path}/run.bat", "w", encoding="utf-8", newline="\r\n") as batch:
            batch.write(f'@echo off\n{reg_value(UNINSTALL_KEY, "QuietUninstallString") or "false"} {option}\n'
                        "exit /b %ERRORLEVEL%\n")
        return wine("cmd", "/c", run("winepath", "-w", f"{tmp_path}/run.bat").strip())

    def uninstalled():
        return not set(files()) & {"zelk.exe", "zelk.chm", "uninstall.exe"} \
            and not os.path.exists(shortcut_unix) and no_reg_key(UNINSTALL_KEY)

    assert wine(setup, "/S", "/AUTOSTART") == 0, "a silent install with autostart succeeds"
    assert files() == ["uninstall.exe", "zelk.chm", "zelk.exe"], r"into %LOCALAPPDATA%\Programs\Zelk 2010"
    with open(f"{unix}/zelk.exe", "rb") as installed, open(portable_exe, "rb") as unpacked:
        assert installed.read() == unpacked.read(), "the installed zelk.exe is the zip's"
    with open(shortcut_unix, "rb") as link:
        assert installed_exe.encode() in link.read(), "the Start menu's shortcut Zelk. 2010 points at it"
    assert reg_value(RUN_KEY, "zelk") == installed_exe, "Beim Anmelden starten writes the Run value"
    for name, value in (("DisplayName", strings.get("ProductName")), ("Publisher", strings.get("CompanyName")),
                        ("DisplayVersion", version), ("DisplayIcon", installed_exe + ",0"),
                        ("QuietUninstallString", f'"{folder}\\uninstall.exe" /S')):
        assert reg_value(UNINSTALL_KEY, name) == value, f"the uninstall entry's {name}"
    size, actual = int(reg_value(UNINSTALL_KEY, "EstimatedSize") or "0", 0), int(run("du", "-sk", unix).split()[0])
    assert 0.9 * actual <= size <= 1.1 * actual, f"its EstimatedSize is the folder's ({size} KiB, has {actual})"

    # As a user starts it from the Start menu, and keeps a rate and a list: the list replaces zelk.dat beside
    # the program through a file of its own, which Windows moves only once no handle holds it (error 32).
    program = launch(command=["wine", "start", shortcut])
    pid = (prop(window(wait_window(MAIN, 60)), "_NET_WM_PID") or [0])[0]
    with open(f"/proc/{pid}/cmdline", "rb") as command:  # a Windows program by its path
        assert b"Zelk 2010\\zelk.exe" in command.read(), "the shortcut starts the installed program"

    def rate_typed():
        click_in(focus(MAIN), *BOXES["rate"])
        keys("ctrl+a")
        type_text("16")
        keys("End", "shift+Home", "ctrl+c")
    assert attempt(rate_typed, lambda: clipboard() == "16", 2, 8), "the rate box takes 16"
    assert toolbar("save") and not keys("s") and eventually(10, lambda: program.stored_rate() == "16")
    assert attempt(lambda: click_in(focus(MAIN), *BOXES["rate list"]), menus, 3, 5) and not keys("h")
    assert eventually(10, lambda: "16" in entries()), "adding it to the list writes zelk.dat beside the program"
    assert uninstall(f"_?={folder}") == 2 and {"zelk.exe", "zelk.chm"} <= set(files()) \
        and not no_reg_key(UNINSTALL_KEY), "while it runs, the uninstaller refuses (2) and removes nothing"
    assert wine(setup, "/S") == 2, "and so does the installer"
    press(MAIN, "alt+F4", gone(MAIN))
    assert eventually(10, lambda: not os.path.exists(f"/proc/{pid}")), "Alt+F4 ends it"

    assert wine(setup, "/S") == 0, "installing again over it succeeds"
    assert "16" in entries() and program.stored_rate() == "16" and reg_value(RUN_KEY, "zelk") == installed_exe, \
        "and keeps the list, the saved rate and the autostart entry"
    assert uninstall() == 0 and eventually(60, uninstalled), "a silent uninstall removes the program"
    assert reg_value(RUN_KEY, "zelk") is None, "and the Run value, which started this copy"
    assert program.stored_rate() == "16" and files() == ["zelk.dat"], "but keeps the rate and zelk.dat, alone"
    other = r"D:\Zelk 2010\zelk.exe"  # another copy's autostart entry is not this copy's to remove
    wine(setup, "/S", "/AUTOSTART")
    reg_add(RUN_KEY, "zelk", other)
    assert uninstall() == 0 and eventually(60, uninstalled) and reg_value(RUN_KEY, "zelk") == other, "another copy's"
