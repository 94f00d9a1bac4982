#include "ui/controls/toolbar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

ToolBar::ToolBar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(2, 1, 2, 1);
    m_layout->setSpacing(1);
    m_layout->addStretch();
    setAccessibleName(QStringLiteral("Symbolleiste"));
}

QToolButton *ToolBar::makeButton(const QString &key, const QString &caption, const QString &toolTip,
                                 const QIcon &icon, int width)
{
    auto *button = new QToolButton(this);
    button->setObjectName(key);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    if (!caption.isEmpty()) {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setToolTip(toolTip);
    button->setAccessibleName(!toolTip.isEmpty() ? toolTip : caption);
    button->setMinimumWidth(width);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    m_layout->insertWidget(m_layout->count() - 1, button);
    m_buttons.insert(key, button);
    return button;
}

QToolButton *ToolBar::addButton(const QString &key, const QString &caption, const QString &toolTip,
                                const QIcon &icon, int width)
{
    QToolButton *button = makeButton(key, caption, toolTip, icon, width);
    connect(button, &QToolButton::clicked, this, [this, key] { emit buttonClicked(key); });
    return button;
}

QToolButton *ToolBar::addMenuButton(const QString &key, const QString &caption, const QString &toolTip,
                                    const QIcon &icon, int width)
{
    QToolButton *button = makeButton(key, caption, toolTip, icon, width);
    auto *menu = new QMenu(button);
    menu->setObjectName(key + QStringLiteral("_menu"));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    m_menus.insert(key, menu);
    return button;
}

QAction *ToolBar::addMenuEntry(const QString &buttonKey, const QString &caption, const QString &key)
{
    QMenu *menu = m_menus.value(buttonKey);
    if (!menu)
        return nullptr;
    if (caption == QLatin1String("-"))
        return menu->addSeparator();
    QAction *action = menu->addAction(caption);
    action->setObjectName(key);
    connect(action, &QAction::triggered, this, [this, key] { emit menuEntryClicked(key); });
    m_entries.insert(key, action);
    return action;
}

void ToolBar::addSeparator(int width)
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedWidth(width);
    m_layout->insertWidget(m_layout->count() - 1, line);
}

void ToolBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0xE3, 0xEF, 0xFF));
    gradient.setColorAt(1, QColor(0x7F, 0xAE, 0xEA));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor(0x5A, 0x86, 0xC6));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}
