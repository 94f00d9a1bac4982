#pragma once

#include "storage/storeresult.h"

#include <QString>

// Per-user text values addressed by application, section and key.
//
// Windows: the registry place of the platform's legacy per-user settings
// functions, HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// where the 2008 and 2009 versions left their values.
// Elsewhere: one INI file per application in "zelk" under the user's XDG config
// folder. A change is written to a fresh copy that then replaces the file, so
// a crash never leaves half a file and a failed write is never remembered as
// if it had been stored: what is read afterwards is what the file holds.
namespace SettingsStore {

// The stored text, or defaultValue when application, section or key are
// missing or the store cannot be read.
QString get(const QString &application, const QString &section, const QString &key,
            const QString &defaultValue = QString());

// A failed change leaves the store as it was and says why.
StoreResult save(const QString &application, const QString &section, const QString &key,
                 const QString &value);
// NotFound when the section does not exist.
StoreResult deleteSection(const QString &application, const QString &section);
// NotFound when nothing is stored for the application.
StoreResult deleteApplication(const QString &application);

// True when at least one value is stored for the application.
bool hasApplication(const QString &application);

// Where the values of an application live, for messages and documentation.
QString location(const QString &application);

} // namespace SettingsStore
