#include "system/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString lockName = QStringLiteral("zelk.lock");
const QString noteName = QStringLiteral("zelk.wake");

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                       + QStringLiteral("/zelk")
                                : folder)
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::claim()
{
    if (!QDir().mkpath(m_folder))
        return Role::Primary;
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(lockName));
    // Only a lock whose process has ended is stale, however old it is: the
    // program may run for weeks in the notification area.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return Role::Secondary;
        return Role::Primary;
    }
    // A note left for an earlier run is not meant for this one.
    QFile::remove(notePath());
    m_watcher = new QFileSystemWatcher(QStringList{m_folder}, this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &SingleInstance::takeWakeNote);
    return Role::Primary;
}

bool SingleInstance::wakePrimary() const
{
    QSaveFile note(notePath());
    if (!note.open(QIODevice::WriteOnly))
        return false;
    note.write(qgetenv("XDG_ACTIVATION_TOKEN"));
    return note.commit();
}

void SingleInstance::takeWakeNote()
{
    QFile note(notePath());
    if (!note.open(QIODevice::ReadOnly))
        return;
    const QString token = QString::fromUtf8(note.readAll().trimmed());
    note.close();
    if (note.remove())
        emit wakeRequested(token);
}

QString SingleInstance::notePath() const
{
    return QDir(m_folder).filePath(noteName);
}
