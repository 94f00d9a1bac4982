#include "core/makeraddresses.h"
#include "core/versiontext.h"
#include "support/urlcatcher.h"
#include "ui/controls/commandbutton.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/donationwindow.h"
#include "ui/info/splashface.h"
#include "ui/info/splashwindow.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

class TestInfoWindows : public QObject
{
    Q_OBJECT

private slots:
    // First: it checks what the process has loaded so far.
    void splashFirstFrameNeedsNoFontOrSvg();
    void aboutShowsVersionAndSystem();
    void donationOpensPageAndStaysOpen();
};

void TestInfoWindows::splashFirstFrameNeedsNoFontOrSvg()
{
    QPointer<SplashWindow> splash = new SplashWindow(60000);
    // Whatever names a part starts the connection to assistive tools, which
    // waits for the session bus; the bare window pays that only once shown.
    QVERIFY(splash->accessibleName().isEmpty());
    QVERIFY(splash->findChildren<QWidget *>().isEmpty());
    splash->load();
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QCoreApplication::processEvents();

    // Font files and caches, the SVG icon engine and image plug-ins are mapped once loaded.
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    for (const char *loaded : {"/fontconfig/", ".ttf", ".otf", ".pfb", "/iconengines/", "/imageformats/"})
        QVERIFY2(!mapped.contains(loaded), loaded);

    QCOMPARE(splash->findChild<QWidget *>(QStringLiteral("versionLabel"))->accessibleName(),
             VersionText::text());
    // Picture and parts are the face that the program's controls draw, as
    // seen on screen and by assistive tools.
    QWidget live;
    live.setFixedSize(SplashFace::size());
    SplashFace::build(&live);
    QCOMPARE(splash->grab().toImage().convertToFormat(QImage::Format_RGB32),
             live.grab().toImage().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(splash->accessibleName(), SplashFace::accessibleName());
    const auto parts = live.findChildren<QWidget *>();
    QCOMPARE(splash->findChildren<QWidget *>().size(), parts.size());
    for (QWidget *part : parts) {
        QWidget *standIn = splash->findChild<QWidget *>(part->objectName());
        QVERIFY2(standIn, qPrintable(part->objectName()));
        QCOMPARE(standIn->geometry(), part->geometry());
        const QAccessibleInterface *seen = QAccessible::queryAccessibleInterface(standIn);
        const QAccessibleInterface *meant = QAccessible::queryAccessibleInterface(part);
        QCOMPARE(seen->text(QAccessible::Name), meant->text(QAccessible::Name));
        QCOMPARE(seen->role(), meant->role());
    }
    splash->close();
    QTRY_VERIFY(splash.isNull());
}

void TestInfoWindows::aboutShowsVersionAndSystem()
{
    QPointer<AboutWindow> about = new AboutWindow;
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("versionLabel"))->text(), VersionText::text());
    // The offscreen platform is no Windows version the line knows.
    const QString system = about->findChild<QLabel *>(QStringLiteral("systemLine"))->text();
    QVERIFY2(system.startsWith(QStringLiteral("Betriebssystem unbekannt ( Version ")), qPrintable(system));
    QVERIFY(system.endsWith(QStringLiteral(" )")));

    QTimer::singleShot(0, about,
                       [about] { about->findChild<CommandButton *>(QStringLiteral("okayButton"))->click(); });
    about->exec();
    QTRY_VERIFY(about.isNull());
}

void TestInfoWindows::donationOpensPageAndStaysOpen()
{
    UrlCatcher catcher;
    QPointer<DonationWindow> donation = new DonationWindow;
    bool visibleAfterDonating = false;
    QTimer::singleShot(0, donation, [donation, &visibleAfterDonating] {
        auto *donate = donation->findChild<CommandButton *>(QStringLiteral("donateButton"));
        donate->click();
        donate->click();
        visibleAfterDonating = donation->isVisible();
        donation->findChild<CommandButton *>(QStringLiteral("backButton"))->click();
    });
    donation->exec();
    QVERIFY(visibleAfterDonating);
    QCOMPARE(catcher.urls, QList<QUrl>(2, QUrl(MakerAddresses::donationPage())));
    QTRY_VERIFY(donation.isNull());
}

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
