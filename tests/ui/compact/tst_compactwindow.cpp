#include "settings/settingsstore.h"
#include "support/modalanswer.h"
#include "support/testenvironment.h"
#include "system/windowplacement.h"
#include "ui/compact/compactwindow.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/iconbutton.h"
#include "ui/controls/textbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestCompactWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadsFreshAtItsPlace();
    void calculatesLikeTheMainWindow_data();
    void calculatesLikeTheMainWindow();
    void refusesLetters();
    void copyButtons_data();
    void copyButtons();
    void clearKeepsRate();
    void onTopKeepsPlace();
    void closingAsksForMainWindow_data();
    void closingAsksForMainWindow();

private:
    TextBox *box(const char *name) { return m_window->findChild<TextBox *>(QLatin1String(name)); }

    std::unique_ptr<TestEnvironment> m_env;
    QPointer<CompactWindow> m_window;
};

void TestCompactWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2010"), QStringLiteral("Zelk_Satz"),
                                QStringLiteral("x.Text"), QStringLiteral("16")));
    m_window = new CompactWindow;
    m_window->load();
}

void TestCompactWindow::cleanup()
{
    if (m_window)
        m_window->close();
    QTRY_VERIFY(m_window.isNull());
    m_env.reset();
}

void TestCompactWindow::loadsFreshAtItsPlace()
{
    QCOMPARE(box("x")->text(), QStringLiteral("16"));
    for (const char *amount : {"netto", "zelkanteil", "brutto"})
        QVERIFY(box(amount)->text().isEmpty());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Zelk. 2010"));
    // 834, 121 unless the screen is too small for that (the offscreen one is 800 wide).
    const QRect area = m_window->screen()->availableGeometry();
    QVERIFY(area.contains(m_window->frameGeometry()));
    QCOMPARE(m_window->pos(), QPoint(qMin(834, area.right() + 1 - m_window->frameGeometry().width()), 121));
    QVERIFY(box("x")->entryListEnabled());
    QCOMPARE(box("x")->entryListCaption(), QStringLiteral("Zelk.-Satz"));
    QVERIFY(box("x")->entryListFile().endsWith(QStringLiteral("zelk.dat")));
}

void TestCompactWindow::calculatesLikeTheMainWindow_data()
{
    QTest::addColumn<QString>("typedBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("netto");
    QTest::addColumn<QString>("zelkanteil");
    QTest::addColumn<QString>("brutto");
    QTest::newRow("net") << "netto" << "100" << "100" << "16,00" << "116,00";
    QTest::newRow("gross") << "brutto" << "116" << "100,00" << "16,00" << "116";
}

void TestCompactWindow::calculatesLikeTheMainWindow()
{
    QFETCH(QString, typedBox);
    QFETCH(QString, typed);
    TextBox *target = box(typedBox.toLatin1().constData());
    QTest::keyClicks(target, typed);
    QTest::keyClick(target, Qt::Key_Enter);
    QTEST(box("netto")->text(), "netto");
    QTEST(box("zelkanteil")->text(), "zelkanteil");
    QTEST(box("brutto")->text(), "brutto");
}

void TestCompactWindow::refusesLetters()
{
    SeenDialog *seen = answerNextModal(QStringLiteral("OK"));
    QTest::keyClick(box("netto"), Qt::Key_X);
    QTRY_VERIFY(seen->shown);
    QCOMPARE(seen->title, QStringLiteral("Falsche Eingabe"));
    QVERIFY(box("netto")->text().isEmpty());
}

void TestCompactWindow::copyButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("copied");
    QTest::newRow("Button4") << "Button4" << "50";
    QTest::newRow("Button5") << "Button5" << "8,00";
    QTest::newRow("Button6") << "Button6" << "58,00";
}

void TestCompactWindow::copyButtons()
{
    QFETCH(QString, button);
    QTest::keyClicks(box("netto"), QStringLiteral("50"));
    QTest::keyClick(box("netto"), Qt::Key_Return);
    m_window->findChild<IconButton *>(button)->click();
    QTEST(QGuiApplication::clipboard()->text(), "copied");
}

void TestCompactWindow::clearKeepsRate()
{
    box("x")->setText(QStringLiteral("7"));
    QTest::keyClicks(box("netto"), QStringLiteral("50"));
    QTest::keyClick(box("netto"), Qt::Key_Return);
    m_window->findChild<CommandButton *>(QStringLiteral("Button3"))->click();
    for (const char *amount : {"netto", "zelkanteil", "brutto"})
        QVERIFY(box(amount)->text().isEmpty());
    QCOMPARE(box("x")->text(), QStringLiteral("7"));
}

void TestCompactWindow::onTopKeepsPlace()
{
    auto *button1 = m_window->findChild<CommandButton *>(QStringLiteral("Button1"));
    QVERIFY(!button1->isChecked());
    const QRect before = m_window->geometry();
    button1->click();
    QVERIFY(WindowPlacement::isTopmost(m_window));
    QCOMPARE(m_window->geometry(), before);
    button1->click();
    QVERIFY(!WindowPlacement::isTopmost(m_window));
}

void TestCompactWindow::closingAsksForMainWindow_data()
{
    QTest::addColumn<bool>("byButton2");
    QTest::newRow("Button2") << true;
    QTest::newRow("close box") << false;
}

void TestCompactWindow::closingAsksForMainWindow()
{
    QFETCH(bool, byButton2);
    QSignalSpy spy(m_window, &CompactWindow::mainWindowRequested);
    if (byButton2)
        m_window->findChild<CommandButton *>(QStringLiteral("Button2"))->click();
    else
        m_window->close();
    QCOMPARE(spy.size(), 1);
    QTRY_VERIFY(m_window.isNull());
}

QTEST_MAIN(TestCompactWindow)
#include "tst_compactwindow.moc"
