// The windows as keyboard users and assistive tools reach them.
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "system/windowplacement.h"
#include "ui/compact/compactwindow.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/main/mainwindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menuButtonsAreSplitButtons();
    void toggleActionPutsWindowOnTop_data();
    void toggleActionPutsWindowOnTop();
    void enterPressesButtons_data();
    void enterPressesButtons();
    void textsShowWhole_data();
    void textsShowWhole();
    void everyControl_data();
    void everyControl();

private:
    QWidget *window(const QString &which)
    {
        return which == QLatin1String("main") ? static_cast<QWidget *>(m_main) : m_compact.data();
    }
    ToolBar *toolbar() { return m_main->findChild<ToolBar *>(QStringLiteral("toolBar")); }
    TextBox *box(const QString &which, const QString &name)
    {
        return window(which)->findChild<TextBox *>(name);
    }

    std::unique_ptr<TestEnvironment> m_env;
    QPointer<MainWindow> m_main;
    QPointer<CompactWindow> m_compact;
};

namespace {

QAccessibleActionInterface *actions(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->actionInterface() : nullptr;
}

// Runs what the event loop has queued, without waiting for anything else.
void runQueued()
{
    QCoreApplication::sendPostedEvents();
}

// The room a label's or push button's caption has, and the room it needs.
std::pair<QRect, QSize> captionRoom(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        const int margin = label->margin();
        const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect limit(room.topLeft(), QSize(room.width(), QWIDGETSIZE_MAX));
        return {room, label->fontMetrics().boundingRect(limit, flags, label->text()).size()};
    }
    auto *button = qobject_cast<QPushButton *>(widget);
    if (!button)
        return {};
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = button->isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    // The style leaves 4 px between the icon and the text.
    if (!button->icon().isNull())
        needed.rwidth() += button->iconSize().width() + 4;
    return {button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button), needed};
}

} // namespace

void TestAccessibility::initTestCase()
{
    // Measured in the program's own lettering.
    ProgramLook::apply();
}

void TestAccessibility::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_main = new MainWindow;
    m_main->load();
    m_compact = new CompactWindow;
    m_compact->load();
}

void TestAccessibility::cleanup()
{
    for (QWidget *w : {static_cast<QWidget *>(m_main), static_cast<QWidget *>(m_compact)}) {
        if (w)
            w->close();
    }
    QTRY_VERIFY(m_main.isNull() && m_compact.isNull());
    m_env.reset();
}

void TestAccessibility::menuButtonsAreSplitButtons()
{
    for (const char *key : {"saveAction", "copyAction", "linksAction"}) {
        QToolButton *button = toolbar()->button(QLatin1String(key));
        QSignalSpy triggered(m_main->findChild<QAction *>(QLatin1String(key)), &QAction::triggered);
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        // The face does nothing.
        button->click();
        runQueued();
        QVERIFY2(!QApplication::activePopupWidget(), key);

        // ShowMenu returns first, then the menu opens; so do Enter and keypad Enter.
        const QList<std::function<void()>> openers{
            [button] { actions(button)->doAction(QAccessibleActionInterface::showMenuAction()); },
            [button] { QTest::keyClick(button, Qt::Key_Return); },
            [button] { QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier); },
        };
        for (const auto &open : openers) {
            // The menu runs its own event loop; it is noted and closed from there.
            QPointer<QWidget> shown;
            QTimer closer;
            connect(&closer, &QTimer::timeout, [&shown] {
                if ((shown = QApplication::activePopupWidget()))
                    shown->close();
            });
            open();
            QVERIFY2(!QApplication::activePopupWidget(), key);
            closer.start(5);
            QTRY_VERIFY2(shown, key);
            QCOMPARE(shown, button->menu());
        }
        QCOMPARE(triggered.size(), 0);
    }
}

void TestAccessibility::toggleActionPutsWindowOnTop_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("Immer im Vordergrund") << "main";
    QTest::newRow("Vordergrund") << "compact";
}

void TestAccessibility::toggleActionPutsWindowOnTop()
{
    QFETCH(QString, which);
    QWidget *w = window(which);
    auto *toggle = w->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"));
    // The window stays where it is, the same window.
    const QRect before = w->geometry();
    const WId id = w->winId();
    for (bool expected : {true, false}) {
        actions(toggle)->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(toggle->isChecked(), expected);
        QCOMPARE(WindowPlacement::isTopmost(w), expected);
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->winId(), id);
    }
}

