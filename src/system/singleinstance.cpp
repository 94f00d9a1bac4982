#include "system/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// A folder of this user's alone: made if missing, and refused when it is
// someone else's (another user could otherwise hold the lock or read the notes).
bool ownFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
#ifndef Q_OS_WIN
    const QFileInfo info(folder);
    if (!info.isDir() || info.ownerId() != ::getuid())
        return false;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif
    return true;
}

} // namespace

SingleInstance::SingleInstance(const QStringList &folders, QObject *parent)
    : QObject(parent)
    , m_folders(folders.isEmpty() ? usualFolders() : folders)
{
}

QStringList SingleInstance::usualFolders()
{
#ifdef Q_OS_WIN
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zelk"),
            QDir::tempPath() + QStringLiteral("/zelk")};
#else
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        folders.append(runtime + QStringLiteral("/zelk"));
    folders.append(QDir::tempPath() + QStringLiteral("/zelk-%1").arg(::getuid()));
    return folders;
#endif
}

SingleInstance::~SingleInstance()
{
    if (m_lock != -1)
        unlockFile(m_lock);
}

SingleInstance::Role SingleInstance::claim()
{
    for (const QString &folder : std::as_const(m_folders)) {
        qintptr handle = -1;
        switch (ownFolder(folder) ? lockFile(QDir(folder).filePath(lockName), handle) : Lock::Unusable) {
        case Lock::Held:
            if (m_lock != -1)
                unlockFile(m_lock);
            m_lock = -1;
            m_folder = folder;
            return Role::Secondary;
        case Lock::Taken:
            // The first place that takes the lock keeps it; a later one was only asked.
            if (m_lock == -1) {
                m_lock = handle;
                m_folder = folder;
            } else {
                unlockFile(handle);
            }
            break;
        case Lock::Unusable:
            break;
        }
    }
    if (m_lock == -1)
        return Role::Primary;
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
