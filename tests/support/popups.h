#pragma once

#include "ui/controls/storedvalues.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs open, which opens a popup (a menu, the list of stored values) that runs
// its own event loop, closes the popup and returns its object name; "opened
// inside" when it opened before open had returned, which would hold an
// assistive tool; empty when none opened.
inline QString popupOpenedBy(const std::function<void()> &open)
{
    bool returned = false;
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            shown = returned ? popup->objectName() : QStringLiteral("opened inside");
            popup->close();
        }
    });
    closer.start(5);
    open();
    returned = true;
    return QTest::qWaitFor([&shown] { return !shown.isEmpty(); }, 500) ? shown : QString();
}

// Opens the box's list of stored values as the user does and returns what it
// shows: its caption first, then the entries. Then chooses "add" (the box's
// text), "choose <entry>", "remove <entry>", or nothing when command is empty.
inline QStringList useStoredValues(QLineEdit *box, const QString &command = QString())
{
    QStringList shown;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || menu->objectName() != QLatin1String("storedValuesMenu"))
            return;
        driver.stop();
        QAction *chosen = nullptr;
        const auto actions = menu->actions();
        for (QAction *action : actions) {
            if (action->objectName() == QLatin1String("addEntry")) {
                chosen = command == QLatin1String("add") ? action : chosen;
            } else if (QMenu *removal = action->menu()) {
                for (QAction *entry : removal->actions())
                    chosen = command == QLatin1String("remove ") + entry->text() ? entry : chosen;
            } else if (!action->isSeparator() || action->text().size()) {
                shown.append(action->text());
                chosen = command == QLatin1String("choose ") + action->text() ? action : chosen;
            }
        }
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    driver.start();
    box->findChild<StoredValuesList *>()->open();
    return shown;
}
