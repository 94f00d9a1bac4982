#pragma once

#include <QString>

// Per-user text values addressed by application, section and key.
//
// Windows: the registry place of the platform's legacy per-user settings
// functions, HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// where the 2008 and 2009 versions left their values.
// Elsewhere: one INI file per application in "zelk" under the user's XDG config
// folder, written through a temporary file so that a crash never leaves half a file.
class SettingsStore
{
public:
    // The stored text, or defaultValue when application, section or key are
    // missing or the store cannot be read.
    static QString get(const QString &application, const QString &section, const QString &key,
                       const QString &defaultValue = QString());

    // Each returns false when the store could not be changed; a failed save
    // leaves the old value in place.
    static bool save(const QString &application, const QString &section, const QString &key,
                     const QString &value);
    // False when the section does not exist.
    static bool deleteSection(const QString &application, const QString &section);
    // False when nothing is stored for the application.
    static bool deleteApplication(const QString &application);

    // True when at least one value is stored for the application.
    static bool hasApplication(const QString &application);

    // Where the values of an application live, for messages and documentation.
    static QString location(const QString &application);
};
