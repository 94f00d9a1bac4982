#include "settings/settingsstore.h"
#include "support/testenvironment.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/label3d.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/donationwindow.h"
#include "ui/info/splashwindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void handle(const QUrl &url) { urls.append(url); }
};

class TestInfoWindows : public QObject
{
    Q_OBJECT

private slots:
    void splashHandsOver_data();
    void splashHandsOver();
    void aboutShowsVersionAndSystem();
    void donationOpensPageAndStaysOpen();
};

void TestInfoWindows::splashHandsOver_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<int>("year");
    QTest::newRow("no old settings") << QStringList{} << 0;
    QTest::newRow("2009 only") << QStringList{"Zelk_2009"} << 2009;
    QTest::newRow("both") << QStringList{"Zelk_2009", "Zelk_2008"} << 2008;
    QTest::newRow("only the current version") << QStringList{"Zelk_2010"} << 0;
}

void TestInfoWindows::splashHandsOver()
{
    QFETCH(QStringList, stored);
    TestEnvironment env;
    for (const QString &application : std::as_const(stored))
        QVERIFY(SettingsStore::save(application, QStringLiteral("Zelk_Satz"), QStringLiteral("x.Text"), "16"));

    QPointer<SplashWindow> splash = new SplashWindow(20);
    QSignalSpy handOver(splash.data(), &SplashWindow::handOver);
    splash->load();
    auto *version = splash->findChild<Label3D *>(QStringLiteral("Label3D3"));
    QCOMPARE(version->caption(), QStringLiteral("Version 6.0.0"));
    QVERIFY(splash->isVisible());
    QTRY_COMPARE(handOver.size(), 1);
    QTEST(handOver.first().first().toInt(), "year");
    QTRY_VERIFY(splash.isNull());
    QTest::qWait(50);
    QCOMPARE(handOver.size(), 1);
}

void TestInfoWindows::aboutShowsVersionAndSystem()
{
    QPointer<AboutWindow> about = new AboutWindow;
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Version 6.0.0"));
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label14"))->text(), QStringLiteral("Stand: 01.12.2009"));
    const QString system = about->findChild<QLabel *>(QStringLiteral("windowsversion"))->text();
    QVERIFY2(system.startsWith(QStringLiteral("Betriebssystem unbekannt ( Version ")), qPrintable(system));
    QVERIFY(system.endsWith(QStringLiteral(" )")));
    QCOMPARE(about->findChild<CommandButton *>(QStringLiteral("Command3"))->url().left(7), QStringLiteral("mailto:"));

    QTimer::singleShot(50, about, [about] { about->findChild<CommandButton *>(QStringLiteral("Command1"))->click(); });
    about->exec();
    QTRY_VERIFY(about.isNull());
}

void TestInfoWindows::donationOpensPageAndStaysOpen()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "handle");
    QPointer<DonationWindow> donation = new DonationWindow;
    QTimer::singleShot(50, donation, [donation] {
        auto *spenden = donation->findChild<CommandButton *>(QStringLiteral("Command1"));
        spenden->click();
        spenden->click();
        QVERIFY(donation->isVisible());
        donation->findChild<CommandButton *>(QStringLiteral("Button1"))->click();
    });
    donation->exec();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(catcher.urls.size(), 2);
    QCOMPARE(catcher.urls.first().path(), QStringLiteral("/sonstiges/zelk_spenden.php"));
    QTRY_VERIFY(donation.isNull());
}

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
