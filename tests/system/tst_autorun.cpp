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
    void execFollowsTheRules_data();
    void execFollowsTheRules();
    void namesNeverLeaveTheFolder_data();
    void namesNeverLeaveTheFolder();
    void entryNameFor_data();
    void entryNameFor();

private:
    QString execLine(const QString &name) const;
    QString entryFile(const QString &name) const
    {
        return QDir(AutoRun::autostartFolder()).filePath(name + QStringLiteral(".desktop"));
    }
    std::unique_ptr<TestEnvironment> m_env;
};

// clang-format off
void TestAutoRun::entryStartsExactlyThatFile_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::newRow("blank and quote") << "Meine \"Programme\"";
    QTest::newRow("dollar, backslash, backquote") << "a$HOME b\\c `x`";
}
// clang-format on

void TestAutoRun::entryStartsExactlyThatFile()
{
    QFETCH(QString, folderName);
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        QSKIP("gio (Debian: libglib2.0-bin) is needed to launch a desktop entry");

    // A program in an awkwardly named folder that leaves a mark when started.
    const QString folder = QDir(m_env->path()).filePath(folderName);
    QVERIFY(QDir().mkpath(folder));
    const QString program = QDir(folder).filePath(QStringLiteral("zelk"));
    const QString mark = QDir(m_env->path()).filePath(QStringLiteral("started"));
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$#\" > '" + mark.toUtf8() + "'\n");
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(AutoRun::setAutoRun(QStringLiteral("zelk"), program));
    QProcess launch;
    launch.start(gio, {QStringLiteral("launch"), entryFile(QStringLiteral("zelk"))});
    QVERIFY(launch.waitForFinished(10000));
    QCOMPARE(launch.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mark), 10000);
    QFile started(mark);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(started.readAll(), QByteArray("0")); // no arguments sneaked in
}

// clang-format off
void TestAutoRun::execFollowsTheRules_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    // Quoted; " ` $ \ escaped inside the quotes; % doubled; then the string
    // escapes of every desktop-entry value (\\ \n \t).
    QTest::newRow("plain") << "/opt/zelk/zelk" << R"("/opt/zelk/zelk")";
    QTest::newRow("blank and quote") << R"(/opt/a "b"/zelk)" << R"X("/opt/a \\"b\\"/zelk")X";
    QTest::newRow("dollar and backquote") << "/opt/$a`b`/zelk" << R"("/opt/\\$a\\`b\\`/zelk")";
    QTest::newRow("backslash") << R"(/opt/a\b/zelk)" << R"("/opt/a\\\\b/zelk")";
    QTest::newRow("percent") << "/opt/100 %f/zelk" << R"("/opt/100 %%f/zelk")";
    QTest::newRow("tab and newline") << "/opt/a\tb\nc/zelk" << R"("/opt/a\tb\nc/zelk")";
}
// clang-format on

void TestAutoRun::execFollowsTheRules()
{
    QFETCH(QString, path);
    // Entering again replaces the entry.
    QVERIFY(AutoRun::setAutoRun(QStringLiteral("zelk"), QStringLiteral("/opt/vorher/zelk")));
    QVERIFY(AutoRun::setAutoRun(QStringLiteral("zelk"), path));
    QTEST(execLine(QStringLiteral("zelk")), "exec");
    QCOMPARE(QDir(AutoRun::autostartFolder()).entryList(QDir::Files), QStringList{"zelk.desktop"});
}

QString TestAutoRun::execLine(const QString &name) const
{
    QFile file(entryFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return QString();
}

// clang-format off
void TestAutoRun::namesNeverLeaveTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "..";
    QTest::newRow("slash") << "../zelk";
    QTest::newRow("empty") << "";
}
// clang-format on

void TestAutoRun::namesNeverLeaveTheFolder()
{
    QFETCH(QString, name);
    QVERIFY(!AutoRun::setAutoRun(name, QStringLiteral("/opt/zelk/zelk")));
    QVERIFY(!AutoRun::removeAutoRun(name));
    QVERIFY(!QFile::exists(QDir(m_env->configHome()).filePath(QStringLiteral("zelk.desktop"))));
}

// clang-format off
void TestAutoRun::entryNameFor_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "/opt/zelk/zelk" << "zelk";
    QTest::newRow("extension") << "/opt/zelk/zelk.bin" << "zelk";
    QTest::newRow("dot in folder") << "/opt/zelk.2010/zelk" << "zelk";
    QTest::newRow("two dots") << "/opt/archive.tar.gz" << "archive.tar";
}
// clang-format on

void TestAutoRun::entryNameFor()
{
    QFETCH(QString, path);
    QTEST(AutoRun::entryNameFor(path), "name");
}

QTEST_GUILESS_MAIN(TestAutoRun)
#include "tst_autorun.moc"
