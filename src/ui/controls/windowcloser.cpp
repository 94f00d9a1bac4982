#include "ui/controls/windowcloser.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

void WindowCloser::CloseAllWindows()
{
    // Every form of the program is a parentless window that is deleted when it
    // closes; menus, tooltips and message boxes are not forms and are left to
    // their owners.
    QList<QPointer<QWidget>> forms;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (!widget->parentWidget() && widget->testAttribute(Qt::WA_DeleteOnClose))
            forms.append(widget);
    }
    for (const QPointer<QWidget> &form : forms) {
        if (form)
            form->close();
    }
}
