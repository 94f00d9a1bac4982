#include "ui/main/mainwindow.h"

#include "core/later.h"
#include "core/makeraddresses.h"
#include "core/product.h"
#include "system/helpviewer.h"
#include "system/programfolder.h"
#include "system/shellroutines.h"
#include "system/windowplacement.h"
#include "system/windowreach.h"
#include "ui/calculator/calculatorboxes.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/commands.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/makers.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"
#include "ui/main/trayicon.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QWindowStateChangeEvent>

#include <functional>

namespace Texts {
const QString caption = QStringLiteral("Zelk. 2010    -    Freeware");
const QString frameNetto = QStringLiteral(" Netto ");
const QString frameVat = QStringLiteral(" Mehrwertsteuer ");
const QString frameBrutto = QStringLiteral(" Brutto  ");
const QString netHint = QStringLiteral("Geben Sie hier den Nettowert ein, um den Bruttowert zu ermitteln.");
const QString grossHint = QStringLiteral("Geben Sie hier den Bruttowert ein, um den Nettowert zu ermitteln.");
const QString pressEnter
    = QStringLiteral("Bitte nach Ihrer Eingabe die Enter-Taste drücken, um das Ergebnis zu erhalten.");
const QString rateLabel = QStringLiteral("Mehrwertsteuer:");
const QString percentSign = QStringLiteral("%");
const QString vatLabel = QStringLiteral("Zelk. - Anteil:");
const QString product = Product::name();
const QString homeLinkTip = QStringLiteral("Zur Internetseite");
const QString onTop = QStringLiteral("Immer im &Vordergrund");

const QString trayTip = Product::name();
const QString balloonTitle = Product::name();
const QString balloonText = QStringLiteral("Hier mit rechter Maustaste klicken\r\num das Menü zu öffnen...");
const QString trayOpen = QStringLiteral("Zelk. 2010 &öffnen...");
const QString trayExit = QStringLiteral("Programm &beenden");

const QString exitQuestion = QStringLiteral("Wollen Sie das Programm wirklich beenden?");
const QString exitTitle = QStringLiteral("Programm beenden");
const QString updateTitle = QStringLiteral("Online-Update");
const QString updateQuestion
    = QStringLiteral("Um das Update-Modul nun aufzurufen, wird das Programm\r"
                     "für diesen Vorgang kurz geschlossen.\r"
                     "\r"
                     "Wenn ein Update vorhanden ist, wird dieses direkt installiert\r"
                     "und das Hauptprogramm wird anschließend wieder aufgerufen.\r"
                     "\r"
                     "Soll das Update-Modul nun aufgerufen werden?");
const QString updateMissing
    = QStringLiteral("Das Update-Modul wurde nicht gefunden, das Programm bleibt geöffnet.\r\r"
                     "Es wurde hier gesucht:\r");
const QString updateNotStarted
    = QStringLiteral("Das Update-Modul konnte nicht gestartet werden, das Programm bleibt geöffnet.\r\r"
                     "Es liegt hier:\r");
const QString helpTitle = QStringLiteral("Hilfe");
const QString helpMissing
    = QStringLiteral("Die Hilfe lässt sich nicht öffnen: Die Hilfedatei wurde nicht gefunden.\r\r"
                     "Sie wurde hier gesucht:\r");
const QString helpNotOpened
    = QStringLiteral("Die Hilfe lässt sich nicht öffnen: Es ist weder ein Programm für "
                     "CHM-Hilfedateien noch ein Internetbrowser eingerichtet.\r\r"
                     "Die Hilfeseiten finden Sie hier:\r");
} // namespace Texts

