// The main window and the compact window, as users, keyboard users and
// assistive tools reach them.
#include "core/makeraddresses.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/entrylistdriver.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "system/programfolder.h"
#include "system/windowplacement.h"
#include "ui/compact/compactwindow.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/main/mainwindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startShowsStoredRate_data();
    void startShowsStoredRate();
    void commands_data();
    void commands();
    void filesBesideTheProgram_data();
    void filesBesideTheProgram();
    void menuButtonsAreSplitButtons();
    void toggleActionPutsWindowOnTop_data();
    void toggleActionPutsWindowOnTop();
    void textsShowWhole_data();
    void textsShowWhole();
    void everyControl_data();
    void everyControl();

private:
    QWidget *window(const QString &which)
    {
        return which == QLatin1String("main") ? static_cast<QWidget *>(m_window) : m_compact.data();
    }
    TextBox *box(const QString &which, const QString &name)
    {
        return window(which)->findChild<TextBox *>(name);
    }
    TextBox *box(const QString &name) { return m_window->findChild<TextBox *>(name); }
    ToolBar *toolbar() { return m_window->findChild<ToolBar *>(QStringLiteral("toolBar")); }
    void freshWindow();
    void run(const QString &command, bool wait = true);

    std::unique_ptr<TestEnvironment> m_env;
    QPointer<MainWindow> m_window;
    QPointer<CompactWindow> m_compact;
};

namespace {

QAccessibleActionInterface *actions(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->actionInterface() : nullptr;
}

// The room a label's or push button's caption has, and the room it needs.
std::pair<QRect, QSize> captionRoom(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        const int margin = label->margin();
        const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect limit(room.topLeft(), QSize(room.width(), QWIDGETSIZE_MAX));
        return {room, label->fontMetrics().boundingRect(limit, flags, label->text()).size()};
    }
    auto *button = qobject_cast<QPushButton *>(widget);
    if (!button)
        return {};
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = button->isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    // The style leaves 4 px between the icon and the text.
    if (!button->icon().isNull())
        needed.rwidth() += button->iconSize().width() + 4;
    return {button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button), needed};
}

} // namespace

void TestMainWindow::freshWindow()
{
    if (m_window)
        m_window->close();
    m_window = new MainWindow;
    m_window->load();
}

void TestMainWindow::initTestCase()
{
    // Measured in the program's own lettering.
    ProgramLook::apply();
}

void TestMainWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    freshWindow();
    m_compact = new CompactWindow;
    m_compact->load();
}

void TestMainWindow::cleanup()
{
    for (QWidget *w : {static_cast<QWidget *>(m_window), static_cast<QWidget *>(m_compact)}) {
        if (w)
            w->close();
    }
    QTRY_VERIFY(m_window.isNull() && m_compact.isNull());
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
    QTest::newRow("empty settings") << QByteArray("") << QByteArray("") << "19";
    QTest::newRow("garbage settings") << garbage << garbage << "19";
}
// clang-format on

