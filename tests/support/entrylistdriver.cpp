#include "support/entrylistdriver.h"

#include "ui/controls/textbox.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

// Opens the box's entry list as the user does and returns the entries it
// shows; then chooses "add" (the box's text) or the removal of an entry, or
// closes the list when command is empty.
QStringList useEntryList(TextBox *box, const QString &command)
{
    QStringList shown;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || menu->objectName() != QLatin1String("entryListMenu"))
            return;
        driver.stop();
        QAction *chosen = nullptr;
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->objectName() == QLatin1String("addEntry")) {
                if (command == QLatin1String("add"))
                    chosen = action;
            } else if (QMenu *removal = action->menu()) {
                for (QAction *entry : removal->actions()) {
                    if (entry->text() == command)
                        chosen = entry;
                }
            } else if (!action->isSeparator()) {
                shown.append(action->text());
            }
        }
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    driver.start();
    box->showEntryList();
    return shown;
}

