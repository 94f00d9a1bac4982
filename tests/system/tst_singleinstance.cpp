#include "system/singleinstance.h"

#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondStartWakesTheFirst();
    void lockOfAnEndedProgramIsTakenOver();
    void unusableFolderStillRuns();
    void claimWritesNothing();
};

void TestSingleInstance::secondStartWakesTheFirst()
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    QCOMPARE(first.claim(), SingleInstance::Role::Primary);
    QSignalSpy woken(&first, &SingleInstance::wakeRequested);

    // The first later start comes with an activation token, the second without one.
    const QStringList tokens{QStringLiteral("launcher-token-1"), QString()};
    for (const QString &token : tokens) {
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
        SingleInstance later(dir.path());
        QCOMPARE(later.claim(), SingleInstance::Role::Secondary);
        QVERIFY(later.wakePrimary());
        QTRY_COMPARE(woken.size(), tokens.indexOf(token) + 1);
        QCOMPARE(woken.last().at(0).toString(), token);
    }
    qunsetenv("XDG_ACTIVATION_TOKEN");
    // Each note is taken away, so that it wakes the program only once.
    QVERIFY(QDir(dir.path()).entryList({QStringLiteral("*.wake")}, QDir::Files).isEmpty());
}

void TestSingleInstance::lockOfAnEndedProgramIsTakenOver()
{
    QTemporaryDir dir;
    // A program that crashed while it held the lock.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        SingleInstance crashing(dir.path());
        crashing.claim();
        raise(SIGKILL);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("zelk.lock"))));

    SingleInstance next(dir.path());
    QCOMPARE(next.claim(), SingleInstance::Role::Primary);
    SingleInstance after(dir.path());
    QCOMPARE(after.claim(), SingleInstance::Role::Secondary);
}

void TestSingleInstance::unusableFolderStillRuns()
{
    QTemporaryDir dir;
    // A file where the folder belongs: better two programs than none.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SingleInstance first(blocked);
    QCOMPARE(first.claim(), SingleInstance::Role::Primary);
}

void TestSingleInstance::claimWritesNothing()
{
    // Taking the lock, holding it and handing it on touch no file: a start
    // never waits for the disk, and a crash leaves nothing to clean up.
    QTemporaryDir dir;
    // As an earlier run left it.
    const QString lock = dir.filePath(QStringLiteral("zelk.lock"));
    QFile file(lock);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();

    for (int start = 1; start <= 2; ++start) {
        SingleInstance next(dir.path());
        QCOMPARE(next.claim(), SingleInstance::Role::Primary);
        SingleInstance later(dir.path());
        QCOMPARE(later.claim(), SingleInstance::Role::Secondary);
        const QFileInfo info(lock);
        QCOMPARE(info.size(), 0);
        QCOMPARE(info.lastModified(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"zelk.lock"});
    }
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
