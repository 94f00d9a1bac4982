#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QFileSystemWatcher;

// One running program per user. The first start holds a lock on a file, which
// the system drops when the process ends, however it ends; nothing is written
// for it. A later start leaves a wake-up note beside the lock and ends, and
// the running program brings its window to the front when the note appears.
// Only files are used, so the same code works wherever Qt Core runs.
//
// The lock lives where it can always be made, even when the home folder
// cannot be written: in the user's runtime folder ($XDG_RUNTIME_DIR) or a
// folder of the user's own in the temporary folder (on Windows the user's
// local data folder, then the temporary folder). Every start looks at all of
// these places, so that two starts that see different places still find each other.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // folders: the places for lock and note, in the order tried; empty means the usual ones.
    explicit SingleInstance(const QStringList &folders = {}, QObject *parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    enum class Role {
        Primary,   // this process runs the program
        Secondary, // another process of the same user runs it: hand over and end
    };

    // Takes the lock in the first place that can hold it, or finds that
    // another live process holds it in any place. When no place can be used
    // at all the program runs as the primary: better twice than never.
    Role claim();

    // Secondary only: asks the running program to show itself, handing on
    // this start's activation token (XDG_ACTIVATION_TOKEN): a Wayland
    // compositor lets a window take the focus only for the start the user made.
    bool wakePrimary() const;

    // Where the lock (or the running program's lock) was found.
    QString folder() const { return m_folder; }

    static QStringList usualFolders();

signals:
    // Primary only: a later start asked for the program's window; the token
    // is that start's, empty without one.
    void wakeRequested(const QString &activationToken);

private:
    void takeWakeNote();
    QString notePath() const;

    QStringList m_folders;
    QString m_folder;
    // The open lock file (a file descriptor, or a HANDLE on Windows); -1 while none is held.
    qintptr m_lock = -1;
    QFileSystemWatcher *m_watcher = nullptr;
};
