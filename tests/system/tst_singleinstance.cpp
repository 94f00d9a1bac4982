#include "system/singleinstance.h"

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
    void claim_data();
    void claim();
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

// clang-format off
void TestSingleInstance::claim_data()
{
    QTest::addColumn<QString>("leftBefore");
    QTest::newRow("nothing") << "";
    // The lock and a wake-up note of an earlier run: neither is written nor obeyed.
    QTest::newRow("an earlier run's files") << "files";
    QTest::newRow("a program that crashed holding the lock") << "crash";
    // A file where the folder belongs: better two programs than none.
    QTest::newRow("folder unusable") << "blocked";
}
// clang-format on

void TestSingleInstance::claim()
{
    QFETCH(QString, leftBefore);
    QTemporaryDir dir;
    const QString lock = dir.filePath(QStringLiteral("zelk.lock"));
    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    for (const char *name : {"zelk.lock", "zelk.wake"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        if (leftBefore == QLatin1String("files")) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
    }
    if (leftBefore == QLatin1String("crash")) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            SingleInstance crashing(dir.path());
            crashing.claim();
            raise(SIGKILL);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && QFile::exists(lock));
    }
    const bool blocked = leftBefore == QLatin1String("blocked");
    const QString folder = blocked ? lock : dir.path();
    if (blocked)
        QVERIFY(QFile(lock).open(QIODevice::WriteOnly));

    // Two rounds of a program and a later start.
    for (int round = 1; round <= 2; ++round) {
        SingleInstance next(folder);
        QCOMPARE(next.claim(), SingleInstance::Role::Primary);
        SingleInstance later(folder);
        QCOMPARE(later.claim(), blocked ? SingleInstance::Role::Primary : SingleInstance::Role::Secondary);
        // Nothing written for the lock: a start never waits for the disk.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"zelk.lock"});
        QCOMPARE(QFileInfo(lock).size(), 0);
        if (leftBefore == QLatin1String("files"))
            QCOMPARE(QFileInfo(lock).lastModified(), old);
    }
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
