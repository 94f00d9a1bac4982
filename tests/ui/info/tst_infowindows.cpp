#include "core/makeraddresses.h"
#include "core/versiontext.h"
#include "support/urlcatcher.h"
#include "ui/controls/commandbutton.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/donationwindow.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

class TestInfoWindows : public QObject
{
    Q_OBJECT

private slots:
    void aboutShowsVersionAndSystem();
    void donationOpensPageAndStaysOpen();
};

void TestInfoWindows::aboutShowsVersionAndSystem()
{
    QPointer<AboutWindow> about = new AboutWindow;
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label1"))->text(), VersionText::text());
    // The offscreen platform is no Windows version the line knows.
    const QString system = about->findChild<QLabel *>(QStringLiteral("windowsversion"))->text();
    QVERIFY2(system.startsWith(QStringLiteral("Betriebssystem unbekannt ( Version ")), qPrintable(system));
    QVERIFY(system.endsWith(QStringLiteral(" )")));

    QTimer::singleShot(0, about,
                       [about] { about->findChild<CommandButton *>(QStringLiteral("Command1"))->click(); });
    about->exec();
    QTRY_VERIFY(about.isNull());
}

void TestInfoWindows::donationOpensPageAndStaysOpen()
{
    UrlCatcher catcher;
    QPointer<DonationWindow> donation = new DonationWindow;
    bool visibleAfterDonating = false;
    QTimer::singleShot(0, donation, [donation, &visibleAfterDonating] {
        auto *donate = donation->findChild<CommandButton *>(QStringLiteral("Command1"));
        donate->click();
        donate->click();
        visibleAfterDonating = donation->isVisible();
        donation->findChild<CommandButton *>(QStringLiteral("Button1"))->click();
    });
    donation->exec();
    QVERIFY(visibleAfterDonating);
    QCOMPARE(catcher.urls, QList<QUrl>(2, QUrl(MakerAddresses::donationPage())));
    QTRY_VERIFY(donation.isNull());
}

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
