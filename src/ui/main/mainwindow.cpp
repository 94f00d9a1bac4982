#include "ui/main/mainwindow.h"

#include "core/makeraddresses.h"
#include "core/product.h"
#include "system/helpviewer.h"
#include "system/programfolder.h"
#include "system/shellroutines.h"
#include "system/windowplacement.h"
#include "ui/calculator/calculatorpanel.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/commandbutton.h"
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
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>

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

// The toolbar's buttons and separators are at least this wide, in pixels.
namespace ToolBarWidth {
constexpr int iconOnly = 25;
constexpr int iconWithMenu = 33;
constexpr int copy = 80;
constexpr int compact = 113;
constexpr int help = 51;
constexpr int separator = 15;
} // namespace ToolBarWidth

constexpr qreal boxPointSize = 13.5;
constexpr qreal productPointSize = 20.25;
const QColor frameCaptionColor = BgrColor::toColor(0xFF0000);
const QColor focusYellow = BgrColor::toColor(0x80FFFF);
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
    frame->setCaptionColor(frameCaptionColor);
    return frame;
}

QIcon icon(const char *name)
{
    return Icons::named(QLatin1String(name));
}

// The object name is the command's stable identifier: tests and assistive
// tools find its button or menu entry by it.
QAction *makeAction(const QString &name, const QString &text, QObject *parent, const QIcon &icon = QIcon(),
                    const QString &toolTip = QString())
{
    auto *action = new QAction(icon, text, parent);
    action->setObjectName(name);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    return action;
}

QMenu *makeMenu(const QString &name, QWidget *parent, const QList<QAction *> &entries)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(name);
    for (QAction *entry : entries) {
        if (entry)
            menu->addAction(entry);
        else
            menu->addSeparator();
    }
    return menu;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowCloseButtonHint)
{
    setUpWindow(this, QStringLiteral("mainWindow"), Texts::caption, QStringLiteral("Zelk. 2010 Hauptfenster"),
                Layout::window);
    setWindowIcon(icon("zelk"));

    m_messages = new MessageDialog(this);
    createActions();
    createToolBar();

    m_panel = new CalculatorPanel(this, m_messages);
    TextBox *netBox = m_panel->netBox();
    TextBox *rateBox = m_panel->rateBox();
    TextBox *vatBox = m_panel->vatBox();
    TextBox *grossBox = m_panel->grossBox();

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

    m_panel->setFocusColors(focusYellow, focusYellow);
    for (TextBox *box : {netBox, rateBox, grossBox})
        box->setShowButton(true);
    // Every amount the user can type shows whole: leading digits that scroll
    // out of sight are misread.
    for (TextBox *box : {netBox, grossBox})
        box->fitFont(box->maxChars(), QStringLiteral("0123456789,-./"));
    vatBox->setTextColor(vatTextColor);

    m_productLabel
        = Make::label3D(QStringLiteral("productLabel"), Texts::product,
                        ProgramLook::font(productPointSize, true, true), this, Layout::productLabel);
    m_productLabel->setShadowColor(productShadowColor);

    m_homepageLink = new CommandButton(MakerAddresses::homePageLabel(), CommandButton::Style::Link, this);
    m_homepageLink->setObjectName(QStringLiteral("homepageLink"));
    m_homepageLink->setUrl(MakerAddresses::homePage());
    m_homepageLink->setBalloonTip(Texts::homeLinkTip);
    m_homepageLink->setGeometry(Layout::homepageLink);

    m_alwaysOnTop = new CommandButton(Texts::onTop, CommandButton::Style::Toggle, this);
    m_alwaysOnTop->setObjectName(QStringLiteral("alwaysOnTopButton"));
    m_alwaysOnTop->setGeometry(Layout::alwaysOnTop);
    WindowPlacement::offerTopmost(m_alwaysOnTop);
    // toggled, not clicked: an assistive tool's "Toggle" emits only toggled.
    connect(m_alwaysOnTop, &CommandButton::toggled, this, &MainWindow::onAlwaysOnTopToggled);

    createTrayIcon();

    setTabOrder(netBox, rateBox);
    setTabOrder(rateBox, grossBox);
    setTabOrder(grossBox, vatBox);
    setTabOrder(vatBox, m_alwaysOnTop);
    setTabOrder(m_alwaysOnTop, m_homepageLink);
}

