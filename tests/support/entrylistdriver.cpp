#include "support/entrylistdriver.h"

#include "ui/controls/textbox.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

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
        const QString choice = command.startsWith(QLatin1String("choose ")) ? command.mid(7) : QString();
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
                if (!choice.isEmpty() && action->text() == choice)
                    chosen = action;
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

QString popupOpenedBy(const std::function<void()> &open)
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
    return QTest::qWaitFor([&shown] { return !shown.isEmpty(); }) ? shown : QString();
}
