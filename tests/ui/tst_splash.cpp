// The splash window's first frame. A process of its own: the test checks
// what the process has loaded so far.
#include "ui/info/splashface.h"
#include "ui/info/splashwindow.h"

#include <QAccessible>
#include <QFile>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void firstFrameNeedsNoFontOrSvg()
    {
        QPointer<SplashWindow> splash = new SplashWindow(60000);
        // Whatever names a part starts the connection to assistive tools, which
        // waits for the session bus; the bare window pays that only once shown.
        QVERIFY(splash->accessibleName().isEmpty());
        QVERIFY(splash->findChildren<QWidget *>().isEmpty());
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        // Font files and caches, the SVG icon engine and image plug-ins are mapped once loaded.
        QFile maps(u"/proc/self/maps"_s);
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        for (const char *loaded : {"/fontconfig/", ".ttf", ".otf", ".pfb", "/iconengines/", "/imageformats/"})
            QVERIFY2(!mapped.contains(loaded), loaded);

        // Picture and parts are the face that the program's controls draw, as
        // seen on screen and by assistive tools.
        QTRY_VERIFY(splash->findChild<QWidget *>(u"versionLabel"_s));
        QCOMPARE(splash->findChild<QWidget *>(u"versionLabel"_s)->accessibleName(),
                 QStringLiteral("Version " ZELK_PROJECT_VERSION));
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
};

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
