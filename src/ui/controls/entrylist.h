#pragma once

#include <QString>
#include <QStringList>

// The stored values of a text box's entry list, kept in a small text file.
// The file is "zelk.dat" in the program's folder; when that folder cannot be
// written, a file of the same name in the user's data folder takes its place.
class EntryList
{
public:
    static QStringList defaultEntries();

    // Where the list is read from and written to for the requested path.
    static QString effectivePath(const QString &requestedPath);

    // A missing, unreadable or damaged file gives the default list.
    static QStringList load(const QString &requestedPath);
    static bool store(const QString &requestedPath, const QStringList &entries);

    static constexpr int maxEntries = 50;
    static constexpr int maxEntryLength = 15;
};
