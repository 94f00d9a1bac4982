#include "ui/compact/compactwindow.h"

#include "core/product.h"
#include "system/windowplacement.h"
#include "ui/calculator/calculatorpanel.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/iconbutton.h"
#include "ui/controls/icons.h"
#include "ui/controls/makers.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"
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

const QColor amountFocusColor = BgrColor::toColor(0xC0FFFF);
const QColor rateFocusColor = BgrColor::toColor(0x80FFFF);

IconButton *makeCopyButton(const QString &name, const QString &tip, QWidget *parent, const QRect &geometry)
{
    auto *button = new IconButton(Icons::named(QStringLiteral("kopieren_klein")), tip, parent);
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
    WindowPlacement::keepReachable(this);

    m_messages = new MessageDialog(this);
    m_panel = new CalculatorPanel(this, m_messages);
    TextBox *netBox = m_panel->netBox();
    TextBox *rateBox = m_panel->rateBox();
    TextBox *vatBox = m_panel->vatBox();
    TextBox *grossBox = m_panel->grossBox();
    netBox->setGeometry(Layout::netBox);
    rateBox->setGeometry(Layout::rateBox);
    Make::label(QStringLiteral("percentLabel"), Texts::percentSign, this, Layout::percentSign);
    vatBox->setGeometry(Layout::vatBox);
    grossBox->setGeometry(Layout::grossBox);
    m_panel->setFocusColors(amountFocusColor, rateFocusColor);
    rateBox->setShowButton(true);
    // The rate the box keeps whole shows beside the list button in the
    // window's font; the VAT box beside it gives up the room.
    const int rateWidth = rateBox->width() - rateBox->textRoom(rateBox->width())
        + QFontMetrics(rateBox->font()).horizontalAdvance(rateBox->wholeText());
    if (rateWidth > rateBox->width()) {
        const QRect vat = vatBox->geometry();
        rateBox->resize(rateWidth, rateBox->height());
        vatBox->setGeometry(QRect(QPoint(rateBox->geometry().right(), vat.top()), vat.bottomRight()));
    }

    m_copyNetButton
        = makeCopyButton(QStringLiteral("copyNetButton"), Texts::copyNet, this, Layout::copyNetButton);
    m_copyVatButton
        = makeCopyButton(QStringLiteral("copyVatButton"), Texts::copyVat, this, Layout::copyVatButton);
    m_copyGrossButton
        = makeCopyButton(QStringLiteral("copyGrossButton"), Texts::copyGross, this, Layout::copyGrossButton);
    m_newButton = makeIconCommand(QStringLiteral("newButton"), "neu", Texts::clear, this, Layout::newButton);
    m_mainWindowButton = makeIconCommand(QStringLiteral("mainWindowButton"), "zurueck", Texts::toMain, this,
                                         Layout::mainWindowButton);
    m_alwaysOnTop = new CommandButton(Texts::onTop, CommandButton::Style::Toggle, this);
    m_alwaysOnTop->setObjectName(QStringLiteral("alwaysOnTopButton"));
    m_alwaysOnTop->setIcon(Icons::named(QStringLiteral("vordergrund")));
    m_alwaysOnTop->setGeometry(Layout::alwaysOnTop);
    WindowPlacement::offerTopmost(m_alwaysOnTop);

    connect(m_copyNetButton, &IconButton::clicked, m_panel, &CalculatorPanel::copyNet);
    connect(m_copyVatButton, &IconButton::clicked, m_panel, &CalculatorPanel::copyVat);
    connect(m_copyGrossButton, &IconButton::clicked, m_panel, &CalculatorPanel::copyGross);
    connect(m_newButton, &CommandButton::clicked, m_panel, &CalculatorPanel::clearAmounts);
    connect(m_mainWindowButton, &CommandButton::clicked, this, &CompactWindow::close);
    // toggled, not clicked: an assistive tool's "Toggle" emits only toggled.
    connect(m_alwaysOnTop, &CommandButton::toggled, this, &CompactWindow::onAlwaysOnTopToggled);

    setTabOrder(netBox, rateBox);
    setTabOrder(rateBox, grossBox);
    setTabOrder(grossBox, vatBox);
    setTabOrder(vatBox, m_newButton);
    setTabOrder(m_newButton, m_mainWindowButton);
    setTabOrder(m_mainWindowButton, m_alwaysOnTop);
    setTabOrder(m_alwaysOnTop, m_copyNetButton);
    setTabOrder(m_copyNetButton, m_copyVatButton);
    setTabOrder(m_copyVatButton, m_copyGrossButton);
}

void CompactWindow::load()
{
    m_panel->clearAmounts();
    m_panel->bindEntryList();
    m_panel->loadRate();
    // The same place every time it opens; on a smaller screen just enough
    // further in to be seen whole.
    move(Layout::position);
    show();
    WindowPlacement::keepOnScreen(this);
    m_panel->netBox()->setFocus();
    // The user types at once, as into the main window, which takes the
    // keyboard when it is shown.
    WindowPlacement::activate(this);
}

void CompactWindow::onAlwaysOnTopToggled(bool checked)
{
    WindowPlacement::setTopmost(this, checked);
}

void CompactWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    QWidget::closeEvent(event);
    emit mainWindowRequested();
}
