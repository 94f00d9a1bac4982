#include "ui/compact/compactwindow.h"

#include "core/product.h"
#include "system/windowplacement.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/calculatorfields.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/iconbutton.h"
#include "ui/controls/icons.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"
#include "ui/controls/twips.h"

#include <QCloseEvent>
#include <QLabel>

namespace Texts {
const QString caption = Product::name();
const QString label2 = QStringLiteral("+ %");
const QString copyNet = QStringLiteral("Netto kopieren");
const QString copyVat = QStringLiteral("Zelk.-Anteil kopieren");
const QString copyGross = QStringLiteral("Brutto kopieren");
const QString clear = QStringLiteral("Neu");
const QString toMain = QStringLiteral("Zum großen Fenster wechseln");
const QString onTop = QStringLiteral("&Vordergrund");
} // namespace Texts

namespace {

TextBox *makeBox(const QString &designText, QWidget *parent, const QRect &geometry)
{
    auto *box = new TextBox(parent);
    box->setText(designText);
    box->setGeometry(geometry);
    return box;
}

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

} // namespace

CompactWindow::CompactWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("klein_window"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Texts::caption);
    setAccessibleName(QStringLiteral("Zelk. 2010 kleines Fenster"));
    setWindowIcon(Icons::named(QStringLiteral("zelk")));
    setFixedSize(Twips::size(1995, 1875));
    // No minimise button and no task-bar button: never minimised out of reach.
    WindowPlacement::keepReachable(this);

    const QString amountDesign = QStringLiteral("0,00");
    m_netto = makeBox(amountDesign, this, Twips::rect(600, 120, 1095, 285));
    m_x = makeBox(QString(), this, Twips::rect(0, 600, 615, 285));
    auto *label2 = new QLabel(Texts::label2, this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(Twips::rect(240, 360, 255, 255));
    m_zelkanteil = makeBox(amountDesign, this, Twips::rect(600, 600, 1095, 285));
    m_brutto = makeBox(amountDesign, this, Twips::rect(600, 1080, 1095, 285));
    CalculatorFields::nameBoxes(m_netto, m_x, m_zelkanteil, m_brutto);
    const QColor amountFocus = BgrColor::toColor(0xC0FFFF);
    for (TextBox *box : {m_netto, m_zelkanteil, m_brutto})
        box->setFocusBackColor(amountFocus);
    m_x->setFocusBackColor(BgrColor::toColor(0x80FFFF));
    m_x->setShowButton(true);
    // A rate of two digits and a decimal ("16,5") shows whole beside the
    // list button; the VAT box beside it gives up the room.
    const int rateWidth = m_x->width() - m_x->textRoom(m_x->width())
        + QFontMetrics(m_x->font()).horizontalAdvance(QStringLiteral("00,0"));
    if (rateWidth > m_x->width()) {
        const QRect vat = m_zelkanteil->geometry();
        m_x->resize(rateWidth, m_x->height());
        m_zelkanteil->setGeometry(QRect(QPoint(m_x->geometry().right(), vat.top()), vat.bottomRight()));
    }

    m_button4
        = makeCopyButton(QStringLiteral("Button4"), Texts::copyNet, this, Twips::rect(1680, 120, 270, 270));
    m_button5
        = makeCopyButton(QStringLiteral("Button5"), Texts::copyVat, this, Twips::rect(1680, 600, 270, 270));
    m_button6 = makeCopyButton(QStringLiteral("Button6"), Texts::copyGross, this,
                               Twips::rect(1680, 1080, 270, 270));
    m_button3 = makeIconCommand(QStringLiteral("Button3"), "neu", Texts::clear, this,
                                Twips::rect(120, 1080, 375, 375));
    m_button2 = makeIconCommand(QStringLiteral("Button2"), "zurueck", Texts::toMain, this,
                                Twips::rect(120, 1440, 375, 375));
    m_button1 = new CommandButton(Texts::onTop, CommandButton::Style::Toggle, this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setIcon(Icons::named(QStringLiteral("vordergrund")));
    m_button1->setGeometry(Twips::rect(720, 1560, 1215, 255));

    m_messages = new MessageDialog(this);
    m_fields = new CalculatorFields(m_netto, m_x, m_zelkanteil, m_brutto, m_messages, this);

    connect(m_button4, &IconButton::clicked, this,
            [this] { CalculatorFields::copyToClipboard(m_netto->text()); });
    connect(m_button5, &IconButton::clicked, this,
            [this] { CalculatorFields::copyToClipboard(m_zelkanteil->text()); });
    connect(m_button6, &IconButton::clicked, this,
            [this] { CalculatorFields::copyToClipboard(m_brutto->text()); });
    connect(m_button3, &CommandButton::clicked, this, [this] { m_fields->clearAmounts(); });
    connect(m_button2, &CommandButton::clicked, this, &CompactWindow::close);
    // toggled, not clicked: an assistive tool's "Toggle" emits only toggled.
    connect(m_button1, &CommandButton::toggled, this, &CompactWindow::onButton1Clicked);

    setTabOrder(m_netto, m_x);
    setTabOrder(m_x, m_brutto);
    setTabOrder(m_brutto, m_zelkanteil);
    setTabOrder(m_zelkanteil, m_button3);
    setTabOrder(m_button3, m_button2);
    setTabOrder(m_button2, m_button1);
    setTabOrder(m_button1, m_button4);
    setTabOrder(m_button4, m_button5);
    setTabOrder(m_button5, m_button6);
}

void CompactWindow::load()
{
    m_fields->clearAmounts();
    m_fields->bindEntryList();
    m_fields->loadRate();
    // The same place every time it opens; on a smaller screen just enough
    // further in to be seen whole.
    move(834, 121);
    show();
    WindowPlacement::keepOnScreen(this);
    m_netto->setFocus();
}

void CompactWindow::onButton1Clicked(bool checked)
{
    WindowPlacement::setTopmost(this, checked);
}

void CompactWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    QWidget::closeEvent(event);
    emit mainWindowRequested();
}