// clang-format off
void TestAccessibility::enterPressesButtons_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("clipboard"); // after the press; the boxes are emptied when there is none

    QTest::newRow("Neu, Return") << "main" << "newAction" << int(Qt::Key_Return) << "";
    QTest::newRow("Neu, keypad Enter") << "main" << "newAction" << int(Qt::Key_Enter) << "";
    QTest::newRow("compact Neu, keypad Enter") << "compact" << "newButton" << int(Qt::Key_Enter) << "";
    QTest::newRow("Netto kopieren, Return") << "compact" << "copyNetButton" << int(Qt::Key_Return) << "100";
    QTest::newRow("Zelk.-Anteil kopieren, keypad Enter") << "compact" << "copyVatButton" << int(Qt::Key_Enter) << "19,00";
    QTest::newRow("Brutto kopieren, Return") << "compact" << "copyGrossButton" << int(Qt::Key_Return) << "119,00";
}
// clang-format on

void TestAccessibility::enterPressesButtons()
{
    QFETCH(QString, which);
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, clipboard);
    QTest::keyClicks(box(which, QStringLiteral("netBox")), QStringLiteral("100"));
    QTest::keyClick(box(which, QStringLiteral("netBox")), Qt::Key_Return);
    QGuiApplication::clipboard()->setText(QStringLiteral("alt"));

    auto *target = window(which)->findChild<QAbstractButton *>(button);
    QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    runQueued();
    if (clipboard.isEmpty()) {
        QVERIFY(box(which, QStringLiteral("grossBox"))->text().isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alt"));
    } else {
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    }
}

// clang-format off
void TestAccessibility::textsShowWhole_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed"); // and the focus then leaves the box; else the program sets it
    QTest::addColumn<bool>("whole"); // else it is too long, and its start shows
    QTest::addColumn<QString>("screenshot");

    QTest::newRow("netBox") << "main" << "netBox" << "999999999999,99" << false << true << "main-netto-15-characters.png";
    QTest::newRow("grossBox") << "main" << "grossBox" << "999999999999,99" << false << true << "";
    QTest::newRow("rate 16,5") << "main" << "rateBox" << "16,5" << false << true << "main-rate-16,5.png";
    QTest::newRow("typed rate 10,7") << "main" << "rateBox" << "10,7" << true << true << "";
    QTest::newRow("typed long rate") << "main" << "rateBox" << "123456,789" << true << false << "";
    QTest::newRow("compact rate 16,5") << "compact" << "rateBox" << "16,5" << false << true << "compact-rate-16,5.png";
    QTest::newRow("compact rate 19") << "compact" << "rateBox" << "19" << false << true << "";
    QTest::newRow("compact typed rate 10,7") << "compact" << "rateBox" << "10,7" << true << true << "";
    QTest::newRow("compact long result") << "compact" << "grossBox" << "1190000000000000,00" << false << false << "";
}
// clang-format on

void TestAccessibility::textsShowWhole()
{
    QFETCH(QString, which);
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QWidget *w = window(which);
    TextBox *target = box(which, boxName);
    if (typed) {
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        target->setFocus();
        target->clear();
        QTest::keyClicks(target, text);
        QTest::keyClick(target, Qt::Key_Tab);
        QVERIFY(!target->hasFocus());
    } else {
        target->setText(text);
    }
    // The start shows; with the cursor at the end, it still shows when the text is whole.
    const QPoint start(0, target->height() / 2);
    const QPixmap shot = w->grab(); // the box scrolls its text as it paints
    QCOMPARE(target->cursorPositionAt(start), 0);
    target->end(false);
    w->grab();
    QFETCH(bool, whole);
    QCOMPARE(target->cursorPositionAt(start) == 0, whole);

    // For the eye: the suite keeps these beside the real-window screenshots.
    QFETCH(QString, screenshot);
    const QString shots = qEnvironmentVariable("ZELK_SCREENSHOTS");
    if (!shots.isEmpty() && !screenshot.isEmpty() && QDir().mkpath(shots))
        QVERIFY(shot.save(QDir(shots).filePath(screenshot)));
}

