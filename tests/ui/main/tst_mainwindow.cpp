#include "settings/settingsstore.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "system/programfolder.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "settings/entrylist.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/main/mainwindow.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

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
    void enter_data();
    void enter();
    void refusedKeysWarn_data();
    void refusedKeysWarn();
    void ctrlCCopiesWholeText();
    void alwaysOnTopKeepsGeometry();
    void clearAndCopyCommands();
    void rateCommands();
    void questions_data();
    void questions();
    void pagesAndWindows();
    void helpWithNothingToOpenItSaysSo();

private:
    TextBox *box(const QString &name) { return m_window->findChild<TextBox *>(name); }
    ToolBar *toolbar() { return m_window->findChild<ToolBar *>(QStringLiteral("Coolbar1")); }
    void freshWindow();

    std::unique_ptr<TestEnvironment> m_env;
    QPointer<MainWindow> m_window;
};

static const QString app = QStringLiteral("Zelk_2010");
static const QString section = QStringLiteral("Zelk_Satz");
static const QString key = QStringLiteral("x.Text");

void TestMainWindow::freshWindow()
{
    if (m_window)
        m_window->close();
    m_window = new MainWindow;
    m_window->load();
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

// clang-format off
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
// clang-format on

void TestMainWindow::loadShowsStoredRate()
{
    QFETCH(bool, stored);
    QFETCH(QString, value);
    if (stored)
        QVERIFY(SettingsStore::save(app, section, key, value));
    box("netto")->setText(QStringLiteral("5"));
    m_window->findChild<CommandButton *>(QStringLiteral("Button1"))->click();
    freshWindow();
    QTEST(box("x")->text(), "shown");
    for (const char *amount : {"netto", "zelkanteil", "brutto"})
        QVERIFY2(box(amount)->text().isEmpty(), amount);
    QVERIFY(!m_window->findChild<CommandButton *>(QStringLiteral("Button1"))->isChecked());
    QVERIFY(!WindowPlacement::isTopmost(m_window));
    QVERIFY(m_window->findChild<CommandButton *>(QStringLiteral("Command1"))->isVisible());
}

// clang-format off
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
}
// clang-format on

void TestMainWindow::damagedFilesStillStart()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, entryList);
    const QString settingsFile = SettingsStore::location(app);
    const QString listFile = ProgramFolder::filePath(QStringLiteral("zelk.dat"));
    const QStringList files{settingsFile, listFile};
    const QList<QByteArray> contents{settings, entryList};
    for (int i = 0; i < files.size(); ++i) {
        QDir().mkpath(QFileInfo(files[i]).absolutePath());
        QFile file(files[i]);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents[i]) == contents[i].size());
    }

    freshWindow();
    QTEST(box("x")->text(), "shown");
    QCOMPARE(EntryList::load(listFile), EntryList::defaultEntries());
    // Loading reads; it never writes either file.
    for (int i = 0; i < files.size(); ++i) {
        QFile file(files[i]);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), contents[i]);
    }
    QFile::remove(listFile);
}

// clang-format off
void TestMainWindow::enter_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typedBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("netto");
    QTest::addColumn<QString>("zelkanteil");
    QTest::addColumn<QString>("brutto");
    QTest::addColumn<QString>("message"); // a word of the message shown, or none

    QTest::newRow("net 100") << "19" << "netto" << "100" << "100" << "19,00" << "119,00" << "";
    QTest::newRow("gross 100") << "19" << "brutto" << "100" << "84,03" << "15,97" << "100" << "";
    QTest::newRow("gross stays as typed") << "19" << "brutto" << "119" << "100,00" << "19,00" << "119" << "";
    QTest::newRow("edited rate") << "7" << "netto" << "12,34" << "12,34" << "0,86" << "13,20" << "";
    QTest::newRow("empty box") << "19" << "netto" << "" << "" << "" << "" << "";
    QTest::newRow("empty rate") << "" << "netto" << "100" << "100" << "" << "" << "Mehrwertsteuersatz";
    QTest::newRow("letters in rate") << "19a" << "brutto" << "100" << "" << "" << "100" << "Mehrwertsteuersatz";
    QTest::newRow("fraction") << "19" << "netto" << "1/2" << "1/2" << "" << "" << "Nettowert";
    QTest::newRow("lone minus") << "19" << "brutto" << "-" << "" << "" << "-" << "Bruttowert";
    QTest::newRow("rate -100") << "-100" << "brutto" << "100" << "" << "" << "100" << "kein Ergebnis";
}
// clang-format on

