#include "support/modalanswer.h"

#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

void poll(std::shared_ptr<SeenDialog> seen, QString buttonName, int attemptsLeft)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal) {
        if (attemptsLeft > 0)
            QTimer::singleShot(10, [=] { poll(seen, buttonName, attemptsLeft - 1); });
        return;
    }
    seen->shown = true;
    seen->title = modal->windowTitle();
    if (auto *message = qobject_cast<MessageDialog *>(modal)) {
        seen->text = message->text();
        seen->styleCode = message->styleCode();
    } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        seen->text = box->text();
    }
    if (buttonName.isEmpty()) {
        QTest::keyClick(modal, Qt::Key_Escape);
        return;
    }
    const auto buttons = modal->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->isVisible()
            && (button->objectName() == buttonName
                || button->text().remove(QLatin1Char('&')) == buttonName)) {
            button->click();
            return;
        }
    }
    // No such button: close it so that the test fails instead of hanging.
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
}

} // namespace

SeenDialog *answerNextModal(const QString &buttonName)
{
    static std::shared_ptr<SeenDialog> last;
    last = std::make_shared<SeenDialog>();
    auto seen = last;
    QTimer::singleShot(0, [seen, buttonName] { poll(seen, buttonName, 500); });
    return seen.get();
}

QList<SeenDialog> dialogsDuring(const std::function<void()> &action)
{
    QList<SeenDialog> seen;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&seen] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        SeenDialog dialog;
        dialog.shown = true;
        dialog.title = modal->windowTitle();
        if (auto *message = qobject_cast<MessageDialog *>(modal)) {
            dialog.text = message->text();
            dialog.styleCode = message->styleCode();
        }
        seen.append(dialog);
        if (auto *box = qobject_cast<QDialog *>(modal))
            box->reject();
        else
            modal->close();
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}

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

