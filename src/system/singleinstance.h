#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QFileSystemWatcher;

// One running program per user. The first start holds a lock file in the
// user's data folder; a later start leaves a wake-up note beside it and ends,
// and the running program brings its window to the front when the note
// appears. Only files are used, so the same code works wherever Qt Core runs.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // folder: where lock and note live; empty means the user's data folder.
    explicit SingleInstance(const QString &folder = QString(), QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Role {
        Primary,   // this process runs the program
        Secondary, // another process of the same user runs it: hand over and end
    };

    // Takes the lock, or finds that another live process holds it. A lock left
    // by a process that no longer runs is taken over. When the folder cannot
    // be used at all the program runs as the primary: better twice than never.
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
    std::unique_ptr<QLockFile> m_lock;
    QFileSystemWatcher *m_watcher = nullptr;
};
