#include "support/modalanswer.h"

#include "ui/controls/messagedialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
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
