#include "ui/controls/entrylist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

const QByteArray header = QByteArrayLiteral("# Zelk. 2010 entry list 1");

bool folderWritable(const QString &filePath)
{
    const QFileInfo folder(QFileInfo(filePath).absolutePath());
    return folder.isDir() && folder.isWritable();
}

bool validEntry(const QString &entry)
{
    if (entry.isEmpty() || entry.size() > EntryList::maxEntryLength)
        return false;
    for (const QChar c : entry) {
        if (c.category() == QChar::Other_Control || c.isNull())
            return false;
    }
    return true;
}

} // namespace

QStringList EntryList::defaultEntries()
{
    return {QStringLiteral("19"), QStringLiteral("7")};
}

QString EntryList::effectivePath(const QString &requestedPath)
{
    if (folderWritable(requestedPath))
        return requestedPath;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dataFolder).filePath(QFileInfo(requestedPath).fileName());
}

QStringList EntryList::load(const QString &requestedPath)
{
    QFile file(effectivePath(requestedPath));
    if (!file.open(QIODevice::ReadOnly))
        return defaultEntries();
    const QByteArray content = file.read(64 * 1024);
    QList<QByteArray> lines = content.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != header)
        return defaultEntries();
    lines.removeFirst();

    QStringDecoder decoder(QStringDecoder::Utf8);
    QStringList entries;
    for (const QByteArray &line : std::as_const(lines)) {
        const QString entry = decoder.decode(line).operator QString().trimmed();
        if (decoder.hasError())
            return defaultEntries();
        if (entry.isEmpty())
            continue;
        if (!validEntry(entry) || entries.size() == maxEntries)
            return defaultEntries();
        if (!entries.contains(entry))
            entries.append(entry);
    }
    return entries;
}

bool EntryList::store(const QString &requestedPath, const QStringList &entries)
{
    const QString path = effectivePath(requestedPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray content = header + '\n';
    for (const QString &entry : entries) {
        if (validEntry(entry))
            content += entry.toUtf8() + '\n';
    }
    file.write(content);
    return file.commit();
}