void TestMainWindow::enter()
{
    QFETCH(QString, rate);
    QFETCH(QString, typedBox);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    box("x")->setText(rate);
    QTest::keyClicks(box(typedBox), typed);
    MessageRecorder messages;
    QTest::keyClick(box(typedBox), Qt::Key_Return);
    QCOMPARE(messages.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        const QString seen = messages.seen().constFirst();
        QVERIFY2(seen.startsWith(QStringLiteral("warning|Ungültige Eingabe|")) && seen.contains(message),
                 qPrintable(seen));
    }
    QTEST(box("netto")->text(), "netto");
    QTEST(box("zelkanteil")->text(), "zelkanteil");
    QTEST(box("brutto")->text(), "brutto");
    QCOMPARE(box("x")->text(), rate);
}

// clang-format off
void TestMainWindow::refusedKeysWarn_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("warns");
    QTest::addColumn<QString>("after");

    QTest::newRow("letter in netto") << "netto" << int(Qt::Key_A) << 0 << true << "12";
    QTest::newRow("blank in brutto") << "brutto" << int(Qt::Key_Space) << 0 << true << "12";
    QTest::newRow("Ctrl+V") << "netto" << int(Qt::Key_V) << int(Qt::ControlModifier) << true << "12";
    QTest::newRow("Escape") << "brutto" << int(Qt::Key_Escape) << 0 << true << "12";
    QTest::newRow("slash passes") << "netto" << int(Qt::Key_Slash) << 0 << false << "12/";
    QTest::newRow("Backspace passes") << "brutto" << int(Qt::Key_Backspace) << 0 << false << "1";
    // The locked box reports keys but never changes.
    QTest::newRow("letter in zelkanteil") << "zelkanteil" << int(Qt::Key_A) << 0 << false << "12";
    QTest::newRow("Backspace in zelkanteil") << "zelkanteil" << int(Qt::Key_Backspace) << 0 << false << "12";
}
// clang-format on

void TestMainWindow::refusedKeysWarn()
{
    QFETCH(QString, boxName);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, warns);
    TextBox *target = box(boxName);
    target->setText(QStringLiteral("12"));
    MessageRecorder messages;
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(messages.seen(),
             warns ? QStringList{QStringLiteral(
                 "warning|Falsche Eingabe|Es können hier nur Zahlen bzw. Ziffern eingegeben werden.")}
                   : QStringList());
    QTEST(target->text(), "after");
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
    for (bool expected : {true, false}) {
        button1->click();
        QCOMPARE(button1->isChecked(), expected);
        QCOMPARE(WindowPlacement::isTopmost(m_window), expected);
        QCOMPARE(m_window->geometry(), before);
        QCOMPARE(m_window->winId(), id);
    }
}

void TestMainWindow::clearAndCopyCommands()
{
    box("x")->setText(QStringLiteral("16"));
    QTest::keyClicks(box("netto"), QStringLiteral("100"));
    QTest::keyClick(box("netto"), Qt::Key_Return);
    auto copied = [this](const char *entry) {
        toolbar()->menuEntry(QLatin1String(entry))->trigger();
        QCoreApplication::sendPostedEvents(); // commands run after the click has returned
        return QGuiApplication::clipboard()->text();
    };
    QCOMPARE(copied("alles_bm"), QStringLiteral("100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n"));
    QCOMPARE(copied("anteil_bm"), QStringLiteral("16,00"));
    QCOMPARE(copied("brutto_bm"), QStringLiteral("116,00"));

    toolbar()->button(QStringLiteral("neu_bar"))->click();
    QCoreApplication::sendPostedEvents();
    for (const char *amount : {"netto", "zelkanteil", "brutto"})
        QVERIFY(box(amount)->text().isEmpty());
    QCOMPARE(box("x")->text(), QStringLiteral("16"));
    QCOMPARE(copied("alles_bm"), QStringLiteral(" (Netto)\r\n (16 %)\r\n (Brutto)\r\n"));
    QCOMPARE(copied("netto_bm"), QString());
}

void TestMainWindow::rateCommands()
{
    auto trigger = [this](const char *entry) {
        toolbar()->menuEntry(QLatin1String(entry))->trigger();
        QCoreApplication::sendPostedEvents(); // commands run after the click has returned
    };
    // Deleting with nothing stored says nothing.
    MessageRecorder messages;
    trigger("prozentwertloeschen_bm");
    QVERIFY(messages.messages.isEmpty());

    box("x")->setText(QStringLiteral("7"));
    trigger("prozentwert_bm");
    freshWindow();
    QCOMPARE(box("x")->text(), QStringLiteral("7"));
    trigger("prozentwertloeschen_bm");
    QCOMPARE(box("x")->text(), QStringLiteral("7"));
    freshWindow();
    QCOMPARE(box("x")->text(), QStringLiteral("19"));

    box("x")->setText(QString());
    trigger("prozentwert_bm");
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("missing")), QString());
    freshWindow();
    QCOMPARE(box("x")->text(), QStringLiteral("19"));
}