void MainWindow::createActions()
{
    m_newAction = makeAction(QStringLiteral("newAction"), QStringLiteral("Neu"), this, icon("neu"));
    onTriggered(m_newAction, [this] { m_panel->clearAmounts(); });

    m_saveAction = makeAction(QStringLiteral("saveAction"), QStringLiteral("Zelk. speichern && löschen"),
                              this, icon("speichern"), QStringLiteral("Zelk. speichern & löschen"));
    m_saveRateAction
        = makeAction(QStringLiteral("saveRateAction"), QStringLiteral("Zelk. Prozentwert &speichern"), this);
    m_deleteRateAction = makeAction(QStringLiteral("deleteRateAction"),
                                    QStringLiteral("Zelk. Prozentwert aus Registrierung &löschen"), this);

    m_copyAction = makeAction(QStringLiteral("copyAction"), QStringLiteral("Kopieren"), this,
                              icon("kopieren"), QStringLiteral("Werte in die Zwischenablage kopieren."));
    m_copyNetAction
        = makeAction(QStringLiteral("copyNetAction"), QStringLiteral("&Nettowert kopieren"), this);
    m_copyVatAction
        = makeAction(QStringLiteral("copyVatAction"), QStringLiteral("&Zelk.-Anteil kopieren"), this);
    m_copyGrossAction
        = makeAction(QStringLiteral("copyGrossAction"), QStringLiteral("&Bruttowert kopieren"), this);
    m_copyAllAction = makeAction(QStringLiteral("copyAllAction"), QStringLiteral("&Alles kopieren"), this);

    m_compactAction = makeAction(QStringLiteral("compactAction"), QStringLiteral("Ansicht wechseln"), this,
                                 icon("ansicht"), QStringLiteral("Kleines Programmfenster"));
    onTriggered(m_compactAction, [this] { switchToCompact(); });
    m_aboutAction
        = makeAction(QStringLiteral("aboutAction"), QStringLiteral("Copyright"), this, icon("info"));
    onTriggered(m_aboutAction, [this] { emit aboutRequested(); });
    m_helpAction = makeAction(QStringLiteral("helpAction"), QStringLiteral("Hilfe"), this, icon("hilfe"));
    // F1 is where every desktop user looks for help.
    m_helpAction->setShortcut(QKeySequence::HelpContents);
    addAction(m_helpAction);
    onTriggered(m_helpAction, [this] { showHelp(); });

    m_linksAction
        = makeAction(QStringLiteral("linksAction"), QStringLiteral("Diverse Links"), this, icon("links"));
    m_homepageAction = makeAction(QStringLiteral("homepageAction"), QStringLiteral("&Homepage"), this);
    m_rateUsAction
        = makeAction(QStringLiteral("rateUsAction"), QStringLiteral("&Bewerten Sie unser Programm"), this);
    m_reportErrorAction
        = makeAction(QStringLiteral("reportErrorAction"), QStringLiteral("Teilen Sie uns &Fehler mit"), this);
    m_shopAction = makeAction(QStringLiteral("shopAction"), QStringLiteral("Unser Online-&Shop"), this);
    m_donateAction
        = makeAction(QStringLiteral("donateAction"), QStringLiteral("Spende für &Zelk. 2010"), this);

    m_updateAction
        = makeAction(QStringLiteral("updateAction"), QStringLiteral("Online-Update"), this, icon("update"));
    onTriggered(m_updateAction, [this] { launchUpdate(); });
    m_autostartAction = makeAction(QStringLiteral("autostartAction"), QStringLiteral("Autostartfunktion"),
                                   this, icon("autostart"));
    onTriggered(m_autostartAction, [this] { emit autostartRequested(); });
    m_exitAction
        = makeAction(QStringLiteral("exitAction"), QStringLiteral("Programm beenden"), this, icon("ende"));
    onTriggered(m_exitAction, [this] { confirmQuit(); });

    // A menu entry's command runs once the menu's own event loop has returned,
    // like a button's: an assistive tool that chose the entry is not held by
    // a window the command opens.
    const auto queued = Qt::QueuedConnection;
    onTriggered(
        m_saveRateAction, [this] { m_panel->saveRate(); }, queued);
    onTriggered(
        m_deleteRateAction, [this] { m_panel->deleteRate(); }, queued);
    onTriggered(
        m_copyNetAction, [this] { m_panel->copyNet(); }, queued);
    onTriggered(
        m_copyVatAction, [this] { m_panel->copyVat(); }, queued);
    onTriggered(
        m_copyGrossAction, [this] { m_panel->copyGross(); }, queued);
    onTriggered(
        m_copyAllAction, [this] { m_panel->copyAll(); }, queued);
    const QList<std::pair<QAction *, QString>> pages{{m_homepageAction, MakerAddresses::homePage()},
                                                     {m_rateUsAction, MakerAddresses::ratingPage()},
                                                     {m_reportErrorAction, MakerAddresses::errorReportPage()},
                                                     {m_shopAction, MakerAddresses::shopPage()}};
    // A structured binding cannot be captured before C++20.
    for (const auto &entry : pages) {
        const QString page = entry.second;
        onTriggered(
            entry.first, [page] { ShellRoutines::OpenWebPage(page); }, queued);
    }
    onTriggered(
        m_donateAction, [this] { emit donationRequested(); }, queued);

    m_trayOpenAction = makeAction(QStringLiteral("trayOpenAction"), Texts::trayOpen, this);
    onTriggered(m_trayOpenAction, [this] { restoreFromTray(); });
    m_trayExitAction = makeAction(QStringLiteral("trayExitAction"), Texts::trayExit, this);
    onTriggered(m_trayExitAction, [this] { emit quitRequested(); });
}

