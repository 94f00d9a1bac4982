#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/testenvironment.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>

#include <csignal>

class TestSettingsRobustness : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void killedWhileSavingLeavesOldOrNew();
    void twoProgramsSavingLeaveOneValue();

private:
    static bool wellFormed()
    {
        QSettings file(SettingsStore::location(RateSetting::application()), QSettings::IniFormat);
        file.allKeys();
        return file.status() == QSettings::NoError;
    }
    std::unique_ptr<TestEnvironment> m_env;
};

void TestSettingsRobustness::killedWhileSavingLeavesOldOrNew()
{
    QVERIFY(RateSetting::save(QStringLiteral("alt")));
    QString last = QStringLiteral("alt");
    for (int round = 0; round < 25; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(SETTINGSWRITER),
                     {QStringLiteral("neu-%1-").arg(round), QStringLiteral("0")});
        QVERIFY(writer.waitForReadyRead(10000));
        QTest::qSleep(int(QRandomGenerator::global()->bounded(1, 40)));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(10000));

        const QString value = RateSetting::read();
        QVERIFY2(value == last || value.startsWith(QStringLiteral("neu-%1-").arg(round)), qPrintable(value));
        QVERIFY(wellFormed());
        last = value;
        // A lock left behind by the killed program must not block the next save.
        QVERIFY(RateSetting::save(last));
    }
}

void TestSettingsRobustness::twoProgramsSavingLeaveOneValue()
{
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(SETTINGSWRITER), {QStringLiteral("7"), QStringLiteral("150")});
    second.start(QStringLiteral(SETTINGSWRITER), {QStringLiteral("19,5"), QStringLiteral("150")});
    QVERIFY(first.waitForFinished(60000));
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    const QString value = RateSetting::read();
    QVERIFY2(value == QStringLiteral("7") || value == QStringLiteral("19,5"), qPrintable(value));
    QVERIFY(wellFormed());
}

QTEST_GUILESS_MAIN(TestSettingsRobustness)
#include "tst_settingsrobustness.moc"
