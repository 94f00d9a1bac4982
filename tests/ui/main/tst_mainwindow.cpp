#include "settings/settingsstore.h"
#include "support/modalanswer.h"
#include "support/testenvironment.h"
#include "system/programfolder.h"
#include "system/windowplacement.h"
#include "ui/controls/entrylist.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/main/mainwindow.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QUrl>

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void handle(const QUrl &url) { urls.append(url); }
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadShowsStoredRate_data();
    void loadShowsStoredRate();
    void damagedFilesStillStart_data();
    void damagedFilesStillStart();
    void enterComputes_data();
    void enterComputes();
    void unreadableNumbersLeaveBoxesAlone_data();
    void unreadableNumbersLeaveBoxesAlone();
    void refusedKeysWarn_data();
    void refusedKeysWarn();
    void ctrlCCopiesWholeText();
    void alwaysOnTopKeepsGeometry();
    void clearAndCopyCommands();
    void rateCommands();
    void exitAsks_data();
    void exitAsks();
    void updateClosesWhateverHappens();
    void webEntriesOpenTheirPages();
    void handOffsAreSignalled();
    void minimiseWithoutTrayStaysOnTaskBar();

private:
    TextBox *box(const char *name) { return m_window->findChild<TextBox *>(QLatin1String(name)); }
    MainWindow *freshWindow();

    std::unique_ptr<TestEnvironment> m_env;
    QPointer<MainWindow> m_window;
};

static const QString app = QStringLiteral("Zelk_2010");
static const QString section = QStringLiteral("Zelk_Satz");
static const QString key = QStringLiteral("x.Text");

MainWindow *TestMainWindow::freshWindow()
{
    if (m_window)
        m_window->close();
    m_window = new MainWindow;
    m_window->load();
    return m_window;
}

void TestMainWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    freshWindow();
}

void TestMainWindow::cleanup()
{
    if (m_window)
        m_window->close();
    QTRY_VERIFY(m_window.isNull());
    m_env.reset();
}

void TestMainWindow::loadShowsStoredRate_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing stored") << false << "" << "19";
    QTest::newRow("seven") << true << "7" << "7";
    QTest::newRow("empty stored") << true << "" << "19";
    QTest::newRow("decimal comma") << true << "7,5" << "7,5";
}

void TestMainWindow::loadShowsStoredRate()
{
    QFETCH(bool, stored);
    QFETCH(QString, value);
    if (stored)
        QVERIFY(SettingsStore::save(app, section, key, value));
    box("netto")->setText(QStringLiteral("5"));
    freshWindow();
    QTEST(box("x")->text(), "shown");
    for (const char *amount : {"netto", "zelkanteil", "brutto"})
        QVERIFY2(box(amount)->text().isEmpty(), amount);
    QVERIFY(!m_window->findChild<CommandButton *>(QStringLiteral("Button1"))->isChecked());
    QVERIFY(!WindowPlacement::isTopmost(m_window));
    QVERIFY(m_window->findChild<CommandButton *>(QStringLiteral("Command1"))->isVisible());
}

void TestMainWindow::damagedFilesStillStart_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("entryList");
    QTest::addColumn<QString>("shown");

    const QByteArray good("[Zelk_Satz]\nx.Text=7\n");
    const QByteArray garbage("\x00\xff\xfe\x01[\x80=\x00\x13", 9);
    QTest::newRow("empty settings") << QByteArray("") << QByteArray() << "19";
    QTest::newRow("truncated settings") << QByteArray("[Zelk_Satz]\nx.Te") << QByteArray() << "19";
    QTest::newRow("garbage settings") << garbage << garbage << "19";
    QTest::newRow("good settings, garbage list") << good << garbage << "7";
    QTest::newRow("good settings, empty list") << good << QByteArray("") << "7";
}

