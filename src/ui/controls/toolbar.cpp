#include "ui/controls/toolbar.h"

#include "ui/controls/enterkey.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace {

// A light blue fading to a darker one from top to bottom, over a dark blue line.
const QColor gradientTop(0xE3, 0xEF, 0xFF);
const QColor gradientBottom(0x7F, 0xAE, 0xEA);
const QColor bottomLine(0x5A, 0x86, 0xC6);

// Qt's own interface for a split tool button opens the menu inside the
// action call, in a nested event loop: the assistive tool would wait until the
// menu closes. The interface is made while the button is built, before it
// has its menu, so it looks at the menu when asked.
class ToolBarButtonAccessible : public QAccessibleWidget
{
public:
    explicit ToolBarButtonAccessible(ToolBarButton *button)
        : QAccessibleWidget(button, QAccessible::PushButton)
    {
    }

    QAccessible::Role role() const override
    {
        return button()->menu() ? QAccessible::ButtonMenu : QAccessible::PushButton;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = button()->text().remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = button()->menu() != nullptr;
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        // The face of a split button does nothing, so it offers no Press.
        return QStringList{button()->menu() ? showMenuAction() : pressAction()}
        + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (!button()->isEnabled())
            return;
        if (name == showMenuAction() && button()->menu())
            button()->showMenuLater();
        else if (name == pressAction() && !button()->menu())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    ToolBarButton *button() const { return static_cast<ToolBarButton *>(widget()); }
};

QAccessibleInterface *toolBarButtonFactory(const QString &key, QObject *object)
{
    auto *button = qobject_cast<ToolBarButton *>(object);
    if (key != QLatin1String("ToolBarButton") || !button)
        return nullptr;
    return new ToolBarButtonAccessible(button);
}

} // namespace

ToolBarButton::ToolBarButton(QWidget *parent)
    : QToolButton(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(toolBarButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void ToolBarButton::showMenuLater()
{
    QTimer::singleShot(0, this, &QToolButton::showMenu);
}

void ToolBarButton::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool opensMenu
        = isPlainEnter(event) || (plain && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Down));
    if (menu() && opensMenu) {
        showMenuLater();
        return;
    }
    if (isPlainEnter(event)) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

ToolBar::ToolBar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(2, 1, 2, 1);
    m_layout->setSpacing(1);
    m_layout->addStretch();
    setAccessibleName(QStringLiteral("Symbolleiste"));
}

QToolButton *ToolBar::makeButton(QAction *action, int width, Caption caption)
{
    auto *button = new ToolBarButton(this);
    button->setObjectName(action->objectName());
    button->setIcon(action->icon());
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    // What is written on the button is what a voice-control user says; a tip
    // that only repeats it is left out.
    QString name = action->text();
    name.remove(QLatin1Char('&'));
    const QString tip = action->toolTip();
    if (caption == Caption::Shown) {
        button->setText(action->text());
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        if (tip != name) {
            button->setToolTip(tip);
            button->setAccessibleDescription(tip);
        }
        button->setAccessibleName(name);
    } else {
        button->setToolTip(tip);
        button->setAccessibleName(tip);
    }
    button->setMinimumWidth(width);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    m_layout->insertWidget(m_layout->count() - 1, button);
    return button;
}

QToolButton *ToolBar::addButton(QAction *action, int width, Caption caption)
{
    QToolButton *button = makeButton(action, width, caption);
    QPointer<QAction> target(action);
    connect(button, &QToolButton::clicked, this, [this, target] {
        QTimer::singleShot(0, this, [target] {
            if (target)
                target->trigger();
        });
    });
    return button;
}

QToolButton *ToolBar::addMenuButton(QAction *action, QMenu *menu, int width, Caption caption)
{
    QToolButton *button = makeButton(action, width, caption);
    // The button owns its menu, so that assistive tools find the menu under it.
    menu->setParent(button, menu->windowFlags());
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
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
