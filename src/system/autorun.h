#pragma once

#include "storage/storeresult.h"

#include <QString>

// The current user's list of programs started at logon.
// Windows: a string value in HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
// Linux and other XDG desktops: a desktop entry "<name>.desktop" in the user's
// autostart folder.
namespace AutoRun {

// Enters path under name (on Windows as its runValue()); entering again
// replaces the entry. A write-protected or unreadable entry is left as it
// is and reported.
StoreResult setAutoRun(const QString &name, const QString &path);
// Removes the entry by its name, so also an unquoted value of an earlier
// version: NotFound when there was none, a failure (with the reason) when
// it is still there.
StoreResult removeAutoRun(const QString &name);

// The running program as it is entered: its folder and executable name;
// on Windows the name always ends in ".exe", whatever the file was started as.
QString thisProgram();
// The name a program's entry goes under: the file name after the last
// path separator, cut before its last "." when it has one.
QString entryNameFor(const QString &path);

// The Run value that starts exactly this file: the path in double quotes.
// Unquoted, Windows tries each part before a blank as a program of its own
// ("…\Programs\Zelk" for "…\Programs\Zelk 2010\zelk.exe").
QString runValue(const QString &path);

// The autostart folder of XDG desktops.
QString autostartFolder();
// The Exec value that starts exactly this file, quoted and escaped by the
// Desktop Entry rules.
QString execValue(const QString &path);

} // namespace AutoRun
