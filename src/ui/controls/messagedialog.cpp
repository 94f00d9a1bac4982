#include "ui/controls/messagedialog.h"

#include "ui/controls/bgrcolor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

MessageDialog::StandIn *standIn = nullptr;

// The widest a message may grow, in percent of the screen width, but never
// narrower than this many pixels.
const int widestPercent = 50;
const int widestAtLeast = 200;
// Assumed when the dialog is on no screen yet.
const int fallbackScreenWidth = 1024;
// Room beside the title in the title bar: the icon and the close box.
const int titleBarRoom = 120;
const int buttonMinimumWidth = 80;
const int spacing = 16;
const int bottomMargin = 12;
const QColor dialogBackground = BgrColor::toColor(0xCCFFFF);

// Each icon of a message, as the plain message box knows it and as the style draws it.
struct IconLook
{
    QMessageBox::Icon plain;
    QStyle::StandardPixmap drawn;
};

IconLook lookOf(MessageDialog::Icon icon)
{
    switch (icon) {
    case MessageDialog::Icon::Information:
        return {QMessageBox::Information, QStyle::SP_MessageBoxInformation};
    case MessageDialog::Icon::Question:
        return {QMessageBox::Question, QStyle::SP_MessageBoxQuestion};
    case MessageDialog::Icon::Warning:
        return {QMessageBox::Warning, QStyle::SP_MessageBoxWarning};
    case MessageDialog::Icon::Stop:
        return {QMessageBox::Critical, QStyle::SP_MessageBoxCritical};
    case MessageDialog::Icon::None:
        break;
    }
    return {QMessageBox::NoIcon, QStyle::SP_CustomBase};
}

// A CR (the line end of the stored texts) breaks the line as a LF does.
QString withLineFeeds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

void MessageDialog::setStandIn(StandIn *replacement)
{
    standIn = replacement;
}

MessageDialog::MessageDialog(QWidget *parent)
    : QDialog(parent)
    , m_icon(new QLabel(this))
    , m_message(new QLabel(this))
    , m_okButton(new QPushButton(this))
    , m_yesButton(new QPushButton(this))
    , m_noButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("messageDialog"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);

    m_icon->setObjectName(QStringLiteral("icon"));
    m_icon->setAlignment(Qt::AlignTop);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_yesButton->setObjectName(QStringLiteral("yesButton"));
    m_noButton->setObjectName(QStringLiteral("noButton"));
    for (QPushButton *button : {m_okButton, m_yesButton, m_noButton}) {
        button->setAutoDefault(true);
        button->setMinimumWidth(buttonMinimumWidth);
    }
    m_okButton->setText(QStringLiteral("OK"));
    m_yesButton->setText(QStringLiteral("JA"));
    m_noButton->setText(QStringLiteral("NEIN"));
    for (QPushButton *button : {m_okButton, m_yesButton, m_noButton})
        button->setAccessibleName(button->text());
    const auto answerWith = [this](Answer answer) {
        return [this, answer] {
            m_answer = answer;
            accept();
        };
    };
    connect(m_okButton, &QPushButton::clicked, this, answerWith(Answer::Ok));
    connect(m_yesButton, &QPushButton::clicked, this, answerWith(Answer::Yes));
    connect(m_noButton, &QPushButton::clicked, this, answerWith(Answer::No));

    QPalette colors = palette();
    colors.setColor(QPalette::Window, dialogBackground);
    setPalette(colors);

    auto *top = new QHBoxLayout;
    top->setSpacing(spacing);
    top->addWidget(m_icon);
    top->addWidget(m_message, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_yesButton);
    buttons->addWidget(m_noButton);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(spacing, spacing, spacing, bottomMargin);
    layout->setSpacing(spacing);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

void MessageDialog::inform(const QString &title, const QString &text, Icon icon)
{
    present({title, text, icon, false});
}

MessageDialog::Answer MessageDialog::ask(const QString &title, const QString &text, Icon icon)
{
    return present({title, text, icon, true});
}

void MessageDialog::informPlain(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    if (standIn) {
        standIn->answer({title, text, icon, false});
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(withLineFeeds(text));
    box.setIcon(lookOf(icon).plain);
    box.exec();
}

MessageDialog::Answer MessageDialog::present(const Message &message)
{
    if (standIn)
        return standIn->answer(message);
    prepare(message);
    // Escape and the close box leave this answer: OK, or No to a question.
    m_answer = message.question ? Answer::No : Answer::Ok;
    exec();
    return m_answer;
}

void MessageDialog::prepare(const Message &message)
{
    setWindowTitle(message.title);
    setAccessibleName(message.title);
    const QString shown = withLineFeeds(message.text);
    m_message->setText(shown);
    m_message->setAccessibleName(shown);

    const QScreen *screen = this->screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : fallbackScreenWidth;
    const int widest = qMax(widestAtLeast, screenWidth * widestPercent / 100);
    m_message->setMaximumWidth(widest);
    // Lines stay whole up to the widest allowed; the title must fit, too.
    int wanted = fontMetrics().horizontalAdvance(message.title) + titleBarRoom;
    for (const QString &line : shown.split(QLatin1Char('\n')))
        wanted = qMax(wanted, m_message->fontMetrics().horizontalAdvance(line) + 4);
    m_message->setMinimumWidth(qMin(wanted, widest));

    const IconLook look = lookOf(message.icon);
    if (look.plain != QMessageBox::NoIcon) {
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        m_icon->setPixmap(style()->standardIcon(look.drawn, nullptr, this).pixmap(size, size));
    }
    m_icon->setVisible(look.plain != QMessageBox::NoIcon);

    m_okButton->setVisible(!message.question);
    m_yesButton->setVisible(message.question);
    m_noButton->setVisible(message.question);
    QPushButton *first = message.question ? m_yesButton : m_okButton;
    first->setDefault(true);
    first->setFocus();
}