namespace {

// The window's fixed layout; what sits in a frame is placed within the frame.
namespace Layout {
constexpr QSize window = Twips::size(8775, 3375);
constexpr QRect toolBar = Twips::rect(0, 0, 8775, 420);

constexpr QRect netFrame = Twips::rect(120, 480, 2775, 2415);
constexpr QRect netHint = Twips::rect(120, 300, 2415, 645);
constexpr QRect netBox = Twips::rect(120, 960, 2535, 495);
constexpr QRect netPressEnter = Twips::rect(120, 1560, 2415, 795);

constexpr QRect vatFrame = Twips::rect(3000, 480, 2775, 2415);
constexpr QRect rateLabel = Twips::rect(240, 480, 1215, 255);
constexpr QRect rateBox = Twips::rect(1440, 360, 855, 495);
constexpr QRect percentSign = Twips::rect(2310, 420, 375, 495);
constexpr QRect vatLabel = Twips::rect(300, 1080, 2175, 255);
constexpr QRect vatBox = Twips::rect(240, 1320, 2295, 495);

constexpr QRect grossFrame = Twips::rect(5880, 480, 2775, 2415);
constexpr QRect grossHint = Twips::rect(120, 300, 2535, 645);
constexpr QRect grossBox = Twips::rect(120, 960, 2535, 495);
constexpr QRect grossPressEnter = Twips::rect(120, 1560, 2415, 795);

constexpr QRect productLabel = Twips::rect(120, 2880, 2295, 495);
constexpr QRect homepageLink = Twips::rect(3000, 3000, 2775, 255);
constexpr QRect alwaysOnTop = Twips::rect(6600, 3000, 1935, 255);
} // namespace Layout

constexpr qreal boxPointSize = 13.5;
constexpr qreal productPointSize = 20.25;
const QColor vatTextColor = BgrColor::toColor(0x0000FF);
const QColor productShadowColor = BgrColor::toColor(0x808080);

void placeBox(TextBox *box, QWidget *parent, const QRect &geometry)
{
    box->setParent(parent);
    QFont font = box->font();
    font.setPointSizeF(boxPointSize);
    box->setFont(font);
    box->setGeometry(geometry);
}

Frame *makeFrame(const QString &name, const QString &caption, QWidget *parent, const QRect &geometry)
{
    Frame *frame = Make::frame(name, caption, parent, geometry);
    frame->setCaptionColor(ProgramLook::captionBlue());
    return frame;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowCloseButtonHint)
{
    setUpWindow(this, QStringLiteral("mainWindow"), Texts::caption, QStringLiteral("Zelk. 2010 Hauptfenster"),
                Layout::window);
    setWindowIcon(Icons::named(QStringLiteral("zelk")));

    m_messages = new MessageDialog(this);
    createCommands();
    createToolBar();

    m_boxes = new CalculatorBoxes(this, m_messages);
    TextBox *netBox = m_boxes->netBox();
    TextBox *rateBox = m_boxes->rateBox();
    TextBox *vatBox = m_boxes->vatBox();
    TextBox *grossBox = m_boxes->grossBox();

    // Labels in the frames may use the room down to the next control, so that
    // no German text is cut off where the system font is wider than the window's fixed layout.
    Frame *netFrame = makeFrame(QStringLiteral("netFrame"), Texts::frameNetto, this, Layout::netFrame);
    Make::wrappedLabel(QStringLiteral("netHint"), Texts::netHint, netFrame, Layout::netHint);
    placeBox(netBox, netFrame, Layout::netBox);
    Make::wrappedLabel(QStringLiteral("netPressEnter"), Texts::pressEnter, netFrame, Layout::netPressEnter);

    Frame *vatFrame = makeFrame(QStringLiteral("vatFrame"), Texts::frameVat, this, Layout::vatFrame);
    Make::wrappedLabel(QStringLiteral("rateLabel"), Texts::rateLabel, vatFrame, Layout::rateLabel);
    placeBox(rateBox, vatFrame, Layout::rateBox);
    QLabel *percent = Make::wrappedLabel(QStringLiteral("percentLabel"), Texts::percentSign, vatFrame,
                                         Layout::percentSign);
    QFont large = percent->font();
    large.setPointSizeF(boxPointSize);
    percent->setFont(large);
    Make::wrappedLabel(QStringLiteral("vatLabel"), Texts::vatLabel, vatFrame, Layout::vatLabel);
    placeBox(vatBox, vatFrame, Layout::vatBox);

    Frame *grossFrame = makeFrame(QStringLiteral("grossFrame"), Texts::frameBrutto, this, Layout::grossFrame);
    Make::wrappedLabel(QStringLiteral("grossHint"), Texts::grossHint, grossFrame, Layout::grossHint);
    placeBox(grossBox, grossFrame, Layout::grossBox);
    Make::wrappedLabel(QStringLiteral("grossPressEnter"), Texts::pressEnter, grossFrame,
                       Layout::grossPressEnter);

    m_boxes->setFocusColors(ProgramLook::focusYellow(), ProgramLook::focusYellow());
    netBox->showClearButton();
    grossBox->showClearButton();
    vatBox->setTextColor(vatTextColor);

    Make::label3D(QStringLiteral("productLabel"), Texts::product,
                  ProgramLook::font(productPointSize, true, true), this, Layout::productLabel)
        ->setShadowColor(productShadowColor);
    CommandButton *homepageLink = Make::link(QStringLiteral("homepageLink"), MakerAddresses::homePageLabel(),
                                             Texts::homeLinkTip, this, Layout::homepageLink);
    connect(homepageLink, &CommandButton::clicked, this,
            [] { ShellRoutines::openWebPage(MakerAddresses::homePage()); });
    CommandButton *alwaysOnTop = Make::onTopToggle(Texts::onTop, this, Layout::alwaysOnTop);
    WindowPlacement::offerTopmost(alwaysOnTop, this);

    createTrayIcon();

    setTabOrder(netBox, rateBox);
    setTabOrder(rateBox, grossBox);
    setTabOrder(grossBox, vatBox);
    setTabOrder(vatBox, alwaysOnTop);
    setTabOrder(alwaysOnTop, homepageLink);

    // What every showing of the window starts with; the window is made anew each time.
    m_boxes->clearAmounts();
    m_boxes->useStoredValues(ProgramFolder::entryListFile());
    m_boxes->showStoredRate();
    netBox->setFocus();
    WindowPlacement::centre(this);
}

void MainWindow::createCommands()
{
    // Each command of the window, found by its name: its button's or menu entry's text, icon and tip,
    // and what it does. Every one runs once the press that asked for it has returned.
    struct Command
    {
        const char *name;
        QString text;
        const char *icon;
        QString tip;
        std::function<void()> run;
    };
    const auto page
        = [](QString (*address)()) { return [address] { ShellRoutines::openWebPage(address()); }; };
    const QList<Command> commands{
        {"newAction", QStringLiteral("Neu"), "neu", {}, [this] { m_boxes->clearAmounts(); }},
        {"saveAction",
         QStringLiteral("Zelk. speichern && löschen"),
         "speichern",
         QStringLiteral("Zelk. speichern & löschen"),
         {}},
        {"saveRateAction",
         QStringLiteral("Zelk. Prozentwert &speichern"),
         nullptr,
         {},
         [this] { m_boxes->saveRate(); }},
        {"deleteRateAction",
         QStringLiteral("Zelk. Prozentwert aus Registrierung &löschen"),
         nullptr,
         {},
         [this] { m_boxes->deleteRate(); }},
        {"copyAction",
         QStringLiteral("Kopieren"),
         "kopieren",
         QStringLiteral("Werte in die Zwischenablage kopieren."),
         {}},
        {"copyNetAction", QStringLiteral("&Nettowert kopieren"), nullptr, {}, [this] { m_boxes->copyNet(); }},
        {"copyVatAction",
         QStringLiteral("&Zelk.-Anteil kopieren"),
         nullptr,
         {},
         [this] { m_boxes->copyVat(); }},
        {"copyGrossAction",
         QStringLiteral("&Bruttowert kopieren"),
         nullptr,
         {},
         [this] { m_boxes->copyGross(); }},
        {"copyAllAction", QStringLiteral("&Alles kopieren"), nullptr, {}, [this] { m_boxes->copyAll(); }},
        {"compactAction", QStringLiteral("Ansicht wechseln"), "ansicht",
         QStringLiteral("Kleines Programmfenster"), [this] { switchToCompact(); }},
        {"aboutAction", QStringLiteral("Copyright"), "info", {}, [this] { emit aboutRequested(); }},
        {"helpAction", QStringLiteral("Hilfe"), "hilfe", {}, [this] { showHelp(); }},
        {"linksAction", QStringLiteral("Diverse Links"), "links", {}, {}},
        {"homepageAction", QStringLiteral("&Homepage"), nullptr, {}, page(MakerAddresses::homePage)},
        {"rateUsAction",
         QStringLiteral("&Bewerten Sie unser Programm"),
         nullptr,
         {},
         page(MakerAddresses::ratingPage)},
        {"reportErrorAction",
         QStringLiteral("Teilen Sie uns &Fehler mit"),
         nullptr,
         {},
         page(MakerAddresses::errorReportPage)},
        {"shopAction", QStringLiteral("Unser Online-&Shop"), nullptr, {}, page(MakerAddresses::shopPage)},
        {"donateAction",
         QStringLiteral("Spende für &Zelk. 2010"),
         nullptr,
         {},
         [this] { emit donationRequested(); }},
        {"updateAction", QStringLiteral("Online-Update"), "update", {}, [this] { launchUpdate(); }},
        {"autostartAction",
         QStringLiteral("Autostartfunktion"),
         "autostart",
         {},
         [this] { emit autostartRequested(); }},
        {"exitAction", QStringLiteral("Programm beenden"), "ende", {}, [this] { confirmQuit(); }},
        {"trayOpenAction", Texts::trayOpen, nullptr, {}, [this] { restoreFromTray(); }},
        {"trayExitAction", Texts::trayExit, nullptr, {}, [this] { emit quitRequested(); }},
    };
    for (const Command &each : commands) {
        auto *action
            = new QAction(each.icon ? Icons::named(QLatin1String(each.icon)) : QIcon(), each.text, this);
        action->setObjectName(QLatin1String(each.name));
        if (!each.tip.isEmpty())
            action->setToolTip(each.tip);
        if (each.run)
            Commands::bind(action, this, each.run);
    }
    // F1 is where every desktop user looks for help.
    QAction *help = command(QStringLiteral("helpAction"));
    help->setShortcut(QKeySequence::HelpContents);
    addAction(help);
}

QAction *MainWindow::command(const QString &name) const
{
    return findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

void MainWindow::createToolBar()
{
    using Caption = ToolBar::Caption;
    // Left to right; no command is a separator, an empty menu entry a line in the menu.
    struct Button
    {
        const char *command;
        int width;
        Caption caption = Caption::Hidden;
        QStringList menu = {};
    };
    const int iconOnly = 25;
    const int iconWithMenu = 33;
    const int separator = 15;
    const QList<Button> buttons{
        {"newAction", iconOnly},
        {"saveAction", iconWithMenu, Caption::Hidden, {"saveRateAction", "deleteRateAction"}},
        {"copyAction",
         80,
         Caption::Shown,
         {"copyNetAction", "copyVatAction", "copyGrossAction", "", "copyAllAction"}},
        {nullptr, separator},
        {"compactAction", 113, Caption::Shown},
        {nullptr, separator},
        {"aboutAction", iconOnly},
        {"helpAction", 51, Caption::Shown},
        {"linksAction",
         iconWithMenu,
         Caption::Hidden,
         {"homepageAction", "", "rateUsAction", "reportErrorAction", "", "shopAction", "", "donateAction"}},
        {"updateAction", iconOnly},
        {"autostartAction", iconOnly},
        {nullptr, separator},
        {"exitAction", iconOnly},
    };
    auto *bar = new ToolBar(this);
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setGeometry(Layout::toolBar);
    for (const Button &button : buttons) {
        if (!button.command) {
            bar->addSeparator(button.width);
            continue;
        }
        QMenu *menu = nullptr;
        if (!button.menu.isEmpty()) {
            menu = new QMenu(this);
            menu->setObjectName(
                QString::fromLatin1(button.command).replace(QLatin1String("Action"), QLatin1String("Menu")));
            for (const QString &entry : button.menu) {
                if (entry.isEmpty())
                    menu->addSeparator();
                else
                    menu->addAction(command(entry));
            }
        }
        bar->addButton(command(QLatin1String(button.command)), button.width, button.caption, menu);
    }
}

void MainWindow::createTrayIcon()
{
    m_trayIcon = new TrayIcon(this);
    m_trayIcon->setObjectName(QStringLiteral("trayIcon"));
    m_trayIcon->setIcon(windowIcon());
    m_trayIcon->setToolTip(Texts::trayTip);
    connect(m_trayIcon, &TrayIcon::activated, this, &MainWindow::restoreFromTray);
    // Hidden without its icon, the window could not be reached any more.
    connect(m_trayIcon, &TrayIcon::hostLost, this, &MainWindow::restoreFromTray);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_trayIcon->setMenuActions(
        {command(QStringLiteral("trayOpenAction")), separator, command(QStringLiteral("trayExitAction"))});
}

void MainWindow::switchToCompact()
{
    close();
    emit compactModeRequested();
}

void MainWindow::showHelp()
{
    const auto notOpened = [this](const QString &file) {
        m_messages->inform(Texts::helpTitle, Texts::helpNotOpened + file, MessageDialog::Icon::Warning);
    };
    const HelpViewer::Result help
        = HelpViewer::showHelp(ProgramFolder::helpFile(), ProgramFolder::helpIndex(), this, notOpened);
    if (help.outcome == HelpViewer::Result::Outcome::Missing)
        m_messages->inform(Texts::helpTitle, Texts::helpMissing + help.file, MessageDialog::Icon::Warning);
    else if (help.outcome == HelpViewer::Result::Outcome::NotOpened)
        notOpened(help.file);
}

void MainWindow::confirmQuit()
{
    if (m_messages->ask(Texts::exitTitle, Texts::exitQuestion, MessageDialog::Icon::Question)
        == MessageDialog::Answer::Yes)
        emit quitRequested();
}

void MainWindow::launchUpdate()
{
    if (m_messages->ask(Texts::updateTitle, Texts::updateQuestion, MessageDialog::Icon::Information)
        != MessageDialog::Answer::Yes)
        return;
    const QString program = ProgramFolder::updateProgram();
    // Ending without the update program would look like a crash.
    switch (ShellRoutines::startProgram(program)) {
    case ShellRoutines::Start::Started:
        emit quitRequested();
        break;
    case ShellRoutines::Start::Missing:
        m_messages->inform(Texts::updateTitle, Texts::updateMissing + program, MessageDialog::Icon::Warning);
        break;
    case ShellRoutines::Start::Failed:
        m_messages->inform(Texts::updateTitle, Texts::updateNotStarted + program,
                           MessageDialog::Icon::Warning);
        break;
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    const bool becameMinimised = isMinimized() && !change->oldState().testFlag(Qt::WindowMinimized);
    if (becameMinimised)
        runAfterThisEvent(this, [this] { moveToTray(); });
}

void MainWindow::moveToTray()
{
    if (!isMinimized())
        return;
    // A modal window blocks the tray icon's clicks, and the window manager
    // takes it along when it minimises its owner: nothing would be left to
    // reach. The window stays, with its modal window on top.
    if (QApplication::activeModalWidget()) {
        WindowReach::restore(this);
        return;
    }
    // Without a notification area the window stays minimised on the task bar,
    // so that it can never be lost.
    if (!TrayIcon::isAvailable())
        return;
    m_trayIcon->show();
    m_trayIcon->showBalloon(Texts::balloonTitle, Texts::balloonText, QSystemTrayIcon::Information);
    hide();
}

void MainWindow::restoreFromTray()
{
    WindowReach::restore(this);
    m_trayIcon->hide();
}

void MainWindow::bringToFront()
{
    if (m_trayIcon->isShown())
        restoreFromTray();
    else
        WindowReach::restore(this);
}
