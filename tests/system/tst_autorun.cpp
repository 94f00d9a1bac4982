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
    void enterTwiceKeepsOneEntry();
    void removeDeletesEntry();
    void namesNeverLeaveTheFolder_data();
    void namesNeverLeaveTheFolder();
    void unwritableFolderFails();

private:
    QStringList execArguments(const QString &name) const;
    QString entryFile(const QString &name) const
    {
        return QDir(AutoRun::autostartFolder()).filePath(name + QStringLiteral(".desktop"));
    }
    std::unique_ptr<TestEnvironment> m_env;
};

void TestAutoRun::entryStartsExactlyThatFile_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::newRow("blank and quote") << "Meine \"Programme\"";
    QTest::newRow("dollar, backslash, backquote") << "a$HOME b\\c `x`";
}

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

    QVERIFY(AutoRun::SetAutoRun(QStringLiteral("zelk"), program));
    QCOMPARE(execArguments(QStringLiteral("zelk")), QStringList{program});
    QProcess launch;
    launch.start(gio, {QStringLiteral("launch"), entryFile(QStringLiteral("zelk"))});
    QVERIFY(launch.waitForFinished(10000));
    QCOMPARE(launch.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mark), 10000);
    QFile started(mark);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(started.readAll(), QByteArray("0")); // no arguments sneaked in
}

void TestAutoRun::execFollowsTheRules_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("percent") << "/opt/100 % sicher/%f/zelk";
    QTest::newRow("everything") << "/opt/\"a\" $b `c` \\d %e 'f'/zelk";
    QTest::newRow("tab and newline") << "/opt/a\tb\nc/zelk";
}

void TestAutoRun::execFollowsTheRules()
{
    QFETCH(QString, path);
    QVERIFY(AutoRun::SetAutoRun(QStringLiteral("zelk"), path));
    QCOMPARE(execArguments(QStringLiteral("zelk")), QStringList{path});
}

// Reads the Exec line back the way a desktop reads it: first the escapes of a
// string value, then the doubled percent signs, then the quoting of arguments.
QStringList TestAutoRun::execArguments(const QString &name) const
{
    QFile file(entryFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString raw;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Exec=")))
            raw = line.mid(5);
    }
    QString value;
    for (int i = 0; i < raw.size(); ++i) {
        if (raw[i] == QLatin1Char('\\') && i + 1 < raw.size()) {
            const QChar next = raw[++i];
            value += next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('t') ? QChar('\t')
                   : next == QLatin1Char('r') ? QChar('\r') : next == QLatin1Char('s') ? QChar(' ') : next;
        } else {
            value += raw[i];
        }
    }
    value.replace(QLatin1String("%%"), QLatin1String("%"));
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quoted && c == QLatin1Char('\\') && i + 1 < value.size()) {
            current += value[++i];
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (any || !current.isEmpty())
                arguments.append(current);
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        arguments.append(current);
    return arguments;
}

void TestAutoRun::enterTwiceKeepsOneEntry()
{
    QVERIFY(AutoRun::SetAutoRun(QStringLiteral("zelk"), QStringLiteral("/opt/eins/zelk")));
    QVERIFY(AutoRun::SetAutoRun(QStringLiteral("zelk"), QStringLiteral("/opt/zwei/zelk")));
    QCOMPARE(QDir(AutoRun::autostartFolder()).entryList(QDir::Files), QStringList{"zelk.desktop"});
    QCOMPARE(execArguments(QStringLiteral("zelk")), QStringList{"/opt/zwei/zelk"});
}

void TestAutoRun::removeDeletesEntry()
{
    QVERIFY(!AutoRun::RemoveAutoRun(QStringLiteral("zelk")));
    QVERIFY(AutoRun::SetAutoRun(QStringLiteral("zelk"), QStringLiteral("/opt/zelk/zelk")));
    QVERIFY(AutoRun::RemoveAutoRun(QStringLiteral("zelk")));
    QVERIFY(!QFile::exists(entryFile(QStringLiteral("zelk"))));
    QVERIFY(!AutoRun::RemoveAutoRun(QStringLiteral("zelk")));
}

void TestAutoRun::namesNeverLeaveTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "..";
    QTest::newRow("slash") << "../zelk";
    QTest::newRow("empty") << "";
}

void TestAutoRun::namesNeverLeaveTheFolder()
{
    QFETCH(QString, name);
    QVERIFY(!AutoRun::SetAutoRun(name, QStringLiteral("/opt/zelk/zelk")));
    QVERIFY(!AutoRun::RemoveAutoRun(name));
    QVERIFY(!QFile::exists(QDir(m_env->configHome()).filePath(QStringLiteral("zelk.desktop"))));
}

void TestAutoRun::unwritableFolderFails()
{
    QFile blocker(AutoRun::autostartFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!AutoRun::SetAutoRun(QStringLiteral("zelk"), QStringLiteral("/opt/zelk/zelk")));
}

QTEST_GUILESS_MAIN(TestAutoRun)
#include "tst_autorun.moc"
