#include "settings/entrylist.h"

#include "storage/filestore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

using Status = StoreResult::Status;

const QByteArray header = QByteArrayLiteral("# Zelk. 2010 entry list 1");

bool folderWritable(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    return QFileInfo(folder).isDir() && FileStore::canCreateFilesIn(folder);
}

QString dataFolderFile(const QString &requestedPath)
{
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dataFolder).filePath(QFileInfo(requestedPath).fileName());
}

} // namespace

QStringList EntryList::defaultEntries()
{
    return {QStringLiteral("19"), QStringLiteral("7")};
}

bool EntryList::validEntry(const QString &entry)
{
    return !entry.isEmpty() && entry.size() <= maxEntryLength
        && std::none_of(entry.begin(), entry.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control || c.isNull(); });
}

QString EntryList::effectivePath(const QString &requestedPath)
{
    return folderWritable(requestedPath) ? requestedPath : dataFolderFile(requestedPath);
}

QString EntryList::readPath(const QString &requestedPath)
{
    QString written = effectivePath(requestedPath);
    if (written == requestedPath || QFileInfo::exists(written) || !QFileInfo::exists(requestedPath))
        return written;
    return requestedPath;
}

EntryList::Content EntryList::parse(const QByteArray &bytes)
{
    Content content;
    const QByteArray text = bytes.left(maxFileBytes);
    content.complete = bytes.size() <= maxFileBytes;
    bool sawHeader = false;
    bool first = true;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (first) {
            first = false;
            if (line == header) {
                sawHeader = true;
                continue;
            }
        }
        if (line.isEmpty())
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString entry = QString(decoder.decode(line)).trimmed();
        if (decoder.hasError() || !validEntry(entry) || content.entries.size() == maxEntries) {
            content.complete = false;
            continue;
        }
        if (!content.entries.contains(entry))
            content.entries.append(entry);
    }
    // Nothing of ours in the file: the defaults, as when there is none.
    if (content.entries.isEmpty() && (!sawHeader || !content.complete))
        content.entries = defaultEntries();
    return content;
}

EntryList::Content EntryList::read(const QString &requestedPath)
{
    QByteArray bytes;
    StoreResult read = FileStore::read(readPath(requestedPath), &bytes, maxFileBytes + 1);
    Content content;
    if (read.ok()) {
        content = parse(bytes);
    } else {
        content.entries = defaultEntries();
        content.complete = !read.failed();
    }
    content.read = read;
    return content;
}

StoreResult EntryList::store(const QString &requestedPath, const QStringList &entries)
{
    const QString path = effectivePath(requestedPath);
    QByteArray old;
    StoreResult read = FileStore::read(path, &old, -1);
    if (read.failed())
        return read;
    // What could not be read completely is kept before it is replaced.
    if (read.ok() && !parse(old).complete) {
        StoreResult kept = FileStore::replace(backupPath(path), old);
        if (!kept)
            return kept;
    }
    QByteArray content = header + '\n';
    for (const QString &entry : entries) {
        if (validEntry(entry))
            content += entry.toUtf8() + '\n';
    }
    return FileStore::replace(path, content);
}

bool EntryList::canAdd(const QStringList &entries, const QString &value)
{
    return validEntry(value) && !entries.contains(value) && entries.size() < maxEntries;
}

StoreResult EntryList::add(const QString &requestedPath, const QString &entry)
{
    Content content = read(requestedPath);
    if (content.read.failed())
        return content.read;
    if (!canAdd(content.entries, entry)) {
        if (content.entries.contains(entry))
            return StoreResult::done();
        const QString why = validEntry(entry)
            ? QStringLiteral("die Liste hat schon %1 Einträge").arg(maxEntries)
            : QStringLiteral("ungültiger Wert");
        return {Status::WriteError, effectivePath(requestedPath), why};
    }
    content.entries.append(entry);
    return store(requestedPath, content.entries);
}

StoreResult EntryList::remove(const QString &requestedPath, const QString &entry)
{
    Content content = read(requestedPath);
    if (content.read.failed())
        return content.read;
    if (!content.entries.contains(entry))
        return {Status::NotFound, effectivePath(requestedPath)};
    content.entries.removeAll(entry);
    return store(requestedPath, content.entries);
}
