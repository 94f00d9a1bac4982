#include "core/makeraddresses.h"
#include "settings/entrylist.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "system/programfolder.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/main/mainwindow.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startShowsStoredRate_data();
    void startShowsStoredRate();
    void commands_data();
    void commands();
    void rateCommands();
    void filesBesideTheProgram_data();
    void filesBesideTheProgram();

private:
    TextBox *box(const QString &name) { return m_window->findChild<TextBox *>(name); }
    ToolBar *toolbar() { return m_window->findChild<ToolBar *>(QStringLiteral("toolBar")); }
    void freshWindow();
    void run(const QString &command, bool wait = true);

    std::unique_ptr<TestEnvironment> m_env;
    QPointer<MainWindow> m_window;
};

static const QString app = RateSetting::application();
static const QString section = RateSetting::section();
static const QString key = RateSetting::key();

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
void TestMainWindow::startShowsStoredRate_data()
{
    QTest::addColumn<QByteArray>("settings");  // none when null
    QTest::addColumn<QByteArray>("entryList"); // none when null
    QTest::addColumn<QString>("shown");

    const QByteArray garbage("\x00\xff\xfe\x01[\x80=\x00\x13", 9);
    QTest::newRow("nothing stored") << QByteArray() << QByteArray() << "19";
    QTest::newRow("seven") << QByteArray("[Zelk_Satz]\nx.Text=7\n") << QByteArray() << "7";
    QTest::newRow("empty stored") << QByteArray("[Zelk_Satz]\nx.Text=\n") << QByteArray() << "19";
    QTest::newRow("decimal comma") << QByteArray("[Zelk_Satz]\nx.Text=\"7,5\"\n") << QByteArray() << "7,5";
    QTest::newRow("empty settings") << QByteArray("") << QByteArray("") << "19";
    QTest::newRow("truncated settings") << QByteArray("[Zelk_Satz]\nx.Te") << QByteArray() << "19";
    QTest::newRow("garbage settings") << garbage << garbage << "19";
    QTest::newRow("good settings, garbage list") << QByteArray("[Zelk_Satz]\nx.Text=7\n") << garbage << "7";
}
// clang-format on

void TestMainWindow::startShowsStoredRate()
{
    const QStringList files{SettingsStore::location(app), ProgramFolder::entryListFile()};
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, entryList);
    const QList<QByteArray> written{settings, entryList};
    const auto removeList = qScopeGuard([&files] { QFile::remove(files[1]); });
    for (int i = 0; i < files.size(); ++i) {
        if (written[i].isNull())
            continue;
        QDir().mkpath(QFileInfo(files[i]).absolutePath());
        QFile file(files[i]);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(written[i]) == written[i].size());
    }
    box("netBox")->setText(QStringLiteral("5"));
    m_window->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"))->click();

    freshWindow();
    QTEST(box("rateBox")->text(), "shown");
    for (const char *amount : {"netBox", "vatBox", "grossBox"})
        QVERIFY2(box(amount)->text().isEmpty(), amount);
    QVERIFY(!m_window->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"))->isChecked());
    QVERIFY(!WindowPlacement::isTopmost(m_window));
    QVERIFY(m_window->findChild<CommandButton *>(QStringLiteral("homepageLink"))->isVisible());
    QCOMPARE(EntryList::load(files[1]), EntryList::defaultEntries());
    // Loading reads; it never writes either file.
    for (int i = 0; i < files.size(); ++i) {
        QFile file(files[i]);
        QCOMPARE(file.open(QIODevice::ReadOnly), !written[i].isNull());
        if (file.isOpen())
            QCOMPARE(file.readAll(), written[i]);
    }
}

// Runs a command as the user does: its toolbar button (pressed as an assistive
// tool does), else its menu or tray entry, else the button of that name.
void TestMainWindow::run(const QString &command, bool wait)
{
    if (QToolButton *button = toolbar()->button(command))
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    else if (auto *action = m_window->findChild<QAction *>(command))
        action->trigger();
    else
        m_window->findChild<QAbstractButton *>(command)->click();
    if (wait)
        QCoreApplication::sendPostedEvents(); // commands run after the press has returned
}

