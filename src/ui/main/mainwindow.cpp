#include "ui/main/mainwindow.h"

#include "core/clipboardtext.h"
#include "core/makeraddresses.h"
#include "core/product.h"
#include "settings/ratesetting.h"
#include "system/helpviewer.h"
#include "system/programfolder.h"
#include "system/shellroutines.h"
#include "system/windowplacement.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/calculatorfields.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/controls/twips.h"
#include "ui/main/trayicon.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QShortcut>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace Texts {
const QString caption = QStringLiteral("Zelk. 2010    -    Freeware");
const QString frameNetto = QStringLiteral(" Netto ");
const QString frameVat = QStringLiteral(" Mehrwertsteuer ");
const QString frameBrutto = QStringLiteral(" Brutto  ");
const QString label4 = QStringLiteral("Geben Sie hier den Nettowert ein, um den Bruttowert zu ermitteln.");
const QString label5 = QStringLiteral("Geben Sie hier den Bruttowert ein, um den Nettowert zu ermitteln.");
const QString pressEnter
    = QStringLiteral("Bitte nach Ihrer Eingabe die Enter-Taste drücken, um das Ergebnis zu erhalten.");
const QString label15 = QStringLiteral("Mehrwertsteuer:");
const QString label2 = QStringLiteral("%");
const QString label3 = QStringLiteral("Zelk. - Anteil:");
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
} // namespace Texts

