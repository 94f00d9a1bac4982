#include "ui/controls/messagedialog.h"

#include "ui/controls/bgrcolor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

MessageDialog::MessageDialog(QWidget *parent)
    : QDialog(parent)
    , m_icon(new QLabel(this))
    , m_message(new QLabel(this))
    , m_okButton(new QPushButton(this))
    , m_yesButton(new QPushButton(this))
    , m_noButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("Dialog1"));
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
        button->setMinimumWidth(80);
    }
    connect(m_okButton, &QPushButton::clicked, this, [this] { finish(Ok); });
    connect(m_yesButton, &QPushButton::clicked, this, [this] { finish(Yes); });
    connect(m_noButton, &QPushButton::clicked, this, [this] { finish(No); });

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(m_icon);
    top->addWidget(m_message, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_yesButton);
    buttons->addWidget(m_noButton);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

int MessageDialog::showModal()
{
    setWindowTitle(m_title);
    setAccessibleName(m_title);

    QString shown = m_text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_message->setText(shown);
    m_message->setAccessibleName(shown);

    const QScreen *screen = this->screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int widest = qMax(200, screenWidth * qBound<int>(10, m_numericSetting, 100) / 100);
    m_message->setMaximumWidth(widest);
    // Lines stay whole up to the widest allowed; the title must fit, too.
    int wanted = fontMetrics().horizontalAdvance(m_title) + 120;
    for (const QString &line : shown.split(QLatin1Char('\n')))
        wanted = qMax(wanted, m_message->fontMetrics().horizontalAdvance(line) + 4);
    m_message->setMinimumWidth(qMin(wanted, widest));

    QStyle::StandardPixmap pixmap = QStyle::SP_CustomBase;
    switch (m_style & 0xF0) {
    case 16:
        pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case 32:
        pixmap = QStyle::SP_MessageBoxQuestion;
        break;
    case 48:
        pixmap = QStyle::SP_MessageBoxWarning;
        break;
    case 64:
        pixmap = QStyle::SP_MessageBoxInformation;
        break;
    default:
        break;
    }
    if (pixmap != QStyle::SP_CustomBase) {
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        m_icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(size, size));
        m_icon->show();
    } else {
        m_icon->hide();
    }

    const bool question = (m_style & 0x0F) == 4;
    m_okButton->setText(m_okCaption);
    m_yesButton->setText(m_yesCaption);
    m_noButton->setText(m_thirdCaption);
    m_okButton->setAccessibleName(m_okCaption);
    m_yesButton->setAccessibleName(m_yesCaption);
    m_noButton->setAccessibleName(m_thirdCaption);
    m_okButton->setVisible(!question);
    m_yesButton->setVisible(question);
    m_noButton->setVisible(question);
    QPushButton *first = question ? m_yesButton : m_okButton;
    first->setDefault(true);
    first->setFocus();

    if (m_backColor.isValid()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, m_backColor);
        setPalette(pal);
    }

    m_result = question ? (m_yesNoSwitch ? No : Cancelled) : Ok;
    exec();
    return m_result;
}

void MessageDialog::finish(int result)
{
    m_result = result;
    done(result);
}

void MessageDialog::reject()
{
    // Escape and the close box keep the answer prepared in showModal.
    done(m_result);
}

QString MessageDialog::ShowMessage(const QString &text, const QString &style, const QString &title, bool flag,
                                   const QString &extra)
{
    Q_UNUSED(flag);
    Q_UNUSED(extra);
    setTitle(title);
    setText(text);
    setStyleCode(style.toInt());
    setYesNoSwitch(true);
    setBackColor(BgrColor::toColor(0xCCFFFF));
    setOkCaption(QStringLiteral("OK"));
    setYesCaption(QStringLiteral("JA"));
    setThirdCaption(QStringLiteral("NEIN"));
    setNumericSetting(50);
    return QString::number(showModal());
}
