#include "system/windowplacement.h"
#include "system/windowsystem.h"

#include <QScreen>
#include <QTest>
#include <QWidget>

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void centredWindowLiesOnScreen_data();
    void centredWindowLiesOnScreen();
    void platformRequest_data();
    void platformRequest();
};

// clang-format off
void TestWindowPlacement::centredWindowLiesOnScreen_data()
{
    // Sizes in parts of the available area: a large font scale or a small
    // screen makes the fixed-size windows wider or taller than the screen.
    QTest::addColumn<double>("widthShare");
    QTest::addColumn<double>("heightShare");
    QTest::newRow("fits") << 0.5 << 0.5;
    QTest::newRow("too wide") << 1.3 << 0.5;
    QTest::newRow("too tall") << 0.5 << 1.2;
    QTest::newRow("too large") << 2.0 << 2.0;
}
// clang-format on

void TestWindowPlacement::centredWindowLiesOnScreen()
{
    QFETCH(double, widthShare);
    QFETCH(double, heightShare);
    QWidget window;
    const QRect area = window.screen()->availableGeometry();
    window.setFixedSize(int(area.width() * widthShare), int(area.height() * heightShare));
    WindowPlacement::centre(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect frame = window.frameGeometry();
    // The title bar and the left edge stay on the screen, the rest is centred
    // where it fits.
    QVERIFY2(area.contains(frame.topLeft()),
             qPrintable(QStringLiteral("%1,%2").arg(frame.x()).arg(frame.y())));
    if (frame.width() <= area.width())
        QVERIFY(qAbs(frame.center().x() - area.center().x()) <= 1);
    else
        QCOMPARE(frame.left(), area.left());
    if (frame.height() <= area.height())
        QVERIFY(qAbs(frame.center().y() - area.center().y()) <= 1);
    else
        QCOMPARE(frame.top(), area.top());
}

// clang-format off
void TestWindowPlacement::platformRequest_data()
{
    QTest::addColumn<QByteArray>("userChoice");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("X11 session: Qt's own choice") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("Wayland session: XWayland first") << QByteArray() << QByteArray("wayland-0") << QByteArray("xcb;wayland");
    QTest::newRow("the user's native Wayland stays") << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray();
    QTest::newRow("the user's offscreen stays") << QByteArray("offscreen") << QByteArray("wayland-0") << QByteArray();
}
// clang-format on

void TestWindowPlacement::platformRequest()
{
    QFETCH(QByteArray, userChoice);
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, request);
    QCOMPARE(WindowSystem::platformRequest(userChoice, waylandDisplay), request);
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
