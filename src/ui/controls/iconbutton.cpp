#include "ui/controls/iconbutton.h"

#include "ui/controls/enterkey.h"

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
    if (isPlainEnter(event)) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}