void MainWindow::onTriggered(QAction *action, const std::function<void()> &command, Qt::ConnectionType type)
{
    // While a modal window is open the window behind it takes no command: an
    // assistive tool's Press still reaches its buttons, and the command would
    // open a second modal window, pull this window from under the open one or
    // ask again a question that waits for its answer.
    connect(
        action, &QAction::triggered, this,
        [command] {
            if (!QApplication::activeModalWidget())
                command();
        },
        type);
}

void MainWindow::createToolBar()
{
    m_toolBar = new ToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setGeometry(Layout::toolBar);

    QMenu *saveMenu = makeMenu(QStringLiteral("saveMenu"), this, {m_saveRateAction, m_deleteRateAction});
    QMenu *copyMenu
        = makeMenu(QStringLiteral("copyMenu"), this,
                   {m_copyNetAction, m_copyVatAction, m_copyGrossAction, nullptr, m_copyAllAction});
    QMenu *linksMenu = makeMenu(QStringLiteral("linksMenu"), this,
                                {m_homepageAction, nullptr, m_rateUsAction, m_reportErrorAction, nullptr,
                                 m_shopAction, nullptr, m_donateAction});

    using Caption = ToolBar::Caption;
    ToolBar *bar = m_toolBar;
    bar->addButton(m_newAction, ToolBarWidth::iconOnly);
    bar->addMenuButton(m_saveAction, saveMenu, ToolBarWidth::iconWithMenu);
    bar->addMenuButton(m_copyAction, copyMenu, ToolBarWidth::copy, Caption::Shown);
    bar->addSeparator(ToolBarWidth::separator);
    bar->addButton(m_compactAction, ToolBarWidth::compact, Caption::Shown);
    bar->addSeparator(ToolBarWidth::separator);
    bar->addButton(m_aboutAction, ToolBarWidth::iconOnly);
    bar->addButton(m_helpAction, ToolBarWidth::help, Caption::Shown);
    bar->addMenuButton(m_linksAction, linksMenu, ToolBarWidth::iconWithMenu);
    bar->addButton(m_updateAction, ToolBarWidth::iconOnly);
    bar->addButton(m_autostartAction, ToolBarWidth::iconOnly);
    bar->addSeparator(ToolBarWidth::separator);
    bar->addButton(m_exitAction, ToolBarWidth::iconOnly);
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
    m_trayIcon->setMenuActions({m_trayOpenAction, separator, m_trayExitAction});
}

void MainWindow::load()
{
    m_homepageLink->hide();
    m_panel->clearAmounts();

    if (!isVisible())
        WindowPlacement::centre(this);
    show();
    // Painted before the settings are read.
    QApplication::processEvents();

    m_panel->bindEntryList();
    m_panel->netBox()->setFocus();
    m_panel->loadRate();
    m_productLabel->show();
    m_homepageLink->show();
}

void MainWindow::onAlwaysOnTopToggled(bool checked)
{
    WindowPlacement::setTopmost(this, checked);
}

void MainWindow::switchToCompact()
{
    close();
    emit compactModeRequested();
}

void MainWindow::showHelp()
{
    const HelpViewer::Result help
        = HelpViewer::showHelp(ProgramFolder::helpFile(), ProgramFolder::helpIndex());
    if (help.outcome == HelpViewer::Result::Outcome::Shown)
        return;
    const QString &reason
        = help.outcome == HelpViewer::Result::Outcome::Missing ? Texts::helpMissing : Texts::helpNotOpened;
    m_messages->inform(Texts::helpTitle, reason + help.file, MessageDialog::Icon::Warning);
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
    if (ShellRoutines::startProgram(program) == ShellRoutines::Start::Missing) {
        m_messages->inform(Texts::updateTitle, Texts::updateMissing + program, MessageDialog::Icon::Warning);
        return;
    }
    emit quitRequested();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    const bool becameMinimised = isMinimized() && !change->oldState().testFlag(Qt::WindowMinimized);
    if (!becameMinimised)
        return;
    // Not from inside the state change: the window manager is still telling us about it.
    QTimer::singleShot(0, this, &MainWindow::moveToTray);
}

void MainWindow::moveToTray()
{
    if (!isMinimized())
        return;
    // A modal window blocks the tray icon's clicks, and the window manager
    // takes it along when it minimises its owner: nothing would be left to
    // reach. The window stays, with its modal window on top.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
        modal->show();
        WindowPlacement::activate(modal);
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
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    m_trayIcon->hide();
    WindowPlacement::activate(this);
}

void MainWindow::bringToFront()
{
    if (m_trayIcon->isShown()) {
        restoreFromTray();
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    QWidget *modal = QApplication::activeModalWidget();
    WindowPlacement::activate(modal ? modal : this);
}
