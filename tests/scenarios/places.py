# What the scenarios know of the program's windows, in one place: titles,
# and where toolbar buttons and boxes lie, in pixels from the client area's
# top-left corner of the main window (the same on X11, XWayland and Wine).

MAIN = "Zelk. 2010    -    Freeware"
COMPACT = "^Zelk. 2010$"
WIZARD = "^Zelk. 2010 Daten"
MODALS = {
    "about": "^Copyright$",
    "autostart": "^Autostartfunktion$",
    "autostart message": "^Autostart$",
    "donation": "^Spende / Anerkennung$",
    "wrong key": "^Falsche Eingabe$",
    "exit question": "^Programm beenden$",
    "update question": "^Online-Update$",
    "help message": "^Hilfe$",
}
# What assistive tools call the two calculator windows.
ACCESSIBLE_MAIN = "Zelk. 2010 Hauptfenster"
ACCESSIBLE_COMPACT = "Zelk. 2010 kleines Fenster"

# Toolbar buttons; for the split buttons (save, copy, links) the arrow, which opens the menu.
TOOLBAR = {"save": (58, 14), "copy": (148, 14), "compact": (235, 14), "about": (318, 14), "links": (420, 14),
           "update": (439, 14), "autostart": (465, 14), "exit": (507, 14)}
BOXES = {"net": (60, 112), "rate": (305, 68), "gross": (450, 112), "rate list": (341, 72)}
# The box with the keyboard focus is light yellow: ffff80 in the main window and
# the compact window's rate box, ffffc0 for the compact window's amounts.
FOCUS_COLOURS = ("ffff80", "ffffc0")
