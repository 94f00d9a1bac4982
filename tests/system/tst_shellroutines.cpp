#include "support/testenvironment.h"
#include "system/shellroutines.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestShellRoutines : public QObject
{
    Q_OBJECT

private slots:
    void startProgram_data();
    void startProgram();
};

// clang-format off
void TestShellRoutines::startProgram_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<ShellRoutines::Start>("result");

    QTest::newRow("program") << true << true << ShellRoutines::Start::Started;
    QTest::newRow("missing") << false << false << ShellRoutines::Start::Missing;
    QTest::newRow("not executable") << true << false << ShellRoutines::Start::Failed;
}
// clang-format on

void TestShellRoutines::startProgram()
{
    QFETCH(bool, create);
    QFETCH(bool, executable);
    QFETCH(ShellRoutines::Start, result);

    TestEnvironment env;
    const QString program = QDir(env.path()).filePath(QStringLiteral("update.exe"));
    const QString mark = QDir(env.path()).filePath(QStringLiteral("ran"));
    if (create) {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch '" + mark.toUtf8() + "'\n");
        script.close();
        if (executable)
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QCOMPARE(ShellRoutines::startProgram(program), result);
    if (result == ShellRoutines::Start::Started)
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mark), 5000);
    else
        QVERIFY(!QFile::exists(mark));
}

QTEST_GUILESS_MAIN(TestShellRoutines)
#include "tst_shellroutines.moc"
