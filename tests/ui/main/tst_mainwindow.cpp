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
    void updateStartsTheUpdateProgram();
    void missingFilesAreNamed_data();
    void missingFilesAreNamed();

private:
    TextBox *box(const QString &name) { return m_window->findChild<TextBox *>(name); }
    ToolBar *toolbar() { return m_window->findChild<ToolBar *>(QStringLiteral("toolBar")); }
    void freshWindow();
    void run(const QString &command);

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

// Runs a command as the user does: its toolbar button, else its menu or tray
// entry, else the button of that name.
void TestMainWindow::run(const QString &command)
{
    if (QToolButton *button = toolbar()->button(command))
        button->click();
    else if (auto *action = m_window->findChild<QAction *>(command))
        action->trigger();
    else
        m_window->findChild<QAbstractButton *>(command)->click();
    QCoreApplication::sendPostedEvents(); // commands run after the click has returned
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

    const auto no = MessageDialog::Answer::No;
    const auto yes = MessageDialog::Answer::Yes;
    const QStringList none;
    const QString kept = QStringLiteral("alt");
    const QStringList quit{"quitRequested"};
    const QStringList exitQuestion{"question|Programm beenden"};
    const QStringList updateQuestion{"information|Online-Update"};

    QTest::newRow("Neu") << "newAction" << no << none << kept << "" << none << true << false;
    QTest::newRow("Nettowert kopieren") << "copyNetAction" << no << none << "100" << "" << none << false << false;
    QTest::newRow("Zelk.-Anteil kopieren") << "copyVatAction" << no << none << "16,00" << "" << none << false << false;
    QTest::newRow("Bruttowert kopieren") << "copyGrossAction" << no << none << "116,00" << "" << none << false << false;
    QTest::newRow("Alles kopieren") << "copyAllAction" << no << none << "100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n"
                                    << "" << none << false << false;
    // The faces of the menu buttons only open their menus.
    for (const char *menuButton : {"saveAction", "copyAction", "linksAction"})
        QTest::newRow(menuButton) << menuButton << no << none << kept << "" << none << false << false;
    QTest::newRow("Homepage") << "homepageAction" << no << none << kept << MakerAddresses::homePage() << none << false << false;
    QTest::newRow("home page link") << "homepageLink" << no << none << kept << MakerAddresses::homePage() << none << false << false;
    QTest::newRow("Bewerten") << "rateUsAction" << no << none << kept << MakerAddresses::ratingPage() << none << false << false;
    QTest::newRow("Fehler") << "reportErrorAction" << no << none << kept << MakerAddresses::errorReportPage() << none << false << false;
    QTest::newRow("Online-Shop") << "shopAction" << no << none << kept << MakerAddresses::shopPage() << none << false << false;
    QTest::newRow("Spende") << "donateAction" << no << none << kept << "" << QStringList{"donationRequested"} << false << false;
    QTest::newRow("Copyright") << "aboutAction" << no << none << kept << "" << QStringList{"aboutRequested"} << false << false;
    QTest::newRow("Autostart") << "autostartAction" << no << none << kept << "" << QStringList{"autostartRequested"} << false << false;
    QTest::newRow("Ansicht wechseln") << "compactAction" << no << none << kept << "" << QStringList{"compactModeRequested"} << false << true;
    // The offscreen platform opens no files, as a desktop without viewer or browser.
    QTest::newRow("Hilfe") << "helpAction" << no << QStringList{"warning|Hilfe"} << kept << "" << none << false << false;
    QTest::newRow("beenden, No") << "exitAction" << no << exitQuestion << kept << "" << none << false << false;
    QTest::newRow("beenden, Yes") << "exitAction" << yes << exitQuestion << kept << "" << quit << false << false;
    QTest::newRow("tray beenden") << "trayExitAction" << no << none << kept << "" << quit << false << false;
    QTest::newRow("Online-Update, No") << "updateAction" << no << updateQuestion << kept << "" << none << false << false;
    // Without an update program beside it the program says so and stays.
    QTest::newRow("Online-Update, Yes") << "updateAction" << yes << QStringList{updateQuestion.constFirst(), "warning|Online-Update"}
                                        << kept << "" << none << false << false;
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

    run(command);

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

void TestMainWindow::updateStartsTheUpdateProgram()
{
    // A stand-in update program beside the program notes that it was started.
    const QString program = ProgramFolder::updateProgram();
    const QString marker = program + QStringLiteral(".started");
    QFile::remove(marker);
    auto removeFiles = qScopeGuard([&] {
        QFile::remove(program);
        QFile::remove(marker);
    });
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch \"$0.started\"\n");
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    MessageRecorder messages(MessageDialog::Answer::Yes);
    QSignalSpy quit(m_window, &MainWindow::quitRequested);
    m_window->findChild<QAction *>(QStringLiteral("updateAction"))->trigger();
    QCOMPARE(quit.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
}

// clang-format off
void TestMainWindow::missingFilesAreNamed_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("present"); // beside the program
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("named");   // the file the message ends with

    // The offscreen platform opens no files, as a desktop without viewer or browser.
    QTest::newRow("F1, pages nothing opens") << "F1" << "help/index.html" << "Hilfe" << "Internetbrowser" << "help/index.html";
    QTest::newRow("Hilfe, no pages") << "helpAction" << "" << "Hilfe" << "nicht gefunden" << "help/index.html";
    QTest::newRow("Online-Update, no update program") << "updateAction" << "" << "Online-Update" << "nicht gefunden" << "update.exe";
}
// clang-format on

void TestMainWindow::missingFilesAreNamed()
{
    QFETCH(QString, present);
    QFETCH(QString, named);
    QFETCH(QString, says);
    const QString file = ProgramFolder::filePath(present);
    // No CHM viewer of the machine's own counts.
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", m_env->path().toLocal8Bit());
    auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_DIRS", dataDirs);
        if (!present.isEmpty())
            QFile::remove(file);
    });
    if (!present.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile page(file);
        QVERIFY(page.open(QIODevice::WriteOnly));
    }
    MessageRecorder messages(MessageDialog::Answer::Yes);
    QSignalSpy quit(m_window, &MainWindow::quitRequested);
    QFETCH(QString, command);
    if (command == QLatin1String("F1"))
        QTest::keyClick(m_window, Qt::Key_F1);
    else
        run(command);
    QVERIFY(!messages.messages.isEmpty());
    QTEST(messages.messages.constLast().title, "title");
    const QString seen = messages.seen().constLast();
    QVERIFY2(seen.contains(says) && seen.endsWith(QLatin1Char('\n') + ProgramFolder::filePath(named)),
             qPrintable(seen));
    QCOMPARE(quit.size(), 0);
    QVERIFY(m_window->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
