#include "ui/controls/toolbar.h"

#include "ui/controls/toolbutton.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>

namespace {

// A light blue fading to a darker one from top to bottom, over a dark blue line.
const QColor gradientTop(0xE3, 0xEF, 0xFF);
const QColor gradientBottom(0x7F, 0xAE, 0xEA);
const QColor bottomLine(0x5A, 0x86, 0xC6);

} // namespace

ToolBar::ToolBar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(2, 1, 2, 1);
    m_layout->setSpacing(1);
    m_layout->addStretch();
    setAccessibleName(QStringLiteral("Symbolleiste"));
}

QToolButton *ToolBar::addButton(QAction *action, int width, Caption caption, QMenu *menu)
{
    auto *button = new ToolButton(action->icon(), action->toolTip(), this);
    button->setObjectName(action->objectName());
    button->setIconSize(QSize(16, 16));
    if (caption == Caption::Shown) {
        // What is written on the button is what a voice-control user says; a
        // tip that only repeats it is left out. Another tip is what assistive
        // tools read as the description.
        QString name = action->text();
        name.remove(QLatin1Char('&'));
        button->setText(action->text());
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAccessibleName(name);
        if (action->toolTip() == name)
            button->setToolTip(QString());
    }
    button->setMinimumWidth(width);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    if (menu) {
        // The button owns its menu, so that assistive tools find the menu under it.
        menu->setParent(button, menu->windowFlags());
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    } else {
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
    }
    m_layout->insertWidget(m_layout->count() - 1, button);
    return button;
}

QToolButton *ToolBar::button(const QString &name) const
{
    return findChild<QToolButton *>(name, Qt::FindDirectChildrenOnly);
}

void ToolBar::addSeparator(int width)
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedWidth(width);
    line->setAccessibleName(QStringLiteral("Trennlinie"));
    m_layout->insertWidget(m_layout->count() - 1, line);
}

void ToolBar::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, gradientTop);
    gradient.setColorAt(1, gradientBottom);
    painter.fillRect(rect(), gradient);
    painter.setPen(bottomLine);
    painter.drawLine(0, height() - 1, width(), height() - 1);
}