void TestMainWindow::startShowsStoredRate()
{
    const QStringList files{SettingsStore::location(RateSetting::application()),
                            ProgramFolder::entryListFile()};
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
    // Without a picture the tray icon leaves nothing to click the window back with.
    QVERIFY(!m_window->findChild<QSystemTrayIcon *>()->icon().isNull());
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
        actions(button)->doAction(QAccessibleActionInterface::pressAction());
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
    QTest::addColumn<int>("key");                      // on the button; else pressed as assistive tools do
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("stored");                // the rate a new window shows after; 7 before

    const auto no = MessageDialog::Answer::No;
    const auto yes = MessageDialog::Answer::Yes;
    const QStringList none;
    const QString kept = QStringLiteral("alt");
    const QStringList quit{"quitRequested"};
    const QStringList exitQuestion{"question|Programm beenden"};
    const QStringList updateQuestion{"information|Online-Update"};

    QTest::newRow("Neu") << "newAction" << no << none << kept << "" << none << true << false << true << 0 << "main" << "7";
    QTest::newRow("Nettowert kopieren") << "copyNetAction" << no << none << "100" << "" << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Zelk.-Anteil kopieren") << "copyVatAction" << no << none << "16,00" << "" << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Bruttowert kopieren") << "copyGrossAction" << no << none << "116,00" << "" << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Alles kopieren") << "copyAllAction" << no << none << "100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n"
                                    << "" << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Homepage") << "homepageAction" << no << none << kept << MakerAddresses::homePage() << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("home page link") << "homepageLink" << no << none << kept << MakerAddresses::homePage() << none << false << false << false << 0 << "main" << "7";
    QTest::newRow("Bewerten") << "rateUsAction" << no << none << kept << MakerAddresses::ratingPage() << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Fehler") << "reportErrorAction" << no << none << kept << MakerAddresses::errorReportPage() << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Online-Shop") << "shopAction" << no << none << kept << MakerAddresses::shopPage() << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("Spende") << "donateAction" << no << none << kept << "" << QStringList{"donationRequested"} << false << false << true << 0 << "main" << "7";
    QTest::newRow("Copyright") << "aboutAction" << no << none << kept << "" << QStringList{"aboutRequested"} << false << false << true << 0 << "main" << "7";
    QTest::newRow("Autostart") << "autostartAction" << no << none << kept << "" << QStringList{"autostartRequested"} << false << false << true << 0 << "main" << "7";
    QTest::newRow("Ansicht wechseln") << "compactAction" << no << none << kept << "" << QStringList{"compactModeRequested"} << false << true << true << 0 << "main" << "7";
    QTest::newRow("beenden, No") << "exitAction" << no << exitQuestion << kept << "" << none << false << false << true << 0 << "main" << "7";
    QTest::newRow("beenden, Yes") << "exitAction" << yes << exitQuestion << kept << "" << quit << false << false << true << 0 << "main" << "7";
    QTest::newRow("tray beenden") << "trayExitAction" << no << none << kept << "" << quit << false << false << false << 0 << "main" << "7";
    QTest::newRow("Zelk. speichern") << "saveRateAction" << no << none << kept << "" << none << false << false << true << 0 << "main" << "16";
    QTest::newRow("Zelk. löschen") << "deleteRateAction" << no << none << kept << "" << none << false << false << true << 0 << "main" << "19";
    QTest::newRow("Online-Update, No") << "updateAction" << no << updateQuestion << kept << "" << none << false << false << true << 0 << "main" << "7";
    // Return and the keypad's Enter press the focused button.
    const int enter = Qt::Key_Enter;
    const int ret = Qt::Key_Return;
    QTest::newRow("Neu, Return") << "newAction" << no << none << kept << "" << none << true << false << true << ret << "main" << "7";
    QTest::newRow("Neu, keypad Enter") << "newAction" << no << none << kept << "" << none << true << false << true << enter << "main" << "7";
    QTest::newRow("compact Neu") << "newButton" << no << none << kept << "" << none << true << false << false << enter << "compact" << "7";
    QTest::newRow("compact Netto kopieren") << "copyNetButton" << no << none << "100" << "" << none << false << false << false << ret << "compact" << "7";
    QTest::newRow("compact Zelk.-Anteil kopieren") << "copyVatButton" << no << none << "16,00" << "" << none << false << false << false << enter << "compact" << "7";
    QTest::newRow("compact Brutto kopieren") << "copyGrossButton" << no << none << "116,00" << "" << none << false << false << false << ret << "compact" << "7";
}
// clang-format on

