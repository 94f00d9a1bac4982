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
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Version 6.0.0"));
    const QString system = about->findChild<QLabel *>(QStringLiteral("windowsversion"))->text();
    QVERIFY2(system.startsWith(QStringLiteral("Betriebssystem unbekannt ( Version ")), qPrintable(system));
    QVERIFY(system.endsWith(QStringLiteral(" )")));
    QCOMPARE(about->findChild<CommandButton *>(QStringLiteral("Command3"))->url().left(7),
             QStringLiteral("mailto:"));

    QTimer::singleShot(50, about,
                       [about] { about->findChild<CommandButton *>(QStringLiteral("Command1"))->click(); });
    about->exec();
    QTRY_VERIFY(about.isNull());
}

void TestInfoWindows::donationOpensPageAndStaysOpen()
{
    UrlCatcher catcher;
    QPointer<DonationWindow> donation = new DonationWindow;
    QTimer::singleShot(50, donation, [donation] {
        auto *spenden = donation->findChild<CommandButton *>(QStringLiteral("Command1"));
        spenden->click();
        spenden->click();
        QVERIFY(donation->isVisible());
        donation->findChild<CommandButton *>(QStringLiteral("Button1"))->click();
    });
    donation->exec();
    QCOMPARE(catcher.urls.size(), 2);
    QCOMPARE(catcher.urls.first().path(), QStringLiteral("/sonstiges/zelk_spenden.php"));
    QTRY_VERIFY(donation.isNull());
}

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
