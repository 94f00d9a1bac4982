#pragma once

#include "storage/storeresult.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Small files the user keeps (the entry list, the autostart entry, the INI
// settings): read whole, replaced atomically, and every failure told with the
// place and the cause.
namespace FileStore {

// Whether a new file can be made in the folder, found out by making one (and
// removing it at once): on Windows the permission bits that QFileInfo reads
// know nothing of a folder's access rights.
bool canCreateFilesIn(const QString &folder);

// Creates the file's folder when it is missing and checks that the file may
// be replaced: the folder is a writable folder, and an existing file can be
// read (a file that cannot be read is never overwritten) and is not
// write-protected.
StoreResult prepareReplace(const QString &filePath);

// Why writing bytes to filePath failed, judged after the fact: the checks of
// prepareReplace without creating anything, then a full file system, else a
// write error with the system's text.
StoreResult diagnose(const QString &filePath, const QString &systemText, qint64 bytes);

// The whole file, at most maxBytes (all of it when negative); NotFound when there is none, FileUnreadable
// when it cannot be read.
StoreResult read(const QString &filePath, QByteArray *content, qint64 maxBytes = qint64{1024} * 1024);

// Writes content through a temporary file that replaces the old one, so that
// a failure or a crash leaves the old file as it was. verify, when given, is
// asked about the written temporary file before it takes the old one's place.
StoreResult replace(const QString &linkOrFile, const QByteArray &content,
                    const std::function<bool(const QString &)> &verify = {});

// Removes the file; NotFound when there is none. A write-protected file is
// left alone, as the user protected it.
StoreResult remove(const QString &filePath);

} // namespace FileStore