void TestMainWindow::commands()
{
    QFETCH(QString, command);
    QFETCH(MessageDialog::Answer, answer);
    QFETCH(QString, page);
    QFETCH(bool, cleared);
    QFETCH(bool, closes);
    QFETCH(int, key);
    QFETCH(QString, which);
    QVERIFY(!RateSetting::save(QStringLiteral("7")).failed());
    box(which, QStringLiteral("rateBox"))->setText(QStringLiteral("16"));
    QTest::keyClicks(box(which, QStringLiteral("netBox")), QStringLiteral("100"));
    QTest::keyClick(box(which, QStringLiteral("netBox")), Qt::Key_Return);
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

    if (key)
        QTest::keyClick(window(which)->findChild<QAbstractButton *>(command), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    else
        run(command, false);
    // A modal window opened inside the press would hold an assistive tool until it closes.
    QFETCH(bool, later);
    if (later)
        QVERIFY(emitted.isEmpty() && messages.messages.isEmpty() && catcher.urls.isEmpty()
                && box(which, QStringLiteral("netBox"))->text() == QLatin1String("100")
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
    QVERIFY(window(which)->isVisible());
    QCOMPARE(box(which, QStringLiteral("netBox"))->text(), cleared ? QString() : QStringLiteral("100"));
    QCOMPARE(box(which, QStringLiteral("grossBox"))->text(), cleared ? QString() : QStringLiteral("116,00"));
    QCOMPARE(box(which, QStringLiteral("rateBox"))->text(), QStringLiteral("16"));
    freshWindow();
    QTEST(box(QStringLiteral("rateBox"))->text(), "stored");
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

void TestMainWindow::menuButtonsAreSplitButtons()
{
    for (const char *key : {"saveAction", "copyAction", "linksAction"}) {
        QToolButton *button = toolbar()->button(QLatin1String(key));
        QSignalSpy triggered(m_window->findChild<QAction *>(QLatin1String(key)), &QAction::triggered);
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        // The face does nothing.
        button->click();
        QCoreApplication::sendPostedEvents();
        QVERIFY2(!QApplication::activePopupWidget(), key);

        // ShowMenu returns first, then the menu opens; so do Enter and keypad Enter.
        const QList<std::function<void()>> openers{
            [button] { actions(button)->doAction(QAccessibleActionInterface::showMenuAction()); },
            [button] { QTest::keyClick(button, Qt::Key_Return); },
            [button] { QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier); },
        };
        for (const auto &open : openers)
            QCOMPARE(popupOpenedBy(open), button->menu()->objectName());
        QCOMPARE(triggered.size(), 0);
    }
}

void TestMainWindow::toggleActionPutsWindowOnTop_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("Immer im Vordergrund") << "main";
    QTest::newRow("Vordergrund") << "compact";
}

void TestMainWindow::toggleActionPutsWindowOnTop()
{
    QFETCH(QString, which);
    QWidget *w = window(which);
    auto *toggle = w->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"));
    // The window stays where it is, the same window.
    const QRect before = w->geometry();
    const WId id = w->winId();
    for (bool expected : {true, false}) {
        actions(toggle)->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(toggle->isChecked(), expected);
        QCOMPARE(WindowPlacement::isTopmost(w), expected);
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->winId(), id);
    }
}

// clang-format off
void TestMainWindow::textsShowWhole_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed"); // and the focus then leaves the box; else the program sets it
    QTest::addColumn<bool>("whole"); // else it is too long, and its start shows
    QTest::addColumn<QString>("screenshot");

    QTest::newRow("netBox") << "main" << "netBox" << "999999999999,99" << false << true << "main-netto-15-characters.png";
    QTest::newRow("grossBox") << "main" << "grossBox" << "999999999999,99" << false << true << "";
    QTest::newRow("rate 16,5") << "main" << "rateBox" << "16,5" << false << true << "main-rate-16,5.png";
    QTest::newRow("typed rate 10,7") << "main" << "rateBox" << "10,7" << true << true << "";
    QTest::newRow("typed long rate") << "main" << "rateBox" << "123456,789" << true << false << "";
    QTest::newRow("compact rate 16,5") << "compact" << "rateBox" << "16,5" << false << true << "compact-rate-16,5.png";
    QTest::newRow("compact typed rate 10,7") << "compact" << "rateBox" << "10,7" << true << true << "";
    QTest::newRow("compact long result") << "compact" << "grossBox" << "1190000000000000,00" << false << false << "";
}
// clang-format on

void TestMainWindow::textsShowWhole()
{
    QFETCH(QString, which);
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QWidget *w = window(which);
    TextBox *target = box(which, boxName);
    if (typed) {
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        target->setFocus();
        target->clear();
        QTest::keyClicks(target, text);
        QTest::keyClick(target, Qt::Key_Tab);
        QVERIFY(!target->hasFocus());
    } else {
        target->setText(text);
    }
    // The start shows; with the cursor at the end, it still shows when the text is whole.
    const QPoint start(0, target->height() / 2);
    const QPixmap shot = w->grab(); // the box scrolls its text as it paints
    QCOMPARE(target->cursorPositionAt(start), 0);
    target->end(false);
    w->grab();
    QFETCH(bool, whole);
    QCOMPARE(target->cursorPositionAt(start) == 0, whole);

    // For the eye: the suite keeps these beside the real-window screenshots.
    QFETCH(QString, screenshot);
    const QString shots = qEnvironmentVariable("ZELK_SCREENSHOTS");
    if (!shots.isEmpty() && !screenshot.isEmpty() && QDir().mkpath(shots))
        QVERIFY(shot.save(QDir(shots).filePath(screenshot)));
}

