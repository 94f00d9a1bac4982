#include "support/testenvironment.h"
#include "system/autorun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestAutoRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void entryStartsExactlyThatFile_data();
    void entryStartsExactlyThatFile();
    void names_data();
    void names();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// clang-format off
void TestAutoRun::entryStartsExactlyThatFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("exec"); // the folder's part of the Exec line
    // Quoted; " ` $ \ escaped inside the quotes; % doubled; then the string
    // escapes of every desktop-entry value (\\ \n \t).
    QTest::newRow("plain") << "zelk" << "zelk";
    QTest::newRow("blank and quote") << R"(Meine "Programme")" << R"(Meine \\"Programme\\")";
    QTest::newRow("dollar and backquote") << "a$HOME`b`" << R"(a\\$HOME\\`b\\`)";
    QTest::newRow("backslash") << R"(a\b)" << R"(a\\\\b)";
    QTest::newRow("percent") << "100 %f" << "100 %%f";
    QTest::newRow("tab and newline") << "a\tb\nc" << R"(a\tb\nc)";
}
// clang-format on

void TestAutoRun::entryStartsExactlyThatFile()
{
    QFETCH(QString, folder);
    QFETCH(QString, exec);
    // A program in an awkwardly named folder that leaves a mark when started.
    const QString program = QDir(m_env->path()).filePath(folder + QStringLiteral("/zelk"));
    const QString mark = QDir(m_env->path()).filePath(QStringLiteral("started"));
    QVERIFY(QDir().mkpath(QFileInfo(program).absolutePath()));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s' \"$#\" > '" + mark.toUtf8() + "'\n");
    script.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Entering again replaces the entry.
    QVERIFY(AutoRun::setAutoRun(QStringLiteral("zelk"), QStringLiteral("/opt/vorher/zelk")));
    QVERIFY(AutoRun::setAutoRun(QStringLiteral("zelk"), program));
    QCOMPARE(QDir(AutoRun::autostartFolder()).entryList(QDir::Files), QStringList{"zelk.desktop"});
    const QString entry = QDir(AutoRun::autostartFolder()).filePath(QStringLiteral("zelk.desktop"));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(
        file.readAll().contains(QStringLiteral("\nExec=\"%1/%2/zelk\"\n").arg(m_env->path(), exec).toUtf8()));

    // GLib looks for the program before it undoes the doubled %, so it finds none.
    if (folder.contains(QLatin1Char('%')))
        return;
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        QSKIP("gio (Debian: libglib2.0-bin) is needed to launch a desktop entry");
    QProcess launch;
    launch.start(gio, {QStringLiteral("launch"), entry});
    QVERIFY(launch.waitForFinished(10000));
    QCOMPARE(launch.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mark), 10000);
    QFile started(mark);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(started.readAll(), QByteArray("0")); // no arguments sneaked in
}

// clang-format off
void TestAutoRun::names_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name"); // the entry's name; empty where the name is refused
    QTest::newRow("plain") << "/opt/zelk/zelk" << "zelk";
    QTest::newRow("extension") << "/opt/zelk/zelk.bin" << "zelk";
    QTest::newRow("dot in folder") << "/opt/zelk.2010/zelk" << "zelk";
    QTest::newRow("two dots") << "/opt/archive.tar.gz" << "archive.tar";
    // Names never leave the autostart folder.
    QTest::newRow("parent") << ".." << "";
    QTest::newRow("slash") << "../zelk" << "";
    QTest::newRow("empty") << "" << "";
}
// clang-format on

void TestAutoRun::names()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    if (path.startsWith(QLatin1Char('/'))) {
        QCOMPARE(AutoRun::entryNameFor(path), name);
        return;
    }
    QVERIFY(!AutoRun::setAutoRun(path, QStringLiteral("/opt/zelk/zelk")));
    QVERIFY(!AutoRun::removeAutoRun(path));
    QVERIFY(!QFile::exists(QDir(m_env->configHome()).filePath(QStringLiteral("zelk.desktop"))));
}

QTEST_GUILESS_MAIN(TestAutoRun)
#include "tst_autorun.moc"
