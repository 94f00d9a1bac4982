#include "app/windowmanager.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/controls/toolbutton.h"

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
        QVERIFY(RateSetting::save(QStringLiteral("7")));
        WindowManager manager(10);
        QSignalSpy ended(&manager, &WindowManager::allWindowsClosed);
        manager.start();
        QTRY_COMPARE(windows(), QStringList{"mainWindow"});

        box("mainWindow", "netBox")->setText(QStringLiteral("100"));
        shownWindow(QStringLiteral("mainWindow"))
            ->findChild<ToolBar *>()
            ->button(QStringLiteral("compactAction"))
            ->click();
        QTRY_COMPARE(windows(), QStringList{"compactWindow"});
        const QString compact = QStringLiteral("compactWindow");
        QVERIFY(box(compact, "netBox")->text().isEmpty());
        QCOMPARE(box(compact, "rateBox")->text(), QStringLiteral("7"));
        // 834, 121 unless the screen is too small (the offscreen one is 800 wide).
        QWidget *window = shownWindow(compact);
        const QRect area = window->screen()->availableGeometry();
        QTRY_VERIFY(area.contains(window->frameGeometry()));
        QCOMPARE(window->pos(), QPoint(qMin(834, area.right() + 1 - window->frameGeometry().width()), 121));

        // The compact window calculates, copies and clears like the main window.
        box(compact, "rateBox")->setText(QStringLiteral("16"));
        QTest::keyClicks(box(compact, "grossBox"), QStringLiteral("116"));
        QTest::keyClick(box(compact, "grossBox"), Qt::Key_Enter);
        QCOMPARE(box(compact, "netBox")->text(), QStringLiteral("100,00"));
        window->findChild<ToolButton *>(QStringLiteral("copyVatButton"))->click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("16,00"));
        window->findChild<CommandButton *>(QStringLiteral("newButton"))->click();
        QVERIFY(box(compact, "grossBox")->text().isEmpty());
        QCOMPARE(box(compact, "rateBox")->text(), QStringLiteral("16"));

        // Its own close button hands back like closing the window (the real-window suite closes it).
        window->findChild<CommandButton *>(QStringLiteral("mainWindowButton"))->click();
        QTRY_COMPARE(windows(), QStringList{"mainWindow"});
        QVERIFY(box("mainWindow", "netBox")->text().isEmpty());
        QCOMPARE(box("mainWindow", "rateBox")->text(), QStringLiteral("7"));
        QCOMPARE(ended.size(), 0);
        shownWindow(QStringLiteral("mainWindow"))->close();
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
        QTest::newRow("compact window") << "compactWindow" << false << false;
        QTest::newRow("compact window with a message") << "compactWindow" << true << false;
        QTest::newRow("wizard") << "wizard2009" << false << false;
        QTest::newRow("main window with a modal window") << "mainWindow" << true << false;
        QTest::newRow("second start, main window") << "mainWindow" << false << true;
        QTest::newRow("second start, main window with a modal window") << "mainWindow" << true << true;
        QTest::newRow("second start, compact window") << "compactWindow" << false << true;
        QTest::newRow("second start, wizard") << "wizard2009" << false << true;
        QTest::newRow("second start, wizard of 2008") << "wizard2008" << false << true;
    }

    void windowComesBack()
    {
        QFETCH(QString, window);
        QFETCH(bool, withModal);
        QFETCH(bool, secondStart);
        if (window.startsWith(QLatin1String("wizard")))
            QVERIFY(SettingsStore::save(RateSetting::oldApplication(2000 + window.right(2).toInt()),
                                        RateSetting::section(), RateSetting::key(), QStringLiteral("16")));
        WindowManager manager(20);
        manager.start();
        QCOMPARE(windows(), QStringList{"splashWindow"});
        const bool compact = window == QLatin1String("compactWindow");
        QTRY_COMPARE(windows(), QStringList{compact ? QStringLiteral("mainWindow") : window});
        if (compact)
            shownWindow(QStringLiteral("mainWindow"))
                ->findChild<ToolBar *>()
                ->button(QStringLiteral("compactAction"))
                ->click();
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
            manager.bringToFront(QStringLiteral("token-2"));
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
        QTest::newRow("about") << "aboutAction"
                               << "Copyright";
        QTest::newRow("autostart") << "autostartAction"
                                   << "Autostartfunktion";
        QTest::newRow("donation") << "donateAction"
                                  << "Spende / Anerkennung";
        QTest::newRow("exit question") << "exitAction"
                                       << "Programm beenden";
    }

    void modalWindowHoldsCommands()
    {
        QFETCH(QString, opener);
        QFETCH(QString, title);
        QVERIFY(RateSetting::save(QStringLiteral("7")));
        WindowManager manager(10);
        manager.start();
        QTRY_COMPARE(windows(), QStringList{"mainWindow"});
        const QPointer<QWidget> main = shownWindow(QStringLiteral("mainWindow"));
        box("mainWindow", "netBox")->setText(QStringLiteral("100"));
        QApplication::clipboard()->setText(QStringLiteral("alt"));
        UrlCatcher pages;
        QTest::failOnWarning("QDialog::exec: Recursive call detected");
        // What the commands change: the windows, the amounts, the clipboard, the stored rate, pages,
        // stacking.
        const auto state = [&] {
            const QWidget *shown = shownWindow(QStringLiteral("mainWindow"));
            const auto *onTop
                = shown ? shown->findChild<QAbstractButton *>(QStringLiteral("alwaysOnTopButton")) : nullptr;
            return QStringList{windows().join(QLatin1Char(',')),
                               shown ? box("mainWindow", "netBox")->text() : QString(),
                               QApplication::clipboard()->text(),
                               RateSetting::read(),
                               QString::number(pages.urls.size()),
                               onTop && onTop->isChecked() ? QStringLiteral("on top") : QString()};
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
        QCOMPARE(shown, title);
        QCOMPARE(opened, QStringList());
        QCOMPARE(after, before);
        // Once the modal window has closed, the same press opens it again.
        QCOMPARE(pressAndClose(main, opener, [](QWidget *) {}), title);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