void TestMainWindow::everyControl_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("style");
    // Fusion as on Linux desktops; Windows as under Wine, which has no visual styles.
    for (const char *which : {"main", "compact"}) {
        for (const char *style : {"Fusion", "Windows"})
            QTest::addRow("%s, %s", which, style) << which << style;
    }
}

// Every control as a screen reader names it, as its caption is laid out, as
// Tab reaches it and as its context menu offers it.
void TestMainWindow::everyControl()
{
    QFETCH(QString, which);
    QFETCH(QString, style);
    QWidget *w = window(which);
    const QString before = QApplication::style()->name();
    QApplication::setStyle(style);
    const auto restore = qScopeGuard([&before] { QApplication::setStyle(before); });
    int named = 0;
    int measured = 0;
    QString cut;
    QSet<QWidget *> takesFocus;
    const auto widgets = w->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        if (!iface || !widget->isVisibleTo(w))
            continue;
        if (widget->isEnabled() && widget->focusPolicy() & Qt::TabFocus)
            takesFocus.insert(widget);
        const auto [room, needed] = captionRoom(widget);
        const QString text = widget->property("text").toString();
        if (!text.isEmpty() && needed.isValid()) {
            if (needed.width() > room.width() || needed.height() > room.height())
                QDebug(&cut) << text << "needs" << needed << "has" << room.size() << ";";
            ++measured;
        }
        // Everything that acts, and the plain frames (the toolbar's separators).
        const bool interactive
            = iface->actionInterface() && !iface->actionInterface()->actionNames().isEmpty();
        if (!interactive && widget->metaObject() != &QFrame::staticMetaObject)
            continue;
        const QString name = iface->text(QAccessible::Name);
        const QString description = iface->text(QAccessible::Description);
        const QString where = widget->objectName() + QLatin1String(": ") + description;
        QVERIFY2(!name.isEmpty(), qPrintable(where));
        auto *button = qobject_cast<QAbstractButton *>(widget);
        // The side buttons inside the boxes show only an icon.
        if (button && !qobject_cast<QLineEdit *>(widget->parentWidget())) {
            QString caption = button->text();
            caption.remove(QLatin1Char('&'));
            QCOMPARE(name, caption.isEmpty() ? button->toolTip() : caption);
            if (!caption.isEmpty() && !button->toolTip().isEmpty())
                QCOMPARE(description, button->toolTip());
        }
        // A screen reader reads the description as it is: plain text, no markup.
        QVERIFY2(!Qt::mightBeRichText(description), qPrintable(where));
        QVERIFY2(widget->toolTip().isEmpty() || !description.isEmpty(), qPrintable(where));
        ++named;
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    const bool main = which == QLatin1String("main");
    QVERIFY(named >= (main ? 20 : 10) && measured >= (main ? 9 : 2));

    // The user starts in the net box and meets every control once before coming back to it.
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QWidget *first = box(which, QStringLiteral("netBox"));
    QCOMPARE(QApplication::focusWidget(), first);
    for (const auto key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        QSet<QWidget *> reached;
        do {
            QVERIFY2(!reached.contains(QApplication::focusWidget()),
                     qPrintable(QApplication::focusWidget()->objectName()));
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), key,
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        } while (QApplication::focusWidget() != first);
        QCOMPARE(reached, takesFocus);
    }

    // Each box's context menu is German, keeps Strg+C and names no key the box refuses.
    const QString copy
        = QStringLiteral("&Kopieren\t") + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
    const auto boxes = w->findChildren<TextBox *>();
    for (TextBox *target : boxes) {
        target->setText(QStringLiteral("12"));
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(target, &event);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList entries;
        const auto actions = menu->actions();
        for (QAction *action : actions)
            entries.append(action->text());
        menu->close();
        QVERIFY2(entries.contains(copy), qPrintable(entries.join(QLatin1Char('|'))));
        for (const QString &entry : std::as_const(entries)) {
            const QKeySequence key(entry.section(QLatin1Char('\t'), 1), QKeySequence::NativeText);
            if (key.isEmpty())
                continue;
            MessageRecorder messages;
            QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
            QVERIFY2(messages.messages.isEmpty(),
                     qPrintable(target->objectName() + QLatin1Char(' ') + entry));
        }
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