namespace {

QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

TextBox *makeBox(const QString &designText, QWidget *parent, const QRect &geometry)
{
    auto *box = new TextBox(parent);
    QFont font = box->font();
    font.setPointSizeF(13.5);
    box->setFont(font);
    box->setText(designText);
    box->setGeometry(geometry);
    return box;
}

Frame *makeFrame(const QString &name, const QString &caption, QWidget *parent, const QRect &geometry)
{
    auto *frame = new Frame(caption, parent);
    frame->setObjectName(name);
    frame->setCaptionColor(BgrColor::toColor(0xFF0000));
    frame->setGeometry(geometry);
    return frame;
}

QIcon icon(const char *name)
{
    return Icons::named(QLatin1String(name));
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Zelk"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Texts::caption);
    setAccessibleName(QStringLiteral("Zelk. 2010 Hauptfenster"));
    setWindowIcon(icon("zelk"));
    setFixedSize(Twips::size(8775, 3375));

    m_coolbar1 = new ToolBar(this);
    m_coolbar1->setObjectName(QStringLiteral("Coolbar1"));
    m_coolbar1->setGeometry(Twips::rect(0, 0, 8775, 420));
    buildToolbar();

    // Labels in the frames may use the room down to the next control, so that
    // no German text is cut off where the system font is wider than the design's.
    Frame *frames1
        = makeFrame(QStringLiteral("Frames1"), Texts::frameNetto, this, Twips::rect(120, 480, 2775, 2415));
    makeLabel(QStringLiteral("Label4"), Texts::label4, frames1, Twips::rect(120, 300, 2415, 645));
    m_netto = makeBox(QStringLiteral("0,00"), frames1, Twips::rect(120, 960, 2535, 495));
    makeLabel(QStringLiteral("Label1"), Texts::pressEnter, frames1, Twips::rect(120, 1560, 2415, 795));

    Frame *frames2
        = makeFrame(QStringLiteral("Frames2"), Texts::frameVat, this, Twips::rect(3000, 480, 2775, 2415));
    makeLabel(QStringLiteral("Label15"), Texts::label15, frames2, Twips::rect(240, 480, 1215, 255));
    m_x = makeBox(RateSetting::defaultRate(), frames2, Twips::rect(1440, 360, 855, 495));
    QLabel *percent
        = makeLabel(QStringLiteral("Label2"), Texts::label2, frames2, Twips::rect(2310, 420, 375, 495));
    QFont large = percent->font();
    large.setPointSizeF(13.5);
    percent->setFont(large);
    makeLabel(QStringLiteral("Label3"), Texts::label3, frames2, Twips::rect(300, 1080, 2175, 255));
    m_zelkanteil = makeBox(QStringLiteral("0,00"), frames2, Twips::rect(240, 1320, 2295, 495));

    Frame *frames3
        = makeFrame(QStringLiteral("Frames3"), Texts::frameBrutto, this, Twips::rect(5880, 480, 2775, 2415));
    makeLabel(QStringLiteral("Label5"), Texts::label5, frames3, Twips::rect(120, 300, 2535, 645));
    m_brutto = makeBox(QStringLiteral("0,00"), frames3, Twips::rect(120, 960, 2535, 495));
    makeLabel(QStringLiteral("Label6"), Texts::pressEnter, frames3, Twips::rect(120, 1560, 2415, 795));

    CalculatorFields::nameBoxes(m_netto, m_x, m_zelkanteil, m_brutto);
    const QColor focusYellow = BgrColor::toColor(0x80FFFF);
    for (TextBox *box : {m_netto, m_x, m_zelkanteil, m_brutto})
        box->setFocusBackColor(focusYellow);
    for (TextBox *box : {m_netto, m_x, m_brutto})
        box->setShowButton(true);
    // Every amount the user can type shows whole: leading digits that scroll
    // out of sight are misread.
    for (TextBox *box : {m_netto, m_brutto})
        box->fitFont(box->maxChars(), QStringLiteral("0123456789,-./"));
    m_zelkanteil->setTextColor(BgrColor::toColor(0x0000FF));

    m_label3D2 = new Label3D(Texts::product, this);
    m_label3D2->setObjectName(QStringLiteral("Label3D2"));
    QFont productFont(Product::fontFamily());
    productFont.setPointSizeF(20.25);
    productFont.setBold(true);
    productFont.setItalic(true);
    m_label3D2->setFont(productFont);
    m_label3D2->setShadowColor(BgrColor::toColor(0x808080));
    m_label3D2->setGeometry(Twips::rect(120, 2880, 2295, 495));

    m_command1 = new CommandButton(MakerAddresses::homePageLabel(), CommandButton::Style::Link, this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setUrl(MakerAddresses::homePage());
    m_command1->setBalloonTip(Texts::homeLinkTip);
    m_command1->setGeometry(Twips::rect(3000, 3000, 2775, 255));

    m_button1 = new CommandButton(Texts::onTop, CommandButton::Style::Toggle, this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(Twips::rect(6600, 3000, 1935, 255));
    // toggled, not clicked: an assistive tool's "Toggle" emits only toggled.
    connect(m_button1, &CommandButton::toggled, this, &MainWindow::onButton1Clicked);

    m_trayIcon = new TrayIcon(this);
    m_trayIcon->setObjectName(QStringLiteral("trayIcon"));
    m_trayIcon->setIcon(windowIcon());
    m_trayIcon->setToolTip(Texts::trayTip);
    connect(m_trayIcon, &TrayIcon::activated, this, &MainWindow::restoreFromTray);
    auto *open = new QAction(Texts::trayOpen, this);
    open->setObjectName(QStringLiteral("open"));
    connect(open, &QAction::triggered, this, &MainWindow::restoreFromTray);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    auto *exit = new QAction(Texts::trayExit, this);
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &MainWindow::quitRequested);
    m_trayIcon->setMenuActions({open, separator, exit});

    m_messages = new MessageDialog(this);

    m_fields = new CalculatorFields(m_netto, m_x, m_zelkanteil, m_brutto, m_messages, this);

    // F1 is where every desktop user looks for help.
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this,
            [this] { onToolbarButtonClicked(QStringLiteral("help_bar")); });

    setTabOrder(m_netto, m_x);
    setTabOrder(m_x, m_brutto);
    setTabOrder(m_brutto, m_zelkanteil);
    setTabOrder(m_zelkanteil, m_button1);
    setTabOrder(m_button1, m_command1);
}

void MainWindow::buildToolbar()
{
    ToolBar *bar = m_coolbar1;
    bar->addButton(QStringLiteral("neu_bar"), QString(), QStringLiteral("Neu"), icon("neu"), 25);
    bar->addMenuButton(QStringLiteral("save_bar"), QString(), QStringLiteral("Zelk. speichern & löschen"),
                       icon("speichern"), 33);
    bar->addMenuButton(QStringLiteral("kop_bar"), QStringLiteral("Kopieren"),
                       QStringLiteral("Werte in die Zwischenablage kopieren."), icon("kopieren"), 80);
    bar->addSeparator(15);
    bar->addButton(QStringLiteral("modus_bar"), QStringLiteral("Ansicht wechseln"),
                   QStringLiteral("Kleines Programmfenster"), icon("ansicht"), 113);
    bar->addSeparator(15);
    bar->addButton(QStringLiteral("info_bar"), QString(), QStringLiteral("Copyright"), icon("info"), 25);
    bar->addButton(QStringLiteral("help_bar"), QStringLiteral("Hilfe"), QString(), icon("hilfe"), 51);
    bar->addMenuButton(QStringLiteral("links_bar"), QString(), QStringLiteral("Diverse Links"), icon("links"),
                       33);
    bar->addButton(QStringLiteral("update_bar"), QString(), QStringLiteral("Online-Update"), icon("update"),
                   25);
    bar->addButton(QStringLiteral("auto_bar"), QString(), QStringLiteral("Autostartfunktion"),
                   icon("autostart"), 25);
    bar->addSeparator(15);
    bar->addButton(QStringLiteral("ende_bar"), QString(), QStringLiteral("Programm beenden"), icon("ende"),
                   25);

    const QString save = QStringLiteral("save_bar");
    bar->addMenuEntry(save, QStringLiteral("Zelk. Prozentwert &speichern"), QStringLiteral("prozentwert_bm"));
    bar->addMenuEntry(save, QStringLiteral("Zelk. Prozentwert aus Registrierung &löschen"),
                      QStringLiteral("prozentwertloeschen_bm"));
    const QString copy = QStringLiteral("kop_bar");
    bar->addMenuEntry(copy, QStringLiteral("&Nettowert kopieren"), QStringLiteral("netto_bm"));
    bar->addMenuEntry(copy, QStringLiteral("&Zelk.-Anteil kopieren"), QStringLiteral("anteil_bm"));
    bar->addMenuEntry(copy, QStringLiteral("&Bruttowert kopieren"), QStringLiteral("brutto_bm"));
    bar->addMenuEntry(copy, QStringLiteral("-"));
    bar->addMenuEntry(copy, QStringLiteral("&Alles kopieren"), QStringLiteral("alles_bm"));
    const QString links = QStringLiteral("links_bar");
    bar->addMenuEntry(links, QStringLiteral("&Homepage"), QStringLiteral("home_bm"));
    bar->addMenuEntry(links, QStringLiteral("-"));
    bar->addMenuEntry(links, QStringLiteral("&Bewerten Sie unser Programm"), QStringLiteral("bewerten_bm"));
    bar->addMenuEntry(links, QStringLiteral("Teilen Sie uns &Fehler mit"), QStringLiteral("fehler_bm"));
    bar->addMenuEntry(links, QStringLiteral("-"));
    bar->addMenuEntry(links, QStringLiteral("Unser Online-&Shop"), QStringLiteral("shop_bm"));
    bar->addMenuEntry(links, QStringLiteral("-"));
    bar->addMenuEntry(links, QStringLiteral("Spende für &Zelk. 2010"), QStringLiteral("spende_bm"));

    connect(bar, &ToolBar::buttonClicked, this, &MainWindow::onToolbarButtonClicked);
    connect(bar, &ToolBar::menuEntryClicked, this, &MainWindow::onToolbarMenuEntryClicked);
}

void MainWindow::load()
{
    m_command1->hide();
    m_fields->clearAmounts();

    if (!isVisible())
        WindowPlacement::centre(this);
    show();
    // Painted before the settings are read.
    QApplication::processEvents();

    m_fields->bindEntryList();
    m_netto->setFocus();
    m_fields->loadRate();
    m_label3D2->show();
    m_command1->show();
}

void MainWindow::onButton1Clicked(bool checked)
{
    WindowPlacement::setTopmost(this, checked);
}

void MainWindow::onToolbarButtonClicked(const QString &key)
{
    if (key == QLatin1String("neu_bar")) {
        m_fields->clearAmounts();
    } else if (key == QLatin1String("modus_bar")) {
        close();
        emit compactModeRequested();
    } else if (key == QLatin1String("info_bar")) {
        emit aboutRequested();
    } else if (key == QLatin1String("help_bar")) {
        const QString htmlIndex = ProgramFolder::helpIndex();
        if (!HelpViewer::showHelp(ProgramFolder::helpFile(), htmlIndex))
            m_messages->inform(
                QStringLiteral("Hilfe"),
                QStringLiteral("Die Hilfe lässt sich nicht öffnen: Es ist weder ein Programm für "
                               "CHM-Hilfedateien noch ein Internetbrowser eingerichtet.\r\r"
                               "Die Hilfeseiten finden Sie hier:\r")
                    + htmlIndex,
                MessageDialog::Icon::Warning);
    } else if (key == QLatin1String("update_bar")) {
        LaunchUpdateModule();
    } else if (key == QLatin1String("auto_bar")) {
        emit autostartRequested();
    } else if (key == QLatin1String("ende_bar")) {
        if (m_messages->ask(Texts::exitTitle, Texts::exitQuestion, MessageDialog::Icon::Question)
            == MessageDialog::Answer::Yes)
            emit quitRequested();
    }
}

void MainWindow::onToolbarMenuEntryClicked(const QString &key)
{
    if (key == QLatin1String("netto_bm")) {
        CalculatorFields::copyToClipboard(m_netto->text());
    } else if (key == QLatin1String("anteil_bm")) {
        CalculatorFields::copyToClipboard(m_zelkanteil->text());
    } else if (key == QLatin1String("brutto_bm")) {
        CalculatorFields::copyToClipboard(m_brutto->text());
    } else if (key == QLatin1String("alles_bm")) {
        CalculatorFields::copyToClipboard(
            ClipboardText::allAmounts(m_netto->text(), m_zelkanteil->text(), m_x->text(), m_brutto->text()));
    } else if (key == QLatin1String("prozentwert_bm")) {
        m_fields->saveRate();
    } else if (key == QLatin1String("prozentwertloeschen_bm")) {
        m_fields->deleteRate();
    } else if (key == QLatin1String("home_bm")) {
        ShellRoutines::OpenWebPage(MakerAddresses::homePage());
    } else if (key == QLatin1String("bewerten_bm")) {
        ShellRoutines::OpenWebPage(MakerAddresses::ratingPage());
    } else if (key == QLatin1String("fehler_bm")) {
        ShellRoutines::OpenWebPage(MakerAddresses::errorReportPage());
    } else if (key == QLatin1String("shop_bm")) {
        ShellRoutines::OpenWebPage(MakerAddresses::shopPage());
    } else if (key == QLatin1String("spende_bm")) {
        emit donationRequested();
    }
}

void MainWindow::LaunchUpdateModule()
{
    if (m_messages->ask(Texts::updateTitle, Texts::updateQuestion, MessageDialog::Icon::Information)
        != MessageDialog::Answer::Yes)
        return;
    ShellRoutines::startProgram(ProgramFolder::updateProgram());
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
