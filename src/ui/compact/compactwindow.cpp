#include "ui/compact/compactwindow.h"

#include "core/later.h"
#include "core/product.h"
#include "system/programfolder.h"
#include "system/windowplacement.h"
#include "system/windowreach.h"
#include "ui/calculator/calculatorboxes.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/icons.h"
#include "ui/controls/makers.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbutton.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"

#include <QCloseEvent>
#include <QLabel>

namespace Texts {
const QString caption = Product::name();
const QString percentSign = QStringLiteral("+ %");
const QString copyNet = QStringLiteral("Netto kopieren");
const QString copyVat = QStringLiteral("Zelk.-Anteil kopieren");
const QString copyGross = QStringLiteral("Brutto kopieren");
const QString clear = QStringLiteral("Neu");
const QString toMain = QStringLiteral("Zum großen Fenster wechseln");
const QString onTop = QStringLiteral("&Vordergrund");
} // namespace Texts

namespace {

// The window's fixed layout.
namespace Layout {
// Where it opens, in pixels.
constexpr QPoint position(834, 121);
constexpr QSize window = Twips::size(1995, 1875);
constexpr QRect netBox = Twips::rect(600, 120, 1095, 285);
constexpr QRect rateBox = Twips::rect(0, 600, 615, 285);
constexpr QRect percentSign = Twips::rect(240, 360, 360, 255);
constexpr QRect vatBox = Twips::rect(600, 600, 1095, 285);
constexpr QRect grossBox = Twips::rect(600, 1080, 1095, 285);
constexpr QRect copyNetButton = Twips::rect(1680, 120, 270, 270);
constexpr QRect copyVatButton = Twips::rect(1680, 600, 270, 270);
constexpr QRect copyGrossButton = Twips::rect(1680, 1080, 270, 270);
constexpr QRect newButton = Twips::rect(120, 1080, 375, 375);
constexpr QRect mainWindowButton = Twips::rect(120, 1440, 375, 375);
constexpr QRect alwaysOnTop = Twips::rect(600, 1560, 1335, 255);
} // namespace Layout

ToolButton *makeCopyButton(const QString &name, const QString &tip, QWidget *parent, const QRect &geometry)
{
    auto *button = new ToolButton(Icons::named(QStringLiteral("kopieren_klein")), tip, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

CommandButton *makeIconCommand(const QString &name, const char *icon, const QString &tip, QWidget *parent,
                               const QRect &geometry)
{
    auto *button = new CommandButton(QString(), CommandButton::Style::Push, parent);
    button->setObjectName(name);
    button->setIcon(Icons::named(QLatin1String(icon)));
    button->setBalloonTip(tip);
    button->setGeometry(geometry);
    return button;
}

// Windows shows a tool window without the keyboard, and the X window managers
// that Windows programs meet under Wine give the keyboard to a window without
// a task-bar button only when it belongs to an owner window. A hidden owner
// of its own keeps the window off the task bar and lets it take the keyboard
// when it opens; other systems need none.
QWidget *hiddenOwner()
{
#ifdef Q_OS_WIN
    auto *owner = new QWidget;
    owner->winId();
    return owner;
#else
    return nullptr;
#endif
}

} // namespace

CompactWindow::CompactWindow(QWidget *parent)
    : QWidget(parent ? parent : hiddenOwner(),
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    if (!parent && parentWidget())
        connect(this, &QObject::destroyed, parentWidget(), &QObject::deleteLater);
    setUpWindow(this, QStringLiteral("compactWindow"), Texts::caption,
                QStringLiteral("Zelk. 2010 kleines Fenster"), Layout::window);
    setWindowIcon(Icons::named(QStringLiteral("zelk")));
    // No minimise button and no task-bar button: never minimised out of reach.
    WindowReach::keepReachable(this);

    auto *boxes = new CalculatorBoxes(this, new MessageDialog(this));
    TextBox *netBox = boxes->netBox();
    TextBox *rateBox = boxes->rateBox();
    TextBox *vatBox = boxes->vatBox();
    TextBox *grossBox = boxes->grossBox();
    netBox->setGeometry(Layout::netBox);
    rateBox->setGeometry(Layout::rateBox);
    Make::label(QStringLiteral("percentLabel"), Texts::percentSign, this, Layout::percentSign);
    vatBox->setGeometry(Layout::vatBox);
    grossBox->setGeometry(Layout::grossBox);
    boxes->setFocusColors(ProgramLook::lightFocusYellow(), ProgramLook::focusYellow());
    boxes->useStoredValues(ProgramFolder::entryListFile());
    // The rate the box keeps whole shows beside the list button in the
    // window's font; the VAT box beside it gives up the room.
    const int wholeRate = QFontMetrics(rateBox->font())
                              .horizontalAdvance(QString(CalculatorBoxes::rateChars, QLatin1Char('0')));
    const int rateWidth = rateBox->width() - rateBox->textRoom() + wholeRate;
    if (rateWidth > rateBox->width()) {
        const QRect vat = vatBox->geometry();
        rateBox->resize(rateWidth, rateBox->height());
        vatBox->setGeometry(QRect(QPoint(rateBox->geometry().right(), vat.top()), vat.bottomRight()));
    }

    ToolButton *copyNet
        = makeCopyButton(QStringLiteral("copyNetButton"), Texts::copyNet, this, Layout::copyNetButton);
    ToolButton *copyVat
        = makeCopyButton(QStringLiteral("copyVatButton"), Texts::copyVat, this, Layout::copyVatButton);
    ToolButton *copyGross
        = makeCopyButton(QStringLiteral("copyGrossButton"), Texts::copyGross, this, Layout::copyGrossButton);
    CommandButton *newButton
        = makeIconCommand(QStringLiteral("newButton"), "neu", Texts::clear, this, Layout::newButton);
    CommandButton *mainWindowButton = makeIconCommand(QStringLiteral("mainWindowButton"), "zurueck",
                                                      Texts::toMain, this, Layout::mainWindowButton);
    CommandButton *alwaysOnTop = Make::onTopToggle(Texts::onTop, this, Layout::alwaysOnTop);
    alwaysOnTop->setIcon(Icons::named(QStringLiteral("vordergrund")));
    WindowPlacement::offerTopmost(alwaysOnTop, this);

    connect(copyNet, &ToolButton::clicked, boxes, &CalculatorBoxes::copyNet);
    connect(copyVat, &ToolButton::clicked, boxes, &CalculatorBoxes::copyVat);
    connect(copyGross, &ToolButton::clicked, boxes, &CalculatorBoxes::copyGross);
    connect(newButton, &CommandButton::clicked, boxes, &CalculatorBoxes::clearAmounts);
    connect(mainWindowButton, &CommandButton::clicked, this, &CompactWindow::close);

    setTabOrder(netBox, rateBox);
    setTabOrder(rateBox, grossBox);
    setTabOrder(grossBox, vatBox);
    setTabOrder(vatBox, newButton);
    setTabOrder(newButton, mainWindowButton);
    setTabOrder(mainWindowButton, alwaysOnTop);
    setTabOrder(alwaysOnTop, copyNet);
    setTabOrder(copyNet, copyVat);
    setTabOrder(copyVat, copyGross);

    // What every showing of the window starts with; the window is made anew each time.
    boxes->clearAmounts();
    boxes->showStoredRate();
    netBox->setFocus();
    // The same place every time it opens.
    move(Layout::position);
}

void CompactWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The user types at once, as into the main window, which takes the
    // keyboard when shown. Once on screen, with its frame: on a smaller
    // screen just enough further in to be seen whole.
    WindowReach::activate(this);
    runAfterThisEvent(this, [this] { WindowPlacement::keepOnScreen(this); });
}

void CompactWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    QWidget::closeEvent(event);
    emit mainWindowRequested();
}
