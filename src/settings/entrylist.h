#pragma once

#include "storage/storeresult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The stored values of a text box's entry list, kept in a small text file.
// The file is "zelk.dat" in the program's folder; when that folder cannot be
// written, a file of the same name in the user's data folder takes its place
// (a list still lying in the program's folder is read until the first change).
//
// Nothing the user stored is lost to a damaged file: every readable line is
// kept, only unreadable ones are skipped, and before a file that could not be
// read completely is replaced, it is kept as "zelk.dat.bak".
namespace EntryList {

struct Content
{
    QStringList entries;
    // False when a line was skipped or entries beyond the limit were left out.
    bool complete = true;
    // Done, NotFound (no file: the defaults) or why the file could not be read.
    StoreResult read;
};

QStringList defaultEntries();

// Where the list is written to, and where it is read from, for the requested path.
QString effectivePath(const QString &requestedPath);
QString readPath(const QString &requestedPath);
inline QString backupPath(const QString &path)
{
    return path + QStringLiteral(".bak");
}

// Reads the list; never writes anything.
Content read(const QString &requestedPath);
inline QStringList load(const QString &requestedPath)
{
    return read(requestedPath).entries;
}
// The list a file's bytes hold; missing or empty content gives the defaults.
Content parse(const QByteArray &bytes);

// Each reads the stored list afresh and writes it back with the change.
// A list that could not be read is never overwritten.
StoreResult add(const QString &requestedPath, const QString &entry);
StoreResult remove(const QString &requestedPath, const QString &entry);
StoreResult store(const QString &requestedPath, const QStringList &entries);

bool validEntry(const QString &entry);
// Whether value may join the entries: valid, not among them, and room left.
bool canAdd(const QStringList &entries, const QString &value);

constexpr int maxEntries = 50;
constexpr int maxEntryLength = 15;
constexpr qint64 maxFileBytes = qint64{64} * 1024;

} // namespace EntryList