// clang-format off
void TestMainWindow::questions_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<MessageDialog::Answer>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<MessageDialog::Icon>("icon");
    QTest::addColumn<bool>("ends");

    const auto question = MessageDialog::Icon::Question;
    const auto information = MessageDialog::Icon::Information;
    QTest::newRow("exit, No") << "ende_bar" << MessageDialog::Answer::No << "Programm beenden" << question << false;
    QTest::newRow("exit, Yes") << "ende_bar" << MessageDialog::Answer::Yes << "Programm beenden" << question << true;
    QTest::newRow("update, No") << "update_bar" << MessageDialog::Answer::No << "Online-Update" << information << false;
    // There is no update.exe beside the test; the program closes all the same.
    QTest::newRow("update, Yes") << "update_bar" << MessageDialog::Answer::Yes << "Online-Update" << information << true;
}
// clang-format on

void TestMainWindow::questions()
{
    QFETCH(QString, command);
    QFETCH(MessageDialog::Answer, answer);
    QFETCH(bool, ends);
    box("netto")->setText(QStringLiteral("100"));
    MessageRecorder messages(answer);
    QSignalSpy quit(m_window, &MainWindow::quitRequested);
    m_window->onToolbarButtonClicked(command);
    QCOMPARE(messages.messages.size(), 1);
    const MessageDialog::Message &seen = messages.messages.constFirst();
    QVERIFY(seen.question);
    QTEST(seen.title, "title");
    QTEST(seen.icon, "icon");
    if (command == QLatin1String("ende_bar"))
        QCOMPARE(seen.text, QStringLiteral("Wollen Sie das Programm wirklich beenden?"));
    else
        QCOMPARE(seen.text.split(QLatin1Char('\r')).size(), 7);
    QCOMPARE(quit.size(), ends ? 1 : 0);
    QCOMPARE(box("netto")->text(), QStringLiteral("100"));
}

void TestMainWindow::pagesAndWindows()
{
    QSignalSpy about(m_window, &MainWindow::aboutRequested);
    QSignalSpy donation(m_window, &MainWindow::donationRequested);
    QSignalSpy autostart(m_window, &MainWindow::autostartRequested);
    QSignalSpy compact(m_window, &MainWindow::compactModeRequested);
    // Menu buttons themselves only open their menus.
    for (const char *key : {"save_bar", "kop_bar", "links_bar", "unknown"})
        m_window->onToolbarButtonClicked(QLatin1String(key));
    QCOMPARE(about.size() + donation.size() + autostart.size() + compact.size(), 0);

    UrlCatcher catcher;
    for (const char *entry : {"home_bm", "bewerten_bm", "fehler_bm", "shop_bm"})
        toolbar()->menuEntry(QLatin1String(entry))->trigger();
    QCoreApplication::sendPostedEvents();
    m_window->findChild<CommandButton *>(QStringLiteral("Command1"))->click();
    QCOMPARE(catcher.urls.size(), 5);
    QCOMPARE(catcher.urls.at(1).path(), QStringLiteral("/portal3/pages/kontakt/bewertung.php"));
    QCOMPARE(catcher.urls.at(2).path(), QStringLiteral("/portal3/pages/kontakt/fehlermeldung.php"));
    QCOMPARE(catcher.urls.at(4), catcher.urls.at(0));

    toolbar()->button(QStringLiteral("info_bar"))->click();
    toolbar()->button(QStringLiteral("auto_bar"))->click();
    toolbar()->menuEntry(QStringLiteral("spende_bm"))->trigger();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(about.size() + autostart.size() + donation.size(), 3);
    toolbar()->button(QStringLiteral("modus_bar"))->click();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(compact.size(), 1);
    QTRY_VERIFY(m_window.isNull());
}

void TestMainWindow::helpWithNothingToOpenItSaysSo()
{
    // The offscreen platform opens no files, as a desktop without viewer or browser.
    MessageRecorder messages;
    QTest::keyClick(m_window, Qt::Key_F1);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(messages.messages.size(), 1);
    const QString seen = messages.seen().constFirst();
    QVERIFY2(seen.startsWith(QStringLiteral("warning|Hilfe|"))
                 && seen.endsWith(QLatin1Char('\n') + ProgramFolder::filePath(QStringLiteral("help/index.html"))),
             qPrintable(seen));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