void TestMainWindow::damagedFilesStillStart()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, entryList);
    auto write = [](const QString &path, const QByteArray &content) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    const QString settingsFile = SettingsStore::location(app);
    const QString listFile = ProgramFolder::filePath(QStringLiteral("zelk.dat"));
    QVERIFY(write(settingsFile, settings));
    QVERIFY(write(listFile, entryList));

    freshWindow();
    QTEST(box("x")->text(), "shown");
    QCOMPARE(EntryList::load(listFile), EntryList::defaultEntries());
    // Loading reads; it never writes either file.
    QFile settingsAfter(settingsFile);
    QVERIFY(settingsAfter.open(QIODevice::ReadOnly));
    QCOMPARE(settingsAfter.readAll(), settings);
    QFile listAfter(listFile);
    QVERIFY(listAfter.open(QIODevice::ReadOnly));
    QCOMPARE(listAfter.readAll(), entryList);
    QFile::remove(listFile);
}

void TestMainWindow::enterComputes_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typedBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("netto");
    QTest::addColumn<QString>("zelkanteil");
    QTest::addColumn<QString>("brutto");

    QTest::newRow("net 100") << "19" << "netto" << "100" << "100" << "19,00" << "119,00";
    QTest::newRow("gross 100") << "19" << "brutto" << "100" << "84,03" << "15,97" << "100";
    QTest::newRow("gross as typed") << "19" << "brutto" << "119" << "100,00" << "19,00" << "119";
    QTest::newRow("edited rate") << "7" << "netto" << "12,34" << "12,34" << "0,86" << "13,20";
    QTest::newRow("empty box") << "19" << "netto" << "" << "" << "" << "";
}

void TestMainWindow::enterComputes()
{
    QFETCH(QString, rate);
    QFETCH(QString, typedBox);
    QFETCH(QString, typed);
    box("x")->setText(rate);
    TextBox *target = box(typedBox.toLatin1().constData());
    QTest::keyClicks(target, typed);
    SeenDialog *seen = answerNextModal(QStringLiteral("OK"));
    QTest::keyClick(target, Qt::Key_Return);
    QTest::qWait(30);
    QVERIFY(!seen->shown);
    QTEST(box("netto")->text(), "netto");
    QTEST(box("zelkanteil")->text(), "zelkanteil");
    QTEST(box("brutto")->text(), "brutto");
}

void TestMainWindow::unreadableNumbersLeaveBoxesAlone_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typedBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("empty rate") << "" << "netto" << "100" << "Mehrwertsteuersatz";
    QTest::newRow("letters in rate") << "19a" << "brutto" << "100" << "Mehrwertsteuersatz";
    QTest::newRow("fraction") << "19" << "netto" << "1/2" << "Nettowert";
    QTest::newRow("lone minus") << "19" << "brutto" << "-" << "Bruttowert";
    QTest::newRow("rate -100") << "-100" << "brutto" << "100" << "kein Ergebnis";
}

void TestMainWindow::unreadableNumbersLeaveBoxesAlone()
{
    QFETCH(QString, rate);
    QFETCH(QString, typedBox);
    QFETCH(QString, typed);
    QFETCH(QString, mentions);
    box("x")->setText(rate);
    box("zelkanteil")->setText(QStringLiteral("1,00"));
    TextBox *target = box(typedBox.toLatin1().constData());
    QTest::keyClicks(target, typed);
    SeenDialog *seen = answerNextModal(QStringLiteral("OK"));
    QTest::keyClick(target, Qt::Key_Return);
    QTRY_VERIFY(seen->shown);
    QCOMPARE(seen->title, QStringLiteral("Ungültige Eingabe"));
    QCOMPARE(seen->styleCode, 48);
    QVERIFY2(seen->text.contains(mentions), qPrintable(seen->text));
    QCOMPARE(target->text(), typed);
    QCOMPARE(box("zelkanteil")->text(), QStringLiteral("1,00"));
    QCOMPARE(box("x")->text(), rate);
}

void TestMainWindow::refusedKeysWarn_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("warns");

    QTest::newRow("letter in netto") << "netto" << int(Qt::Key_A) << 0 << true;
    QTest::newRow("blank in brutto") << "brutto" << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Ctrl+V") << "netto" << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
    QTest::newRow("Escape") << "brutto" << int(Qt::Key_Escape) << 0 << true;
    QTest::newRow("slash passes") << "netto" << int(Qt::Key_Slash) << 0 << false;
    QTest::newRow("letter in zelkanteil") << "zelkanteil" << int(Qt::Key_A) << 0 << false;
}

