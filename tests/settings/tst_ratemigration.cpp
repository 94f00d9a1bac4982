#include "settings/ratemigration.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

#include <unistd.h>

class TestRateMigration : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void storedOldVersion_data();
    void storedOldVersion();
    void takeOver_data();
    void takeOver();
    void failedStepIsReported_data();
    void failedStepIsReported();

private:
    static void saveOldRate(int year, const QString &rate)
    {
        QVERIFY(SettingsStore::save(RateSetting::oldApplication(year), RateSetting::section(),
                                    RateSetting::key(), rate));
    }
    static QString storedRate(const QString &fallback = QString())
    {
        return SettingsStore::get(RateSetting::application(), RateSetting::section(), RateSetting::key(),
                                  fallback);
    }
    std::unique_ptr<TestEnvironment> m_env;
};

// clang-format off
void TestRateMigration::storedOldVersion_data()
{
    QTest::addColumn<QList<int>>("stored"); // the versions whose store exists; 2010 is this one
    QTest::addColumn<int>("found");         // 0: none to take over
    QTest::newRow("none") << QList<int>{} << 0;
    QTest::newRow("only this version") << QList<int>{2010} << 0;
    QTest::newRow("2009") << QList<int>{2009} << 2009;
    QTest::newRow("2008") << QList<int>{2008, 2010} << 2008;
    QTest::newRow("2008 before 2009") << QList<int>{2009, 2008} << 2008;
}
// clang-format on

void TestRateMigration::storedOldVersion()
{
    QFETCH(QList<int>, stored);
    QFETCH(int, found);
    for (int year : std::as_const(stored)) {
        const QString application
            = year == 2010 ? RateSetting::application() : RateSetting::oldApplication(year);
        QVERIFY(SettingsStore::save(application, RateSetting::section(), RateSetting::key(),
                                    QStringLiteral("16")));
    }
    QCOMPARE(RateMigration::storedOldVersion().value_or(0), found);
}

// clang-format off
void TestRateMigration::takeOver_data()
{
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    QTest::addColumn<int>("year");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("oldRate");   // "-": the old store holds another section only; "gone": no old store
    QTest::addColumn<QString>("stored");    // this version's rate before; "-": none
    QTest::addColumn<QString>("expected");  // this version's rate after; "-": none
    QTest::newRow("2009 rate 16") << 2009 << de << "16" << "-" << "16";
    QTest::newRow("2008 rate 16") << 2008 << de << "16" << "-" << "16";
    QTest::newRow("old rate replaces a stored one") << 2009 << de << "16" << "7" << "16";
    // A number written the German or the English way is taken over in this locale's form.
    QTest::newRow("de 7,5") << 2009 << de << "7,5" << "-" << "7,5";
    QTest::newRow("de 7.5") << 2009 << de << "7.5" << "7" << "7,5";
    QTest::newRow("de 16") << 2009 << de << "16" << "7" << "16";
    QTest::newRow("de blanks and decimals kept") << 2008 << de << " 7.50 " << "-" << "7,50";
    QTest::newRow("de negative") << 2009 << de << "-2.5" << "-" << "-2,5";
    QTest::newRow("en 7,5") << 2009 << en << "7,5" << "7" << "7.5";
    QTest::newRow("en 7.5") << 2009 << en << "7.5" << "-" << "7.5";
    QTest::newRow("en 16") << 2008 << en << "16" << "-" << "16";
    // An old comma is a decimal comma, never a thousands separator.
    QTest::newRow("en 7,500") << 2009 << en << "7,500" << "-" << "7.500";
    // Anything else is the user's text all the same: taken over as it was stored.
    QTest::newRow("de 16 %") << 2009 << de << "16 %" << "7" << "16 %";
    QTest::newRow("en 16 %") << 2009 << en << "16 %" << "-" << "16 %";
    QTest::newRow("letters") << 2008 << de << "abc" << "7" << "abc";
    QTest::newRow("grouped") << 2009 << en << "1.000,5" << "-" << "1.000,5";
    QTest::newRow("exponent") << 2009 << de << "1e2" << "-" << "1e2";
    // Only no rate at all leaves this version's rate as it is.
    QTest::newRow("no old rate") << 2009 << de << "-" << "-" << "-";
    QTest::newRow("no old rate keeps 7") << 2009 << de << "-" << "7" << "7";
    QTest::newRow("de empty old rate keeps 7") << 2009 << de << "" << "7" << "7";
    QTest::newRow("en empty old rate keeps 7") << 2009 << en << "" << "7" << "7";
    QTest::newRow("blank old rate keeps 7") << 2008 << de << "  " << "7" << "7";
    // Another start of the program took the rate over after this one had found the old store.
    QTest::newRow("old store gone since") << 2009 << de << "gone" << "16" << "16";
}
// clang-format on

