#include "ui/controls/commands.h"

#include "core/later.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbutton.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

namespace {

class ButtonAccessible : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(QAbstractButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
        addControllingSignal(button->isCheckable() ? QStringLiteral("toggled(bool)")
                                                   : QStringLiteral("clicked()"));
    }

    QAccessible::Role role() const override
    {
        if (menu())
            return QAccessible::ButtonMenu;
        return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override
    {
        QString caption = button()->text();
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return caption.remove(QLatin1Char('&'));
        if (t == QAccessible::Accelerator)
            return QKeySequence::mnemonic(caption).toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        state.hasPopup = menu() != nullptr;
        return state;
    }

    QStringList actionNames() const override
    {
        if (!widget()->isEnabled())
            return QAccessibleWidget::actionNames();
        // The face of a split button does nothing, so it offers no Press.
        const QString action = menu() ? showMenuAction()
            : button()->isCheckable() ? toggleAction()
                                      : pressAction();
        return QStringList{action} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (!widget()->isEnabled() || Commands::blockedByModal(widget()))
            return;
        QAbstractButton *target = button();
        if (name == showMenuAction() && menu()) {
            // A menu runs its own event loop: opened at once, it would hold the caller.
            Commands::runAfterPress(target, [target] { static_cast<QToolButton *>(target)->showMenu(); });
        } else if ((name == pressAction() || name == toggleAction()) && !menu()) {
            target->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
    const QMenu *menu() const
    {
        const auto *tool = qobject_cast<const QToolButton *>(widget());
        return tool ? tool->menu() : nullptr;
    }
};

QAccessibleInterface *buttonFactory(const QString &key, QObject *object)
{
    auto *button = qobject_cast<QAbstractButton *>(object);
    const bool ours = qobject_cast<CommandButton *>(object) != nullptr
        || qobject_cast<ToolButton *>(object) != nullptr
        || (button != nullptr && qobject_cast<TextBox *>(button->parentWidget()) != nullptr);
    if (!ours || key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    return new ButtonAccessible(button);
}

} // namespace

bool Commands::blockedByModal(const QWidget *widget)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != widget && !modal->isAncestorOf(widget);
}

void Commands::runAfterPress(QWidget *from, const std::function<void()> &command)
{
    runAfterThisEvent(from, [from, command] {
        if (!blockedByModal(from))
            command();
    });
}

void Commands::bind(QAction *action, QWidget *owner, const std::function<void()> &command)
{
    QObject::connect(action, &QAction::triggered, owner, [owner, command] { runAfterPress(owner, command); });
}

void Commands::makeButtonsAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(buttonFactory);
        return true;
    }();
    Q_UNUSED(installed)
}
