#include "app/windowmanager.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// The program's windows that are shown, by name.
QStringList windows()
{
    QStringList names;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (!widget->parentWidget() && widget->testAttribute(Qt::WA_DeleteOnClose) && widget->isVisible())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

QWidget *shownWindow(const QString &name)
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

TextBox *box(const QString &window, const char *name)
{
    return shownWindow(window)->findChild<TextBox *>(QLatin1String(name));
}

// Presses a command as an assistive tool does: Press on its toolbar button,
// or on its entry in an open menu, which triggers the entry's action.
void press(QWidget *main, const QString &command)
{
    QToolButton *button = main->findChild<ToolBar *>()->button(command);
    if (button && !button->menu())
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    else
        main->findChild<QAction *>(command)->trigger();
}

// Presses the command and waits for the modal window it opens; whileOpen runs
// inside that window's own event loop, then the window is closed. Returns the
// window's title, empty when none opened.
QString pressAndClose(QWidget *main, const QString &command, const std::function<void(QWidget *)> &whileOpen)
{
    QString title;
    QPointer<QWidget> modal;
    bool done = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (modal || !(modal = QApplication::activeModalWidget()))
            return;
        title = modal->windowTitle();
        whileOpen(modal);
        if (modal)
            modal->close();
        done = true;
    });
    poll.start(10);
    press(main, command);
    return QTest::qWaitFor([&done] { return done; }) ? title : QString();
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget *widget : widgets) {
            if (widget->testAttribute(Qt::WA_DeleteOnClose))
                widget->close();
        }
        QTRY_VERIFY(windows().isEmpty());
        m_env.reset();
    }

    void switchesBetweenCalculators()
    {
        QVERIFY(RateSetting::save(u"7"_s));
        WindowManager manager(10);
        QSignalSpy ended(&manager, &WindowManager::allWindowsClosed);
        manager.start();
        QTRY_COMPARE(windows(), QStringList{"mainWindow"});

        box("mainWindow", "netBox")->setText(u"100"_s);
        shownWindow(u"mainWindow"_s)->findChild<ToolBar *>()->button(u"compactAction"_s)->click();
        QTRY_COMPARE(windows(), QStringList{"compactWindow"});
        const QString compact = u"compactWindow"_s;
        QVERIFY(box(compact, "netBox")->text().isEmpty());
        QCOMPARE(box(compact, "rateBox")->text(), u"7"_s);
        // 834, 121 unless the screen is too small (the offscreen one is 800 wide).
        QWidget *window = shownWindow(compact);
        const QRect area = window->screen()->availableGeometry();
        QTRY_VERIFY(area.contains(window->frameGeometry()));
        QCOMPARE(window->pos(), QPoint(qMin(834, area.right() + 1 - window->frameGeometry().width()), 121));

        // What it shows stays with it: the main window comes back with the stored rate.
        box(compact, "rateBox")->setText(u"16"_s);
        box(compact, "netBox")->setText(u"100"_s);
        // Its own close button hands back like closing the window (the real-window suite closes it).
        window->findChild<CommandButton *>(u"mainWindowButton"_s)->click();
        QTRY_COMPARE(windows(), QStringList{"mainWindow"});
        QVERIFY(box("mainWindow", "netBox")->text().isEmpty());
        QCOMPARE(box("mainWindow", "rateBox")->text(), u"7"_s);
        QCOMPARE(ended.size(), 0);
        shownWindow(u"mainWindow"_s)->close();
        QTRY_COMPARE(ended.size(), 1);
    }

    void windowComesBack_data()
    {
        // After the splash: the main window, or the wizard of the old version whose
        // rate waits (which old store is found is the migration's own test).
        // Minimised: windows without a task-bar button, and a main window whose
        // modal window blocks the notification area's icon, leave nothing to click
        // when a window manager minimises them anyway. A second start of the
        // program brings the window the user works with to the front.
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("withModal");
        QTest::addColumn<bool>("secondStart");
        QTest::newRow("compact window") << u"compactWindow"_s << false << false;
        QTest::newRow("compact window with a message") << u"compactWindow"_s << true << false;
        QTest::newRow("wizard") << u"wizard2009"_s << false << false;
        QTest::newRow("main window with a modal window") << u"mainWindow"_s << true << false;
        QTest::newRow("second start, main window") << u"mainWindow"_s << false << true;
        QTest::newRow("second start, main window with a modal window") << u"mainWindow"_s << true << true;
        QTest::newRow("second start, compact window") << u"compactWindow"_s << false << true;
        QTest::newRow("second start, wizard") << u"wizard2009"_s << false << true;
        QTest::newRow("second start, wizard of 2008") << u"wizard2008"_s << false << true;
    }

    void windowComesBack()
    {
        QFETCH(QString, window);
        QFETCH(bool, withModal);
        QFETCH(bool, secondStart);
        if (window.startsWith(u"wizard"_s))
            QVERIFY(SettingsStore::save(RateSetting::oldApplication(2000 + window.right(2).toInt()),
                                        RateSetting::section(), RateSetting::key(), u"16"_s));
        WindowManager manager(20);
        manager.start();
        QCOMPARE(windows(), QStringList{"splashWindow"});
        const bool compact = window == u"compactWindow"_s;
        QTRY_COMPARE(windows(), QStringList{compact ? u"mainWindow"_s : window});
        if (compact)
            shownWindow(u"mainWindow"_s)->findChild<ToolBar *>()->button(u"compactAction"_s)->click();
        QTRY_COMPARE(windows(), QStringList{window});
        QWidget *shown = shownWindow(window);
        // The compact window takes the keyboard itself once it is on screen.
        QTRY_VERIFY(!compact || shown->isActiveWindow());
        QPointer<QDialog> modal;
        if (withModal) {
            modal = new QDialog(shown);
            modal->setAttribute(Qt::WA_DeleteOnClose);
            modal->open();
            QCOMPARE(QApplication::activeModalWidget(), modal.data());
        }

        if (secondStart) {
            // Another program has the focus, and the main window is minimised where it can be.
            QWidget other;
            other.show();
            other.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &other);
            if (!withModal && !compact)
                shown->setWindowState(Qt::WindowMinimized);
            manager.bringToFront(u"token-2"_s);
            QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("token-2"));
            QTRY_COMPARE(QApplication::activeWindow(), withModal ? modal.data() : shown);
        } else {
            shown->setWindowState(Qt::WindowMinimized);
        }
        QTRY_VERIFY(!shown->isMinimized());
        QVERIFY(shown->isVisible());
        if (withModal) {
            QVERIFY(modal->isVisible() && !modal->isMinimized());
            modal->close();
        }
    }

    void modalWindowHoldsCommands_data()
    {
        QTest::addColumn<QString>("opener"); // the command that opens the modal window
        QTest::addColumn<QString>("title");
        QTest::newRow("about") << u"aboutAction"_s << u"Copyright"_s;
        QTest::newRow("autostart") << u"autostartAction"_s << u"Autostartfunktion"_s;
        QTest::newRow("donation") << u"donateAction"_s << u"Spende / Anerkennung"_s;
        QTest::newRow("exit question") << u"exitAction"_s << u"Programm beenden"_s;
    }

    void modalWindowHoldsCommands()
    {
        QFETCH(QString, opener);
        QVERIFY(RateSetting::save(u"7"_s));
        WindowManager manager(10);
        manager.start();
        QTRY_COMPARE(windows(), QStringList{"mainWindow"});
        const QPointer<QWidget> main = shownWindow(u"mainWindow"_s);
        box("mainWindow", "netBox")->setText(u"100"_s);
        QApplication::clipboard()->setText(u"alt"_s);
        UrlCatcher pages;
        QTest::failOnWarning("QDialog::exec: Recursive call detected");
        // What the commands change: the windows, the amounts, the clipboard, the stored rate, pages,
        // stacking.
        const auto state = [&] {
            const QWidget *shown = shownWindow(u"mainWindow"_s);
            const auto *onTop = shown ? shown->findChild<QAbstractButton *>(u"alwaysOnTopButton"_s) : nullptr;
            return QStringList{windows().join(u','),
                               shown ? box("mainWindow", "netBox")->text() : QString(),
                               QApplication::clipboard()->text(),
                               RateSetting::read(),
                               QString::number(pages.urls.size()),
                               onTop && onTop->isChecked() ? u"on top"_s : QString()};
        };

        QStringList before;
        QStringList after;
        QStringList opened;
        const QString shown = pressAndClose(main, opener, [&](QWidget *modal) {
            // A window or menu that a command opens over the modal one is noted
            // and closed, so that it cannot hold the test.
            QTimer closer;
            connect(&closer, &QTimer::timeout, [&] {
                QWidget *active = QApplication::activePopupWidget();
                active = active ? active : QApplication::activeModalWidget();
                if (active && active != modal) {
                    opened.append(active->windowTitle() + active->objectName());
                    active->close();
                }
            });
            closer.start(10);
            before = state();
            // The window's commands, not the amount boxes' list buttons.
            const QList<QAction *> actions
                = main->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly);
            for (QAction *action : actions) {
                if (!main) // "exit" or "Ansicht wechseln" ran
                    break;
                if (!action->objectName().isEmpty())
                    press(main, action->objectName());
                QCoreApplication::sendPostedEvents(); // commands run after the press has returned
            }
            // And every button behind it as an assistive tool drives it: Press,
            // Toggle, ShowMenu (the on-top switch, the links, the split buttons' menus).
            const auto buttons = main ? main->findChildren<QAbstractButton *>() : QList<QAbstractButton *>();
            for (QAbstractButton *button : buttons) {
                if (button->window() != main)
                    continue;
                QAccessibleActionInterface *actions
                    = QAccessible::queryAccessibleInterface(button)->actionInterface();
                for (const QString &name : actions->actionNames())
                    actions->doAction(name);
                QCoreApplication::sendPostedEvents();
            }
            after = state();
        });
        QTEST(shown, "title");
        QCOMPARE(opened, QStringList());
        QCOMPARE(after, before);
        // Once the modal window has closed, the same press opens it again.
        QCOMPARE(pressAndClose(main, opener, [](QWidget *) {}), shown);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