void TestAccessibility::everyControl_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("style");
    // Fusion as on Linux desktops; Windows as under Wine, which has no visual styles.
    for (const char *which : {"main", "compact"}) {
        for (const char *style : {"Fusion", "Windows"})
            QTest::addRow("%s, %s", which, style) << which << style;
    }
}

// Every control as a screen reader names it, as its caption is laid out, as
// Tab reaches it and as its context menu offers it.
void TestAccessibility::everyControl()
{
    QFETCH(QString, which);
    QFETCH(QString, style);
    QWidget *w = window(which);
    const QString before = QApplication::style()->name();
    QApplication::setStyle(style);
    const auto restore = qScopeGuard([&before] { QApplication::setStyle(before); });
    int named = 0;
    int measured = 0;
    QStringList cut;
    QSet<QWidget *> takesFocus;
    const auto widgets = w->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        if (!iface || !widget->isVisibleTo(w))
            continue;
        if (widget->isEnabled() && widget->focusPolicy() & Qt::TabFocus)
            takesFocus.insert(widget);
        const auto [room, needed] = captionRoom(widget);
        const QString text = widget->property("text").toString();
        if (!text.isEmpty() && needed.isValid()) {
            if (needed.width() > room.width() || needed.height() > room.height())
                cut.append(QStringLiteral("%1 needs %2x%3 px, has %4x%5")
                               .arg(text)
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(room.width())
                               .arg(room.height()));
            ++measured;
        }
        // Everything that acts, and the plain frames (the toolbar's separators).
        const bool interactive
            = iface->actionInterface() && !iface->actionInterface()->actionNames().isEmpty();
        if (!interactive && widget->metaObject() != &QFrame::staticMetaObject)
            continue;
        const QString name = iface->text(QAccessible::Name);
        const QString description = iface->text(QAccessible::Description);
        const QString where = widget->objectName() + QLatin1String(": ") + description;
        QVERIFY2(!name.isEmpty(), qPrintable(where));
        auto *button = qobject_cast<QAbstractButton *>(widget);
        // The side buttons inside the boxes show only an icon.
        if (button && !qobject_cast<QLineEdit *>(widget->parentWidget())) {
            QString caption = button->text();
            caption.remove(QLatin1Char('&'));
            QCOMPARE(name, caption.isEmpty() ? button->toolTip() : caption);
            if (!caption.isEmpty() && !button->toolTip().isEmpty())
                QCOMPARE(description, button->toolTip());
        }
        // A screen reader reads the description as it is: plain text, no markup.
        QVERIFY2(!Qt::mightBeRichText(description), qPrintable(where));
        QVERIFY2(widget->toolTip().isEmpty() || !description.isEmpty(), qPrintable(where));
        ++named;
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    const bool main = which == QLatin1String("main");
    QVERIFY(named >= (main ? 20 : 10) && measured >= (main ? 9 : 2));

    // The user starts in the net box and meets every control once before coming back to it.
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QWidget *first = box(which, QStringLiteral("netBox"));
    QCOMPARE(QApplication::focusWidget(), first);
    for (const auto key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        QSet<QWidget *> reached;
        do {
            QVERIFY2(!reached.contains(QApplication::focusWidget()),
                     qPrintable(QApplication::focusWidget()->objectName()));
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), key,
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        } while (QApplication::focusWidget() != first);
        QCOMPARE(reached, takesFocus);
    }

    // Each box's context menu is German, keeps Strg+C and names no key the box refuses.
    const QString copy
        = QStringLiteral("&Kopieren\t") + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
    const auto boxes = w->findChildren<TextBox *>();
    for (TextBox *target : boxes) {
        target->setText(QStringLiteral("12"));
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(target, &event);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList entries;
        const auto actions = menu->actions();
        for (QAction *action : actions)
            entries.append(action->text());
        menu->close();
        QVERIFY2(entries.contains(copy), qPrintable(entries.join(QLatin1Char('|'))));
        for (const QString &entry : std::as_const(entries)) {
            const QKeySequence key(entry.section(QLatin1Char('\t'), 1), QKeySequence::NativeText);
            if (key.isEmpty())
                continue;
            MessageRecorder messages;
            QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
            QVERIFY2(messages.messages.isEmpty(),
                     qPrintable(target->objectName() + QLatin1Char(' ') + entry));
        }
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
