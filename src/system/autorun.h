#pragma once

#include "settings/storeresult.h"

#include <QString>

// The current user's list of programs started at logon.
// Windows: a string value in HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
// Linux and other XDG desktops: a desktop entry "<name>.desktop" in the user's
// autostart folder.
class AutoRun
{
public:
    // Enters sPath under the name sDescr; entering again replaces the entry.
    // A write-protected or unreadable entry is left as it is and reported.
    static StoreResult SetAutoRun(const QString &sDescr, const QString &sPath);
    // Removes the entry: NotFound when there was none, a failure (with the
    // reason) when it is still there.
    static StoreResult RemoveAutoRun(const QString &sDescr);

    // The autostart folder of XDG desktops.
    static QString autostartFolder();
    // The Exec value that starts exactly this file, quoted and escaped by the
    // Desktop Entry rules.
    static QString execValue(const QString &path);
};