void TestMainWindow::refusedKeysWarn()
{
    QFETCH(QString, boxName);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, warns);
    TextBox *target = box(boxName.toLatin1().constData());
    target->setText(QStringLiteral("12"));
    target->setCursorPosition(2);
    SeenDialog *seen = answerNextModal(QStringLiteral("OK"));
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTest::qWait(30);
    QCOMPARE(seen->shown, warns);
    if (warns) {
        QCOMPARE(seen->title, QStringLiteral("Falsche Eingabe"));
        QCOMPARE(seen->text, QStringLiteral("Es können hier nur Zahlen bzw. Ziffern eingegeben werden."));
        QCOMPARE(seen->styleCode, 48);
        QCOMPARE(target->text(), QStringLiteral("12"));
    }
}

void TestMainWindow::ctrlCCopiesWholeText()
{
    for (const char *name : {"netto", "zelkanteil"}) {
        box(name)->setText(QStringLiteral("1.234,5"));
        QGuiApplication::clipboard()->setText(QStringLiteral("alt"));
        QTest::keyClick(box(name), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1.234,5"));
    }
}

void TestMainWindow::alwaysOnTopKeepsGeometry()
{
    auto *button1 = m_window->findChild<CommandButton *>(QStringLiteral("Button1"));
    const QRect before = m_window->geometry();
    const WId id = m_window->winId();
    button1->click();
    QVERIFY(button1->isChecked());
    QVERIFY(WindowPlacement::isTopmost(m_window));
    QCOMPARE(m_window->geometry(), before);
    QCOMPARE(m_window->winId(), id);
    button1->click();
    QVERIFY(!WindowPlacement::isTopmost(m_window));
    QCOMPARE(m_window->geometry(), before);
}

void TestMainWindow::clearAndCopyCommands()
{
    auto *bar = m_window->findChild<ToolBar *>(QStringLiteral("Coolbar1"));
    box("x")->setText(QStringLiteral("16"));
    QTest::keyClicks(box("netto"), QStringLiteral("100"));
    QTest::keyClick(box("netto"), Qt::Key_Return);

    bar->menuEntry(QStringLiteral("alles_bm"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n"));
    bar->menuEntry(QStringLiteral("anteil_bm"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("16,00"));
    bar->menuEntry(QStringLiteral("brutto_bm"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("116,00"));

    bar->button(QStringLiteral("neu_bar"))->click();
    for (const char *amount : {"netto", "zelkanteil", "brutto"})
        QVERIFY(box(amount)->text().isEmpty());
    QCOMPARE(box("x")->text(), QStringLiteral("16"));
    bar->menuEntry(QStringLiteral("alles_bm"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" (Netto)\r\n (16 %)\r\n (Brutto)\r\n"));
    bar->menuEntry(QStringLiteral("netto_bm"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestMainWindow::rateCommands()
{
    auto trigger = [this](const char *entry) {
        m_window->findChild<ToolBar *>(QStringLiteral("Coolbar1"))->menuEntry(QLatin1String(entry))->trigger();
    };
    // Deleting with nothing stored says nothing.
    SeenDialog *seen = answerNextModal(QStringLiteral("OK"));
    trigger("prozentwertloeschen_bm");
    QTest::qWait(30);
    QVERIFY(!seen->shown);

    box("x")->setText(QStringLiteral("7"));
    trigger("prozentwert_bm");
    QCOMPARE(freshWindow()->findChild<TextBox *>(QStringLiteral("x"))->text(), QStringLiteral("7"));
    trigger("prozentwertloeschen_bm");
    QCOMPARE(box("x")->text(), QStringLiteral("7"));
    QCOMPARE(freshWindow()->findChild<TextBox *>(QStringLiteral("x"))->text(), QStringLiteral("19"));

    box("x")->setText(QString());
    trigger("prozentwert_bm");
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("missing")), QString());
    QCOMPARE(freshWindow()->findChild<TextBox *>(QStringLiteral("x"))->text(), QStringLiteral("19"));
}

void TestMainWindow::exitAsks_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("No") << "NEIN" << false;
    QTest::newRow("Escape") << "" << false;
    QTest::newRow("Yes") << "JA" << true;
}

void TestMainWindow::exitAsks()
{
    QFETCH(QString, answer);
    QFETCH(bool, ends);
    box("netto")->setText(QStringLiteral("100"));
    SeenDialog *seen = answerNextModal(answer);
    m_window->onToolbarButtonClicked(QStringLiteral("ende_bar"));
    QVERIFY(seen->shown);
    QCOMPARE(seen->text, QStringLiteral("Wollen Sie das Programm wirklich beenden?"));
    QCOMPARE(seen->title, QStringLiteral("Programm beenden"));
    QCOMPARE(seen->styleCode, 36);
    if (ends) {
        QTRY_VERIFY(m_window.isNull());
    } else {
        QTest::qWait(30);
        QVERIFY(m_window);
        QCOMPARE(box("netto")->text(), QStringLiteral("100"));
    }
}

void TestMainWindow::updateClosesWhateverHappens()
{
    SeenDialog *seen = answerNextModal(QStringLiteral("NEIN"));
    m_window->onToolbarButtonClicked(QStringLiteral("update_bar"));
    QCOMPARE(seen->title, QStringLiteral("Online-Update"));
    QCOMPARE(seen->styleCode, 68);
    QCOMPARE(seen->text.split(QLatin1Char('\r')).size(), 7);
    QVERIFY(seen->text.endsWith(QStringLiteral("Soll das Update-Modul nun aufgerufen werden?")));
    QTest::qWait(30);
    QVERIFY(m_window);

    // There is no update.exe beside the test; the program closes all the same.
    seen = answerNextModal(QStringLiteral("JA"));
    m_window->onToolbarButtonClicked(QStringLiteral("update_bar"));
    QTRY_VERIFY(m_window.isNull());
}

void TestMainWindow::webEntriesOpenTheirPages()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "handle");
    auto *bar = m_window->findChild<ToolBar *>(QStringLiteral("Coolbar1"));
    for (const char *entry : {"home_bm", "bewerten_bm", "fehler_bm", "shop_bm"})
        bar->menuEntry(QLatin1String(entry))->trigger();
    m_window->findChild<CommandButton *>(QStringLiteral("Command1"))->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    QCOMPARE(catcher.urls.size(), 5);
    QCOMPARE(catcher.urls.at(1).path(), QStringLiteral("/portal3/pages/kontakt/bewertung.php"));
    QCOMPARE(catcher.urls.at(2).path(), QStringLiteral("/portal3/pages/kontakt/fehlermeldung.php"));
    QCOMPARE(catcher.urls.at(4), catcher.urls.at(0));
    for (const QUrl &url : std::as_const(catcher.urls))
        QVERIFY(url.host().endsWith(QStringLiteral(".example")));
}

void TestMainWindow::handOffsAreSignalled()
{
    QSignalSpy about(m_window, &MainWindow::aboutRequested);
    QSignalSpy donation(m_window, &MainWindow::donationRequested);
    QSignalSpy autostart(m_window, &MainWindow::autostartRequested);
    QSignalSpy compact(m_window, &MainWindow::compactModeRequested);
    auto *bar = m_window->findChild<ToolBar *>(QStringLiteral("Coolbar1"));
    // Menu buttons themselves only open their menus.
    for (const char *key : {"save_bar", "kop_bar", "links_bar", "unknown"})
        m_window->onToolbarButtonClicked(QLatin1String(key));
    QCOMPARE(about.size() + donation.size() + autostart.size() + compact.size(), 0);

    bar->button(QStringLiteral("info_bar"))->click();
    bar->button(QStringLiteral("auto_bar"))->click();
    bar->menuEntry(QStringLiteral("spende_bm"))->trigger();
    QCOMPARE(about.size(), 1);
    QCOMPARE(autostart.size(), 1);
    QCOMPARE(donation.size(), 1);

    bar->button(QStringLiteral("modus_bar"))->click();
    QCOMPARE(compact.size(), 1);
    QTRY_VERIFY(m_window.isNull());
}

void TestMainWindow::minimiseWithoutTrayStaysOnTaskBar()
{
    // The offscreen platform has no notification area.
    m_window->showMinimized();
    QTest::qWait(30);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->isMinimized());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
