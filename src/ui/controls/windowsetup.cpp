#include "ui/controls/windowsetup.h"

#include <QWidget>

void setUpWindow(QWidget *window, const QString &objectName, const QString &title,
                 const QString &accessibleName, const QSize &size)
{
    window->setObjectName(objectName);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    if (!accessibleName.isEmpty())
        window->setAccessibleName(accessibleName);
    window->setFixedSize(size);
}
