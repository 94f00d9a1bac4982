#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

// One running program per user. The first start holds a lock on a file in the
// user's data folder, which the system drops when the process ends, however
// it ends; nothing is written for it. A later start leaves a wake-up note
// beside the lock and ends, and the running program brings its window to the
// front when the note appears. Only files are used, so the same code works
// wherever Qt Core runs.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // folder: where lock and note live; empty means the user's data folder.
    explicit SingleInstance(const QString &folder = QString(), QObject *parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    enum class Role {
        Primary,   // this process runs the program
        Secondary, // another process of the same user runs it: hand over and end
    };

    // Takes the lock, or finds that another live process holds it. When the
    // folder cannot be used at all the program runs as the primary: better
    // twice than never.
    Role claim();

    // Secondary only: asks the running program to show itself, handing on
    // this start's activation token (XDG_ACTIVATION_TOKEN): a Wayland
    // compositor lets a window take the focus only for the start the user made.
    bool wakePrimary() const;

    QString folder() const { return m_folder; }

signals:
    // Primary only: a later start asked for the program's window; the token
    // is that start's, empty without one.
    void wakeRequested(const QString &activationToken);

private:
    void takeWakeNote();
    QString notePath() const;

    QString m_folder;
    // The open lock file (a file descriptor, or a HANDLE on Windows); -1 while none is held.
    qintptr m_lock = -1;
    QFileSystemWatcher *m_watcher = nullptr;
};
