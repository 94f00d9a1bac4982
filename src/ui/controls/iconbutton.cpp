#include "ui/controls/iconbutton.h"

#include <QKeyEvent>

IconButton::IconButton(const QIcon &icon, const QString &toolTip, QWidget *parent)
    : QToolButton(parent)
{
    setIcon(icon);
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
}

void IconButton::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}
