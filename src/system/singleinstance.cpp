#include "system/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

const QString lockName = QStringLiteral("zelk.lock");
const QString noteName = QStringLiteral("zelk.wake");

enum class Lock { Taken, Held, Unusable };

// The lock belongs to the open file, so the system releases it when the
// process ends, also by a crash; the file is only opened, never written.
Lock lockFile(const QString &path, qintptr &handle)
{
#ifdef Q_OS_WIN
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                              GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Lock::Unusable;
    OVERLAPPED whole = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const bool held = GetLastError() == ERROR_LOCK_VIOLATION;
        CloseHandle(file);
        return held ? Lock::Held : Lock::Unusable;
    }
    handle = reinterpret_cast<qintptr>(file);
#else
    const int file = open(QFile::encodeName(path).constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0)
        return Lock::Unusable;
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(file);
        return held ? Lock::Held : Lock::Unusable;
    }
    handle = file;
#endif
    return Lock::Taken;
}

void unlockFile(qintptr handle)
{
#ifdef Q_OS_WIN
    CloseHandle(reinterpret_cast<HANDLE>(handle));
#else
    close(int(handle));
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                       + QStringLiteral("/zelk")
                                : folder)
{
}

SingleInstance::~SingleInstance()
{
    if (m_lock != -1)
        unlockFile(m_lock);
}

SingleInstance::Role SingleInstance::claim()
{
    if (!QDir().mkpath(m_folder))
        return Role::Primary;
    switch (lockFile(QDir(m_folder).filePath(lockName), m_lock)) {
    case Lock::Held:
        return Role::Secondary;
    case Lock::Unusable:
        return Role::Primary;
    case Lock::Taken:
        break;
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