void TestRateMigration::takeOver()
{
    QFETCH(int, year);
    QFETCH(QLocale, locale);
    QFETCH(QString, oldRate);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    const QString none = QStringLiteral("-");
    const bool gone = oldRate == QLatin1String("gone");
    if (oldRate == none)
        QVERIFY(SettingsStore::save(RateSetting::oldApplication(year), QStringLiteral("Fenster"),
                                    QStringLiteral("Links"), QStringLiteral("10")));
    else if (!gone)
        saveOldRate(year, oldRate);
    if (stored != none)
        QVERIFY(RateSetting::save(stored));

    const RateMigration::Outcome outcome = RateMigration(year).takeOver(locale);
    QCOMPARE(outcome.oldStoreFound, !gone);
    QCOMPARE(outcome.failure, RateMigration::Failure::None);
    QCOMPARE(outcome.errorNumber, 0);
    QCOMPARE(storedRate(none), expected);
    // What the wizard shows is what was taken over.
    QCOMPARE(outcome.oldRate, oldRate == none || gone || oldRate.trimmed().isEmpty() ? QString() : expected);
    QVERIFY(!QFile::exists(SettingsStore::location(RateSetting::oldApplication(year))));
    QVERIFY(!RateMigration::storedOldVersion());
}

// clang-format off
void TestRateMigration::failedStepIsReported_data()
{
    QTest::addColumn<bool>("blockThisStore");
    QTest::addColumn<RateMigration::Failure>("failure");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("rateAfter");
    QTest::newRow("this version's store cannot be written")
        << true << RateMigration::Failure::RateNotSaved << 75
        << "Die Einstellungen von Zelk. 2010 konnten nicht gespeichert werden (%1)." << "";
    QTest::newRow("old store is write-protected")
        << false << RateMigration::Failure::OldStoreNotDeleted << 5
        << "Die Einstellungen von Zelk. 2009 konnten nicht gelöscht werden (%2)." << "16";
}
// clang-format on

void TestRateMigration::failedStepIsReported()
{
    QFETCH(bool, blockThisStore);
    saveOldRate(2009, QStringLiteral("16"));
    const QString oldStore = SettingsStore::location(RateSetting::oldApplication(2009));
    if (blockThisStore) {
        // A folder stands where this version's file belongs.
        QVERIFY(QDir().mkpath(SettingsStore::location(RateSetting::application())));
    } else {
        if (::geteuid() == 0)
            QSKIP("Root removes write-protected files; run this test as an ordinary user (asuser.sh).");
        QVERIFY(QFile::setPermissions(oldStore, QFileDevice::ReadOwner));
    }

    const RateMigration::Outcome outcome = RateMigration(2009).takeOver(QLocale::system());
    QTEST(outcome.failure, "failure");
    QTEST(outcome.errorNumber, "errorNumber");
    QFETCH(QString, description);
    QCOMPARE(outcome.description,
             description.replace(QLatin1String("%1"), SettingsStore::location(RateSetting::application()))
                 .replace(QLatin1String("%2"), oldStore));
    QVERIFY(outcome.store.failed());
    QTEST(storedRate(), "rateAfter");
    QVERIFY(QFile::exists(oldStore));
}

QTEST_GUILESS_MAIN(TestRateMigration)
#include "tst_ratemigration.moc"