// clang-format off
void TestMainWindow::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<MessageDialog::Answer>("answer"); // to the question it asks
    QTest::addColumn<QStringList>("messages");         // "icon|title" of each message shown
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("page");                 // the address opened
    QTest::addColumn<QStringList>("signals");
    QTest::addColumn<bool>("cleared");                 // the amounts are emptied
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("later");                   // only after the press has returned

    const auto no = MessageDialog::Answer::No;
    const auto yes = MessageDialog::Answer::Yes;
    const QStringList none;
    const QString kept = QStringLiteral("alt");
    const QStringList quit{"quitRequested"};
    const QStringList exitQuestion{"question|Programm beenden"};
    const QStringList updateQuestion{"information|Online-Update"};

    QTest::newRow("Neu") << "newAction" << no << none << kept << "" << none << true << false << true;
    QTest::newRow("Nettowert kopieren") << "copyNetAction" << no << none << "100" << "" << none << false << false << true;
    QTest::newRow("Zelk.-Anteil kopieren") << "copyVatAction" << no << none << "16,00" << "" << none << false << false << true;
    QTest::newRow("Bruttowert kopieren") << "copyGrossAction" << no << none << "116,00" << "" << none << false << false << true;
    QTest::newRow("Alles kopieren") << "copyAllAction" << no << none << "100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n"
                                    << "" << none << false << false << true;
    QTest::newRow("Homepage") << "homepageAction" << no << none << kept << MakerAddresses::homePage() << none << false << false << true;
    QTest::newRow("home page link") << "homepageLink" << no << none << kept << MakerAddresses::homePage() << none << false << false << false;
    QTest::newRow("Bewerten") << "rateUsAction" << no << none << kept << MakerAddresses::ratingPage() << none << false << false << true;
    QTest::newRow("Fehler") << "reportErrorAction" << no << none << kept << MakerAddresses::errorReportPage() << none << false << false << true;
    QTest::newRow("Online-Shop") << "shopAction" << no << none << kept << MakerAddresses::shopPage() << none << false << false << true;
    QTest::newRow("Spende") << "donateAction" << no << none << kept << "" << QStringList{"donationRequested"} << false << false << true;
    QTest::newRow("Copyright") << "aboutAction" << no << none << kept << "" << QStringList{"aboutRequested"} << false << false << true;
    QTest::newRow("Autostart") << "autostartAction" << no << none << kept << "" << QStringList{"autostartRequested"} << false << false << true;
    QTest::newRow("Ansicht wechseln") << "compactAction" << no << none << kept << "" << QStringList{"compactModeRequested"} << false << true << true;
    QTest::newRow("beenden, No") << "exitAction" << no << exitQuestion << kept << "" << none << false << false << true;
    QTest::newRow("beenden, Yes") << "exitAction" << yes << exitQuestion << kept << "" << quit << false << false << true;
    QTest::newRow("tray beenden") << "trayExitAction" << no << none << kept << "" << quit << false << false << false;
    QTest::newRow("Online-Update, No") << "updateAction" << no << updateQuestion << kept << "" << none << false << false << true;
}
// clang-format on

void TestMainWindow::commands()
{
    QFETCH(QString, command);
    QFETCH(MessageDialog::Answer, answer);
    QFETCH(QString, page);
    QFETCH(bool, cleared);
    QFETCH(bool, closes);
    box("rateBox")->setText(QStringLiteral("16"));
    QTest::keyClicks(box("netBox"), QStringLiteral("100"));
    QTest::keyClick(box("netBox"), Qt::Key_Return);
    QGuiApplication::clipboard()->setText(QStringLiteral("alt"));

    QStringList emitted;
    QObject listener; // ends the connections with the row
    const auto note = [&emitted](const char *name) { return [&emitted, name] { emitted.append(name); }; };
    connect(m_window, &MainWindow::compactModeRequested, &listener, note("compactModeRequested"));
    connect(m_window, &MainWindow::aboutRequested, &listener, note("aboutRequested"));
    connect(m_window, &MainWindow::autostartRequested, &listener, note("autostartRequested"));
    connect(m_window, &MainWindow::donationRequested, &listener, note("donationRequested"));
    connect(m_window, &MainWindow::quitRequested, &listener, note("quitRequested"));
    MessageRecorder messages(answer);
    UrlCatcher catcher;

    run(command, false);
    // A modal window opened inside the press would hold an assistive tool until it closes.
    QFETCH(bool, later);
    if (later)
        QVERIFY(emitted.isEmpty() && messages.messages.isEmpty() && catcher.urls.isEmpty()
                && box("netBox")->text() == QLatin1String("100")
                && QGuiApplication::clipboard()->text() == QLatin1String("alt"));
    QCoreApplication::sendPostedEvents();

    QStringList shown;
    for (const QString &message : messages.seen())
        shown.append(message.section(QLatin1Char('|'), 0, 1));
    QTEST(shown, "messages");
    QTEST(QGuiApplication::clipboard()->text(), "clipboard");
    QCOMPARE(catcher.urls, page.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(page)});
    QTEST(emitted, "signals");
    if (closes) {
        QTRY_VERIFY(m_window.isNull());
        return;
    }
    QVERIFY(m_window->isVisible());
    QCOMPARE(box("netBox")->text(), cleared ? QString() : QStringLiteral("100"));
    QCOMPARE(box("grossBox")->text(), cleared ? QString() : QStringLiteral("116,00"));
    QCOMPARE(box("rateBox")->text(), QStringLiteral("16"));
}

