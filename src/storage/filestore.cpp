#include "storage/filestore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <unistd.h>
#endif

namespace {

using Status = StoreResult::Status;

// The nearest part of path that exists, walking up from path itself.
QFileInfo nearestExisting(const QString &path)
{
    QFileInfo info(path);
    while (!info.exists() && !info.isSymLink()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    return info;
}

// Faults of the folder and of an existing file, without changing anything.
StoreResult checkPlace(const QString &filePath)
{
    const QFileInfo file(filePath);
    const QString folder = file.absolutePath();
    const QFileInfo existing = nearestExisting(folder);
    if (!existing.isDir())
        return {Status::FolderIsFile, existing.absoluteFilePath()};
    if (!FileStore::canCreateFilesIn(existing.absoluteFilePath()))
        return {Status::FolderReadOnly, existing.absoluteFilePath()};
    if (file.exists()) {
        if (file.isDir())
            return {Status::WriteError, filePath, QStringLiteral("ein Ordner steht an ihrer Stelle")};
        if (!file.isReadable())
            return {Status::FileUnreadable, filePath};
        if (!file.isWritable())
            return {Status::FileReadOnly, filePath};
    }
    return StoreResult::done();
}

} // namespace

bool FileStore::canCreateFilesIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zelk-XXXXXX")));
    return probe.open();
}

StoreResult FileStore::prepareReplace(const QString &filePath)
{
    StoreResult place = checkPlace(filePath);
    if (!place)
        return place;
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QDir().mkpath(folder))
        return diagnose(filePath, QStringLiteral("Ordner nicht angelegt"), 0);
    return StoreResult::done();
}

StoreResult FileStore::diagnose(const QString &filePath, const QString &systemText, qint64 bytes)
{
    StoreResult place = checkPlace(filePath);
    if (!place)
        return place;
    const QFileInfo folder = nearestExisting(QFileInfo(filePath).absolutePath());
    const QStorageInfo storage(folder.absoluteFilePath());
    // A little room is needed beyond the bytes themselves (a new block, a directory entry).
    if (storage.isValid() && storage.bytesAvailable() < bytes + 4096)
        return {Status::DiskFull, folder.absoluteFilePath()};
    return {Status::WriteError, filePath, systemText};
}

StoreResult FileStore::read(const QString &filePath, QByteArray *content, qint64 maxBytes)
{
    content->clear();
    // QFileInfo follows a link: a link to nothing is no file.
    if (!QFileInfo::exists(filePath))
        return {Status::NotFound, filePath};
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {Status::FileUnreadable, filePath};
    *content = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return {Status::FileUnreadable, filePath};
    return StoreResult::done();
}

StoreResult FileStore::replace(const QString &linkOrFile, const QByteArray &content,
                               const std::function<bool(const QString &)> &verify)
{
    // A file kept elsewhere and linked here (as many keep their settings) stays linked.
    const QFileInfo link(linkOrFile);
    const QString filePath = link.isSymLink() ? link.symLinkTarget() : linkOrFile;
    StoreResult ready = prepareReplace(filePath);
    if (!ready)
        return ready;
    const QFileInfo before(filePath);
    // Not QSaveFile: in Qt 6.4 its commit() can report success after a write
    // failed for want of room, and leave an empty file in place of the old one.
    // Not QTemporaryFile either: on Windows its close() keeps the handle, and
    // Windows refuses to move a file that is still open (error 32).
    QFile temp;
    const int nameBase = 36; // digits and letters
    const QString namePrefix
        = before.absolutePath() + QStringLiteral("/.") + before.fileName() + QLatin1Char('.');
    do {
        temp.setFileName(namePrefix + QString::number(QRandomGenerator::global()->generate(), nameBase));
    } while (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner)
             && temp.exists());
    if (!temp.isOpen())
        return diagnose(filePath, temp.errorString(), content.size());
    // Whatever fails from here on, no temporary file stays behind.
    auto discard = qScopeGuard([&temp] {
        temp.close();
        temp.remove();
    });
    if (temp.write(content) != content.size() || !temp.flush())
        return diagnose(filePath, temp.errorString(), content.size());
#ifndef Q_OS_WIN
    // On the disk before it takes the old file's place, so that a crash never leaves an empty file.
    if (::fsync(temp.handle()) != 0)
        return diagnose(filePath, QString::fromLocal8Bit(std::strerror(errno)), content.size());
#endif
    temp.setPermissions(before.exists() ? before.permissions()
                                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return diagnose(filePath, temp.errorString(), content.size());
    if (verify && !verify(temp.fileName()))
        return diagnose(filePath, QStringLiteral("die geschriebene Datei ist unvollständig"), content.size());

#ifdef Q_OS_WIN
    const bool moved
        = MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(temp.fileName()).utf16()),
                      reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(filePath).utf16()),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved)
        return diagnose(filePath, QStringLiteral("Fehler %1").arg(GetLastError()), 0);
#else
    if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(filePath).constData())
        != 0)
        return diagnose(filePath, QString::fromLocal8Bit(std::strerror(errno)), 0);
#endif
    discard.dismiss();

    // QSettings reads a file again only when its size or time stamp (in
    // milliseconds) changed: a new text of the same length written within
    // the same step of the file system's clock must still be seen. The step
    // is a nanosecond on most file systems, but a whole second on older ones
    // (and two seconds on FAT), which round a smaller change away.
    const QFileInfo after(filePath);
    if (before.exists() && after.size() == before.size() && after.lastModified() == before.lastModified()) {
        QFile touched(filePath);
        for (const int milliseconds : {1, 1000, 2000}) {
            if (!touched.open(QIODevice::ReadOnly)
                || !touched.setFileTime(before.lastModified().addMSecs(milliseconds),
                                        QFileDevice::FileModificationTime)
                || QFileInfo(filePath).lastModified() != before.lastModified())
                break;
            touched.close();
        }
    }
    return StoreResult::done();
}

StoreResult FileStore::remove(const QString &filePath)
{
    const QFileInfo file(filePath);
    if (!file.exists() && !file.isSymLink())
        return {Status::NotFound, filePath};
    if (!canCreateFilesIn(file.absolutePath()))
        return {Status::FolderReadOnly, file.absolutePath()};
    if (!file.isSymLink() && !file.isWritable())
        return {Status::FileReadOnly, filePath};
    QFile doomed(filePath);
    if (!doomed.remove())
        return diagnose(filePath, doomed.errorString(), 0);
    return StoreResult::done();
}
