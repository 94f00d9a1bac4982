#include "ui/controls/iconbutton.h"

IconButton::IconButton(const QIcon &icon, const QString &toolTip, QWidget *parent)
    : QToolButton(parent)
{
    setIcon(icon);
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
}
