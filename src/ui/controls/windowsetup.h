#pragma once

#include <QSize>
#include <QString>

class QWidget;

// What every window of the program sets up first: the stable name that tests
// and assistive tools find it by, its title and the name a screen reader
// reads (none yet when empty), its fixed size, and that it is deleted once closed.
void setUpWindow(QWidget *window, const QString &objectName, const QString &title,
                 const QString &accessibleName, const QSize &size);
