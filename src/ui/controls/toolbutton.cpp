#include "ui/controls/toolbutton.h"

#include "ui/controls/commands.h"
#include "ui/controls/enterkey.h"

ToolButton::ToolButton(const QIcon &icon, const QString &toolTip, QWidget *parent)
    : QToolButton(parent)
{
    Commands::makeButtonsAccessible();
    setIcon(icon);
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
}

void ToolButton::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (menu()
        && (isPlainEnter(event)
            || (plain && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Down)))) {
        Commands::runAfterPress(this, [this] { showMenu(); });
        return;
    }
    if (!clickOnPlainEnter(this, event))
        QToolButton::keyPressEvent(event);
}