void TestMainWindow::rateCommands()
{
    auto trigger = [this](const char *entry) { run(QLatin1String(entry)); };
    // Deleting with nothing stored says nothing.
    MessageRecorder messages;
    trigger("deleteRateAction");
    QVERIFY(messages.messages.isEmpty());

    box("rateBox")->setText(QStringLiteral("7"));
    trigger("saveRateAction");
    freshWindow();
    QCOMPARE(box("rateBox")->text(), QStringLiteral("7"));
    trigger("deleteRateAction");
    QCOMPARE(box("rateBox")->text(), QStringLiteral("7"));
    freshWindow();
    QCOMPARE(box("rateBox")->text(), QStringLiteral("19"));

    box("rateBox")->setText(QString());
    trigger("saveRateAction");
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("missing")), QString());
    freshWindow();
    QCOMPARE(box("rateBox")->text(), QStringLiteral("19"));
}

// clang-format off
void TestMainWindow::filesBesideTheProgram_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("present"); // beside the program: a script that notes that it ran
    QTest::addColumn<QString>("message"); // "icon|title|" and a word of the last text; none: it ran
    QTest::addColumn<QString>("named");   // the file the message ends with

    // The offscreen platform opens no files, as a desktop without viewer or browser.
    QTest::newRow("F1, pages nothing opens") << "F1" << "help/index.html" << "warning|Hilfe|Internetbrowser" << "help/index.html";
    QTest::newRow("Hilfe, no pages") << "helpAction" << "" << "warning|Hilfe|nicht gefunden" << "help/index.html";
    QTest::newRow("Online-Update, no update program") << "updateAction" << "" << "warning|Online-Update|nicht gefunden" << "update.exe";
    QTest::newRow("Online-Update starts it and ends") << "updateAction" << "update.exe" << "" << "";
}
// clang-format on

void TestMainWindow::filesBesideTheProgram()
{
    QFETCH(QString, present);
    QFETCH(QString, message);
    QFETCH(QString, named);
    const QString file = ProgramFolder::filePath(present);
    const QString marker = file + QStringLiteral(".started");
    // No CHM viewer of the machine's own counts.
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", m_env->path().toLocal8Bit());
    auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_DIRS", dataDirs);
        for (const QString &made : {file, marker}) {
            if (!present.isEmpty())
                QFile::remove(made);
        }
    });
    if (!present.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile script(file);
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\ntouch \"$0.started\"\n") > 0);
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    MessageRecorder messages(MessageDialog::Answer::Yes);
    QSignalSpy quit(m_window, &MainWindow::quitRequested);
    QFETCH(QString, command);
    if (command == QLatin1String("F1"))
        QTest::keyClick(m_window, Qt::Key_F1);
    else
        run(command);
    QCOMPARE(quit.size(), message.isEmpty() ? 1 : 0);
    if (message.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        return;
    }
    QVERIFY(!messages.messages.isEmpty() && m_window->isVisible());
    const QString seen = messages.seen().constLast();
    QVERIFY2(seen.startsWith(message.section(QLatin1Char('|'), 0, 1) + QLatin1Char('|'))
                 && seen.contains(message.section(QLatin1Char('|'), 2))
                 && seen.endsWith(QLatin1Char('\n') + ProgramFolder::filePath(named)),
             qPrintable(seen));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
