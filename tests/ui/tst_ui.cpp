// The windows and their controls as users, keyboard users and assistive
// tools reach them: the calculator's boxes, the main and the compact window,
// the information and set-up windows, the message window.
#include "core/makeraddresses.h"
#include "settings/entrylist.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/messagerecorder.h"
#include "support/popups.h"
#include "support/table.h"
#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "system/autorun.h"
#include "system/programfolder.h"
#include "ui/calculator/calculatorboxes.h"
#include "ui/compact/compactwindow.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/donationwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/setup/autostartwindow.h"
#include "ui/setup/migrationwizard.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDebug>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QToolButton>

namespace {

const QString wrongKey
    = QStringLiteral("warning|Falsche Eingabe|Es können hier nur Zahlen bzw. Ziffern eingegeben werden.");

QAccessibleActionInterface *actions(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->actionInterface();
}

// The room a label's or push button's caption has, and the room it needs.
std::pair<QRect, QSize> captionRoom(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        const QRect room = label->contentsRect();
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
    QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    // The style leaves 4 px between the icon and the text.
    if (!button->icon().isNull())
        needed.rwidth() += button->iconSize().width() + 4;
    return {button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button), needed};
}

} // namespace

struct Enter
{
    QString rate;
    QString box; // where the amount is typed
    QString typed;
    QString net;
    QString vat;
    QString gross;
    QString message; // a word of the message shown; none when empty
    QLocale locale = QLocale(QLocale::German, QLocale::Germany);
};
Q_DECLARE_METATYPE(Enter)

struct Input
{
    QString path; // "key", "keys", or how the clipboard's text is put in
    QString box;
    QString before; // the box's text, the cursor at its end
    QString input;  // the key or keys, or the text on the clipboard
    QString after;
    bool warns;  // "Falsche Eingabe"
    bool copies; // the box's whole text is on the clipboard after
};
Q_DECLARE_METATYPE(Input)

struct Command
{
    QString command;
    MessageDialog::Answer answer; // to the question it asks
    QStringList messages;         // "icon|title" of each message shown
    QString clipboard;
    QString page; // the address opened
    QStringList signalsEmitted;
    bool cleared; // the amounts are emptied
    bool closes;
    int key;        // on the button; else pressed as assistive tools do
    QString window; // "main" or "compact"
    QString stored; // the rate a new window shows after; 7 before
};
Q_DECLARE_METATYPE(Command)

class TestUi : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_panel;
    CalculatorBoxes *m_boxes = nullptr;
    QPointer<MainWindow> m_main;
    QPointer<CompactWindow> m_compact;

    TextBox *box(const QString &name) const { return m_panel->findChild<TextBox *>(name); }
    QWidget *window(const QString &which) const
    {
        return which == QLatin1String("main") ? static_cast<QWidget *>(m_main) : m_compact.data();
    }
    TextBox *box(const QString &which, const QString &name) const
    {
        return window(which)->findChild<TextBox *>(name);
    }
    void freshWindows()
    {
        for (QWidget *shown : {static_cast<QWidget *>(m_main), static_cast<QWidget *>(m_compact)}) {
            if (shown)
                shown->close();
        }
        m_main = new MainWindow;
        m_main->show();
        m_compact = new CompactWindow;
        m_compact->show();
        // It takes the keyboard itself once on screen; a test may give it to the main window only after that.
        QTRY_VERIFY(m_compact->isActiveWindow());
    }
    // A command as the user runs it: its toolbar button (pressed as an
    // assistive tool does), else its menu or tray entry, else the button of that name.
    void run(QWidget *where, const QString &command)
    {
        if (QToolButton *button = where->findChild<ToolBar *>()->button(command))
            actions(button)->doAction(QAccessibleActionInterface::pressAction());
        else if (auto *action = where->findChild<QAction *>(command))
            action->trigger();
        else
            where->findChild<QAbstractButton *>(command)->click();
    }

private slots:
    void initTestCase()
    {
        // Measured in the program's own lettering.
        ProgramLook::apply();
    }
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_panel = std::make_unique<QWidget>();
        m_boxes = new CalculatorBoxes(m_panel.get(), new MessageDialog(m_panel.get()));
        m_boxes->clearAmounts();
        m_panel->show();
    }
    void cleanup()
    {
        for (QWidget *shown : {static_cast<QWidget *>(m_main), static_cast<QWidget *>(m_compact)}) {
            if (shown)
                shown->close();
        }
        QTRY_VERIFY(m_main.isNull() && m_compact.isNull());
        m_panel.reset();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_env.reset();
    }

    void enter_data()
    {
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        // clang-format off
        table<Enter>({
            {"net 100", {"19", "netBox", "100", "100", "19,00", "119,00", ""}},
            {"gross 100", {"19", "grossBox", "100", "84,03", "15,97", "100", ""}},
            {"empty box", {"19", "netBox", "", "", "", "", ""}},
            {"empty rate", {"", "netBox", "100", "100", "", "", "Mehrwertsteuersatz"}},
            {"letters in rate", {"19a", "grossBox", "100", "", "", "100", "Mehrwertsteuersatz"}},
            {"fraction", {"19", "netBox", "1/2", "1/2", "", "", "wie 100 oder 99,95 ein"}},
            {"lone minus", {"19", "grossBox", "-", "", "", "-", "wie 119 oder 99,95 ein"}},
            {"rate -100", {"-100", "grossBox", "100", "", "", "100", "kein Ergebnis"}},
            // The example amount as the user's locale writes it.
            {"English fraction", {"19", "netBox", "1/2", "1/2", "", "", "wie 100 oder 99.95 ein", english}},
        });
        // clang-format on
    }
    void enter()
    {
        QFETCH(Enter, row);
        QLocale::setDefault(row.locale);
        box("rateBox")->setText(row.rate);
        QTest::keyClicks(box(row.box), row.typed);
        MessageRecorder messages;
        QTest::keyClick(box(row.box), Qt::Key_Return);
        QCOMPARE(messages.messages.size(), row.message.isEmpty() ? 0 : 1);
        const QString seen = messages.seen().value(0);
        QVERIFY2(seen.startsWith(QStringLiteral("warning|Ungültige Eingabe|")) == !row.message.isEmpty()
                     && seen.contains(row.message),
                 qPrintable(seen));
        QCOMPARE(box("netBox")->text(), row.net);
        QCOMPARE(box("vatBox")->text(), row.vat);
        QCOMPARE(box("grossBox")->text(), row.gross);
        QCOMPARE(box("rateBox")->text(), row.rate);
    }

    // Once the user changes an amount or the rate, the amounts computed from
    // the old ones are gone: no box shows a result of other values.
    void changedAmountLeavesNoOldResult_data()
    {
        QTest::addColumn<QString>("computedFrom"); // the box Enter was pressed in
        QTest::addColumn<QString>("edited");       // then the box typed into
        QTest::addColumn<QStringList>("shown");    // net, VAT, gross after
        QTest::newRow("net, then the net") << "netBox"
                                           << "netBox" << QStringList{"1000", "", ""};
        QTest::newRow("net, then the rate") << "netBox"
                                            << "rateBox" << QStringList{"100", "", ""};
        QTest::newRow("net, then the gross") << "netBox"
                                             << "grossBox" << QStringList{"100", "", "119,000"};
        QTest::newRow("gross, then the gross") << "grossBox"
                                               << "grossBox" << QStringList{"", "", "1000"};
        QTest::newRow("gross, then a rate from the list") << "grossBox"
                                                          << "list" << QStringList{"", "", "100"};
    }
    void changedAmountLeavesNoOldResult()
    {
        QFETCH(QString, computedFrom);
        QFETCH(QString, edited);
        m_boxes->useStoredValues(m_env->filePath("zelk.dat"));
        QTest::keyClicks(box(computedFrom), QStringLiteral("100"));
        QTest::keyClick(box(computedFrom), Qt::Key_Return);
        QVERIFY(!box("vatBox")->text().isEmpty());
        if (edited == QLatin1String("list")) {
            useStoredValues(box("rateBox"), QStringLiteral("choose 7"));
        } else {
            box(edited)->setFocus();
            box(edited)->end(false);
            QTest::keyClicks(box(edited), QStringLiteral("0"));
        }
        QTEST((QStringList{box("netBox")->text(), box("vatBox")->text(), box("grossBox")->text()}), "shown");
    }

    void input_data()
    {
        QTest::addColumn<Input>("row");
        const QString result = QStringLiteral("1190000000000000,00");
        // clang-format off
        QTest::newRow("letter") << Input{"key", "netBox", "12", "A", "12", true, false};
        QTest::newRow("blank") << Input{"key", "grossBox", "12", "Space", "12", true, false};
        QTest::newRow("Escape") << Input{"key", "grossBox", "12", "Esc", "12", true, false};
        // Ctrl+V is a typed key that the amount boxes refuse, whatever the clipboard holds.
        QTest::newRow("Ctrl+V") << Input{"key", "netBox", "12", "Ctrl+V", "12", true, false};
        QTest::newRow("Ctrl+A") << Input{"key", "grossBox", "12", "Ctrl+A", "12", true, false};
        // An Alt combination belongs to the window's access keys and types nothing.
        QTest::newRow("Alt+Q") << Input{"key", "netBox", "12", "Alt+Q", "12", false, false};
        QTest::newRow("slash") << Input{"key", "netBox", "12", "/", "12/", false, false};
        QTest::newRow("minus") << Input{"key", "grossBox", "12", "-", "12-", false, false};
        QTest::newRow("Backspace") << Input{"key", "grossBox", "12", "Backspace", "1", false, false};
        QTest::newRow("Ctrl+C copies net whole") << Input{"key", "netBox", "12", "Ctrl+C", "12", false, true};
        QTest::newRow("Ctrl+C copies gross whole") << Input{"key", "grossBox", "12", "Ctrl+C", "12", false, true};
        // The locked box takes no key but Ctrl+C, which copies it whole, and warns of none.
        QTest::newRow("letter in the locked box") << Input{"key", "vatBox", "12", "A", "12", false, false};
        QTest::newRow("Backspace in the locked box") << Input{"key", "vatBox", "12", "Backspace", "12", false, false};
        QTest::newRow("Ctrl+C copies VAT whole") << Input{"key", "vatBox", "12", "Ctrl+C", "12", false, true};
        // Typing stops silently at 15 characters; a longer result stays and can be shortened.
        QTest::newRow("typed past 15") << Input{"keys", "netBox", "12345678901234", "56", "123456789012345", false, false};
        QTest::newRow("digit after a long result") << Input{"key", "grossBox", result, "5", result, false, false};
        QTest::newRow("Backspace after a long result") << Input{"key", "grossBox", result, "Backspace", result.chopped(1), false, false};
        // The rate takes any key, up to five.
        QTest::newRow("letter in the rate") << Input{"key", "rateBox", "12", "A", "12a", false, false};
        QTest::newRow("rate of five") << Input{"keys", "rateBox", "", "99,991", "99,99", false, false};
        for (const char *path : {"Shift+Insert", "context menu", "drop", "middle click"}) {
            QTest::addRow("%s, digits", path) << Input{path, "netBox", "12", "3,5", "123,5", false, false};
            QTest::addRow("%s, letters", path) << Input{path, "grossBox", "12", "abc", "12", true, false};
            QTest::addRow("%s, digits and a blank", path) << Input{path, "netBox", "12", "3 4", "12", true, false};
            QTest::addRow("%s, too long", path) << Input{path, "grossBox", "12", "12345678901234567890", "12", true, false};
            // As a spreadsheet copies a cell: blanks and one line end around an amount are no part of it.
            QTest::addRow("%s, a cell", path) << Input{path, "netBox", "12", "55\r\n", "1255", false, false};
            QTest::addRow("%s, blanks around", path) << Input{path, "grossBox", "12", " 77 ", "1277", false, false};
            QTest::addRow("%s, two line ends", path) << Input{path, "netBox", "12", "55\n\n", "12", true, false};
        }
        // clang-format on
    }
    void input()
    {
        QFETCH(Input, row);
        const bool selection = row.path == QLatin1String("middle click");
        if (selection && !QGuiApplication::clipboard()->supportsSelection()) {
            // The X session run (tst_ui_x11) must have one.
            QVERIFY(qEnvironmentVariableIsEmpty("ZELK_UNDER_X"));
            QSKIP("offscreen has no selection to paste with the middle mouse button: see tst_ui_x11");
        }
        // What a key pastes, if it does.
        const QString pasted = row.path.startsWith(QLatin1String("key")) ? QStringLiteral("3,5") : row.input;
        const QClipboard::Mode mode = selection ? QClipboard::Selection : QClipboard::Clipboard;
        QGuiApplication::clipboard()->setText(pasted, mode);
        TextBox *target = box(row.box);
        target->setFocus();
        target->setText(row.before);
        target->end(false);
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        MessageRecorder messages;
        if (row.path == QLatin1String("keys")) {
            QTest::keyClicks(target, row.input);
        } else if (row.path == QLatin1String("key")) {
            const QKeyCombination key = QKeySequence(row.input)[0];
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
        } else if (row.path == QLatin1String("Shift+Insert")) {
            QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (selection) {
            QTest::mouseClick(target, Qt::MiddleButton, {}, at);
        } else if (row.path == QLatin1String("drop")) {
            QMimeData data;
            data.setText(pasted);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
            QCoreApplication::sendEvent(target, &drop);
        } else {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
            QCoreApplication::sendEvent(target, &event);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            // The entry as Qt names it, in whatever language, with or without its key.
            const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
            const auto entries = menu->actions();
            for (QAction *entry : entries) {
                if (entry->text().section(QLatin1Char('\t'), 0, 0) == paste)
                    entry->trigger();
            }
            menu->close();
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(target->text(), row.after);
        QCOMPARE(messages.seen(), row.warns ? QStringList{wrongKey} : QStringList());
        QCOMPARE(QGuiApplication::clipboard()->text(mode), row.copies ? row.before : pasted);
    }

    // Left for another control, a box shows its start; the user who comes back
    // goes on at the end (by the program or an assistive tool), replaces the
    // whole (by Tab) or types where the click put the cursor.
    void comingBackToABox_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("after");
        QTest::newRow("the program or an assistive tool") << "focus"
                                                          << "1234";
        QTest::newRow("Tab") << "Tab"
                             << "4";
        QTest::newRow("a click before the text") << "click"
                                                 << "4123";
    }
    void comingBackToABox()
    {
        QFETCH(QString, how);
        m_panel->activateWindow();
        QTRY_VERIFY(m_panel->isActiveWindow());
        TextBox *net = box("netBox");
        net->setFocus();
        QTest::keyClicks(net, QStringLiteral("123"));
        QTest::keyClick(net, Qt::Key_Tab);
        QVERIFY(!net->hasFocus());
        QCOMPARE(net->cursorPosition(), 0);
        if (how == QLatin1String("focus"))
            net->setFocus();
        else if (how == QLatin1String("Tab"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::mouseClick(net, Qt::LeftButton, {}, QPoint(3, net->height() / 2));
        QTest::keyClicks(net, QStringLiteral("4"));
        QTEST(net->text(), "after");
    }

    void storedValues_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("damaged"); // what could not be read is kept beside the list
        const QByteArray header("# Zelk. 2010 entry list 1\n");
        const auto numbers = [](int to) {
            QStringList entries;
            for (int i = 1; i <= to; ++i)
                entries.append(QString::number(i));
            return entries;
        };
        const auto numbered
            = [&](int to) { return header + numbers(to).join(QLatin1Char('\n')).toUtf8() + '\n'; };
        // clang-format off
        QTest::newRow("damaged line, add") << header + "16\n\xff\xfe\n5,5\n" << "12" << QStringList{"16", "5,5"} << "add" << QStringList{"16", "5,5", "12"} << true;
        QTest::newRow("too long line, remove") << header + "16\n1234567890123456789\n5,5\n" << "12" << QStringList{"16", "5,5"} << "remove 16" << QStringList{"5,5"} << true;
        QTest::newRow("60 entries keep the first 50") << numbered(60) << "12" << numbers(50) << "remove 50" << numbers(49) << true;
        QTest::newRow("49 entries take one more") << numbered(49) << "99" << numbers(49) << "add" << numbers(49) + QStringList{"99"} << false;
        QTest::newRow("50 entries take no more") << numbered(50) << "99" << numbers(50) << "add" << numbers(50) << false;
        QTest::newRow("entry chosen") << header + "16\n7\n" << "12" << QStringList{"16", "7"} << "choose 7" << QStringList{"16", "7"} << false;
        QTest::newRow("a listed rate is not added twice") << header + "16\n7\n" << "7" << QStringList{"16", "7"} << "add" << QStringList{"16", "7"} << false;
        // clang-format on
    }
    void storedValues()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, rate);
        QFETCH(QString, command);
        QFETCH(bool, damaged);
        const QString file = m_env->filePath("zelk.dat");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
        out.close();
        TextBox *rateBox = box("rateBox");
        m_boxes->useStoredValues(file);
        rateBox->setText(rate);

        MessageRecorder messages;
        // An assistive tool's Press on the list button returns before the list runs its own event loop.
        QAccessibleInterface *listButton
            = QAccessible::queryAccessibleInterface(rateBox->findChild<QToolButton *>());
        QCOMPARE(listButton->text(QAccessible::Name), QStringLiteral("Gespeicherte Werte"));
        QCOMPARE(popupOpenedBy([&] {
                     listButton->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                 }),
                 QStringLiteral("storedValuesMenu"));
        QFETCH(QStringList, shown);
        QCOMPARE(useStoredValues(rateBox), QStringList{"Zelk.-Satz"} + shown);
        useStoredValues(rateBox, command);
        QCOMPARE(rateBox->text(), command.startsWith(QLatin1String("choose ")) ? command.mid(7) : rate);
        QFETCH(QStringList, after);
        QCOMPARE(useStoredValues(rateBox), QStringList{"Zelk.-Satz"} + after);
        QCOMPARE(messages.seen(), QStringList());
        QFile backup(EntryList::backupPath(file));
        QCOMPARE(backup.exists(), damaged);
        QVERIFY(!damaged || (backup.open(QIODevice::ReadOnly) && backup.readAll() == content));
    }

    // A stored rate reads whichever locale stored it: a rate is never grouped.
    void storedRateInEitherForm_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("vat"); // of net 100
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("German rate, English user") << "16,5" << english << "16.5"
                                                   << "16.50";
        QTest::newRow("English rate, German user") << "7.5" << QLocale(QLocale::German) << "7,5"
                                                   << "7,50";
        QTest::newRow("nothing stored") << "" << english << "19"
                                        << "19.00";
        QTest::newRow("not a number") << "16 %" << english << "16 %"
                                      << "";
    }
    void storedRateInEitherForm()
    {
        QFETCH(QString, stored);
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        QVERIFY(!RateSetting::save(stored).failed());
        m_boxes->showStoredRate();
        QTEST(box("rateBox")->text(), "shown");
        QTest::keyClicks(box("netBox"), QStringLiteral("100"));
        MessageRecorder messages;
        QTest::keyClick(box("netBox"), Qt::Key_Return);
        QTEST(box("vatBox")->text(), "vat");
        // What is stored is what the box shows, whenever it is saved again.
        m_boxes->saveRate();
        QCOMPARE(RateSetting::read(), box("rateBox")->text());
    }

    void fontShrinksOnlyToFit_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("shrinks");
        QTest::newRow("room to spare") << 400 << false;
        QTest::newRow("narrow") << 24 << true;
    }
    void fontShrinksOnlyToFit()
    {
        QFETCH(int, width);
        TextBox narrow;
        narrow.resize(width, 20);
        narrow.setText(QStringLiteral("16,5"));
        narrow.keepTextWhole();
        const QFont before = narrow.font();
        narrow.show();
        QTEST(narrow.font().pointSizeF() < before.pointSizeF(), "shrinks");
        // And back to its size when the text is short again.
        narrow.setText(QStringLiteral("7"));
        QCOMPARE(narrow.font(), before);
    }

    void messageAnswers_data()
    {
        using Answer = MessageDialog::Answer;
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("button"); // empty: Escape
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("OK") << false << "okButton" << Answer::Ok << QStringList{"OK"};
        QTest::newRow("Escape on a message") << false << "" << Answer::Ok << QStringList{"OK"};
        QTest::newRow("JA") << true << "yesButton" << Answer::Yes << QStringList{"JA", "NEIN"};
        QTest::newRow("NEIN") << true << "noButton" << Answer::No << QStringList{"JA", "NEIN"};
        QTest::newRow("Escape on a question") << true << "" << Answer::No << QStringList{"JA", "NEIN"};
    }
    // The real message window, answered the moment it runs.
    void messageAnswers()
    {
        QFETCH(bool, question);
        QFETCH(QString, button);
        MessageDialog dialog;
        // Answered once before: nothing of it may carry over.
        QTimer::singleShot(0, &dialog,
                           [&] { dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click(); });
        dialog.inform(QStringLiteral("Vorher"), QStringLiteral("Text"), MessageDialog::Icon::Stop);
        QString shown;
        QStringList buttons;
        QTimer::singleShot(0, &dialog, [&] {
            shown = dialog.findChild<QLabel *>(QStringLiteral("message"))->text();
            for (QPushButton *each : dialog.findChildren<QPushButton *>()) {
                if (each->isVisible())
                    buttons.append(each->text());
            }
            if (button.isEmpty())
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.findChild<QPushButton *>(button)->click();
        });
        const QString text = QStringLiteral("Zeile 1\rZeile 2\r\rZeile 4");
        const auto answer = question
            ? dialog.ask(QStringLiteral("Frage"), text, MessageDialog::Icon::Question)
            : (dialog.inform(QStringLiteral("Hinweis"), text, MessageDialog::Icon::None),
               MessageDialog::Answer::Ok);
        QTEST(answer, "answer");
        QTEST(buttons, "buttons");
        QCOMPARE(shown, QStringLiteral("Zeile 1\nZeile 2\n\nZeile 4"));
        QCOMPARE(dialog.windowTitle(), question ? QStringLiteral("Frage") : QStringLiteral("Hinweis"));
    }

    void startShowsStoredRate_data()
    {
        QTest::addColumn<QByteArray>("settings");  // none when null
        QTest::addColumn<QByteArray>("entryList"); // none when null
        QTest::addColumn<QString>("shown");
        const QByteArray garbage("\x00\xff\xfe\x01[\x80=\x00\x13", 9);
        QTest::newRow("nothing stored") << QByteArray() << QByteArray() << "19";
        QTest::newRow("seven") << QByteArray("[Zelk_Satz]\nx.Text=7\n") << QByteArray() << "7";
        QTest::newRow("empty stored") << QByteArray("[Zelk_Satz]\nx.Text=\n") << QByteArray() << "19";
        QTest::newRow("garbage settings") << garbage << garbage << "19";
    }
    void startShowsStoredRate()
    {
        freshWindows();
        const QStringList files{SettingsStore::location(RateSetting::application()),
                                ProgramFolder::entryListFile()};
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, entryList);
        const QList<QByteArray> written{settings, entryList};
        const auto removeList = qScopeGuard([&files] { QFile::remove(files[1]); });
        for (int i = 0; i < files.size(); ++i) {
            QDir().mkpath(QFileInfo(files[i]).absolutePath());
            QFile file(files[i]);
            QVERIFY(written[i].isNull()
                    || (file.open(QIODevice::WriteOnly) && file.write(written[i]) == written[i].size()));
        }
        box("main", QStringLiteral("netBox"))->setText(QStringLiteral("5"));
        m_main->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"))->click();
        freshWindows();
        for (const QString &which : {QStringLiteral("main"), QStringLiteral("compact")}) {
            QTEST(box(which, QStringLiteral("rateBox"))->text(), "shown");
            for (const char *amount : {"netBox", "vatBox", "grossBox"})
                QVERIFY2(box(which, QLatin1String(amount))->text().isEmpty(), amount);
            QVERIFY(
                !window(which)->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"))->isChecked());
            QCOMPARE(QApplication::focusWidget() == box(which, QStringLiteral("netBox")),
                     window(which)->isActiveWindow());
        }
        // Without a picture the tray icon leaves nothing to click the window back with.
        QVERIFY(!m_main->findChild<QSystemTrayIcon *>()->icon().isNull());
        // Showing a window reads; it never writes either file.
        for (int i = 0; i < files.size(); ++i) {
            QFile file(files[i]);
            QCOMPARE(file.open(QIODevice::ReadOnly), !written[i].isNull());
            QVERIFY(!file.isOpen() || file.readAll() == written[i]);
        }
    }

    void commands_data()
    {
        const auto no = MessageDialog::Answer::No;
        const auto yes = MessageDialog::Answer::Yes;
        const QStringList none;
        const QString kept = QStringLiteral("alt");
        const QStringList quit{"quitRequested"};
        const QStringList exitQuestion{"question|Programm beenden"};
        const int enter = Qt::Key_Enter;
        const int ret = Qt::Key_Return;
        // clang-format off
        table<Command>({
            {"Neu", {"newAction", no, none, kept, "", none, true, false, 0, "main", "7"}},
            {"Nettowert kopieren", {"copyNetAction", no, none, "100", "", none, false, false, 0, "main", "7"}},
            {"Zelk.-Anteil kopieren", {"copyVatAction", no, none, "16,00", "", none, false, false, 0, "main", "7"}},
            {"Bruttowert kopieren", {"copyGrossAction", no, none, "116,00", "", none, false, false, 0, "main", "7"}},
            {"Alles kopieren", {"copyAllAction", no, none, "100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n", "", none, false, false, 0, "main", "7"}},
            {"Homepage", {"homepageAction", no, none, kept, MakerAddresses::homePage(), none, false, false, 0, "main", "7"}},
            {"home page link", {"homepageLink", no, none, kept, MakerAddresses::homePage(), none, false, false, 0, "main", "7"}},
            {"Bewerten", {"rateUsAction", no, none, kept, MakerAddresses::ratingPage(), none, false, false, 0, "main", "7"}},
            {"Fehler", {"reportErrorAction", no, none, kept, MakerAddresses::errorReportPage(), none, false, false, 0, "main", "7"}},
            {"Online-Shop", {"shopAction", no, none, kept, MakerAddresses::shopPage(), none, false, false, 0, "main", "7"}},
            {"Spende", {"donateAction", no, none, kept, "", {"donationRequested"}, false, false, 0, "main", "7"}},
            {"Copyright", {"aboutAction", no, none, kept, "", {"aboutRequested"}, false, false, 0, "main", "7"}},
            {"Autostart", {"autostartAction", no, none, kept, "", {"autostartRequested"}, false, false, 0, "main", "7"}},
            {"Ansicht wechseln", {"compactAction", no, none, kept, "", {"compactModeRequested"}, false, true, 0, "main", "7"}},
            {"beenden, No", {"exitAction", no, exitQuestion, kept, "", none, false, false, 0, "main", "7"}},
            {"beenden, Yes", {"exitAction", yes, exitQuestion, kept, "", quit, false, false, 0, "main", "7"}},
            {"tray beenden", {"trayExitAction", no, none, kept, "", quit, false, false, 0, "main", "7"}},
            {"Zelk. speichern", {"saveRateAction", no, none, kept, "", none, false, false, 0, "main", "16"}},
            {"Zelk. löschen", {"deleteRateAction", no, none, kept, "", none, false, false, 0, "main", "19"}},
            {"Online-Update, No", {"updateAction", no, {"information|Online-Update"}, kept, "", none, false, false, 0, "main", "7"}},
            // Return and the keypad's Enter press the focused button.
            {"Neu, Return", {"newAction", no, none, kept, "", none, true, false, ret, "main", "7"}},
            {"Neu, keypad Enter", {"newAction", no, none, kept, "", none, true, false, enter, "main", "7"}},
            {"compact Neu", {"newButton", no, none, kept, "", none, true, false, enter, "compact", "7"}},
            {"compact Netto kopieren", {"copyNetButton", no, none, "100", "", none, false, false, ret, "compact", "7"}},
            {"compact Zelk.-Anteil kopieren", {"copyVatButton", no, none, "16,00", "", none, false, false, enter, "compact", "7"}},
            {"compact Brutto kopieren", {"copyGrossButton", no, none, "116,00", "", none, false, false, ret, "compact", "7"}},
        });
        // clang-format on
    }
    void commands()
    {
        QFETCH(Command, row);
        QVERIFY(!RateSetting::save(QStringLiteral("7")).failed());
        freshWindows();
        QWidget *where = window(row.window);
        TextBox *net = box(row.window, QStringLiteral("netBox"));
        box(row.window, QStringLiteral("rateBox"))->setText(QStringLiteral("16"));
        QTest::keyClicks(net, QStringLiteral("100"));
        QTest::keyClick(net, Qt::Key_Return);
        QGuiApplication::clipboard()->setText(QStringLiteral("alt"));

        QStringList emitted;
        QObject listener; // ends the connections with the row
        const auto note = [&emitted](const char *name) { return [&emitted, name] { emitted.append(name); }; };
        connect(m_main, &MainWindow::compactModeRequested, &listener, note("compactModeRequested"));
        connect(m_main, &MainWindow::aboutRequested, &listener, note("aboutRequested"));
        connect(m_main, &MainWindow::autostartRequested, &listener, note("autostartRequested"));
        connect(m_main, &MainWindow::donationRequested, &listener, note("donationRequested"));
        connect(m_main, &MainWindow::quitRequested, &listener, note("quitRequested"));
        MessageRecorder messages(row.answer);
        UrlCatcher catcher;

        if (row.key)
            QTest::keyClick(where->findChild<QAbstractButton *>(row.command), Qt::Key(row.key),
                            row.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        else
            run(where, row.command);
        // A window opened inside the press would hold an assistive tool until it closes.
        if (row.window == QLatin1String("main"))
            QVERIFY(emitted.isEmpty() && messages.messages.isEmpty() && net->text() == QLatin1String("100")
                    && QGuiApplication::clipboard()->text() == QLatin1String("alt"));
        QCoreApplication::sendPostedEvents();

        QStringList shown;
        for (const QString &message : messages.seen())
            shown.append(message.section(QLatin1Char('|'), 0, 1));
        QCOMPARE(shown, row.messages);
        QCOMPARE(QGuiApplication::clipboard()->text(), row.clipboard);
        QCOMPARE(catcher.urls, row.page.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(row.page)});
        QCOMPARE(emitted, row.signalsEmitted);
        if (row.closes) {
            QTRY_VERIFY(m_main.isNull());
            return;
        }
        QVERIFY(where->isVisible());
        QCOMPARE(net->text(), row.cleared ? QString() : QStringLiteral("100"));
        QCOMPARE(box(row.window, QStringLiteral("grossBox"))->text(),
                 row.cleared ? QString() : QStringLiteral("116,00"));
        QCOMPARE(box(row.window, QStringLiteral("rateBox"))->text(), QStringLiteral("16"));
        freshWindows();
        QCOMPARE(box(QStringLiteral("main"), QStringLiteral("rateBox"))->text(), row.stored);
    }

    void filesBesideTheProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("present"); // beside the program: what it is
        QTest::addColumn<QString>("message"); // "icon|title|" and a word of the last text; none: it ran
        QTest::addColumn<QString>("named");   // the file the message ends with
        // clang-format off
        QTest::newRow("F1, nothing to show the pages with") << "F1" << "help/index.html" << "warning|Hilfe|Internetbrowser" << "help/index.html";
        QTest::newRow("Hilfe, no pages") << "helpAction" << "" << "warning|Hilfe|nicht gefunden" << "help/index.html";
        QTest::newRow("Online-Update, no update program") << "updateAction" << "" << "warning|Online-Update|nicht gefunden" << "update.exe";
        QTest::newRow("Online-Update, not executable") << "updateAction" << "update.exe:text" << "warning|Online-Update|nicht gestartet" << "update.exe";
        QTest::newRow("Online-Update, no program at all") << "updateAction" << "update.exe:broken" << "warning|Online-Update|nicht gestartet" << "update.exe";
        QTest::newRow("Online-Update starts it and ends") << "updateAction" << "update.exe:program" << "" << "";
        // clang-format on
    }
    void filesBesideTheProgram()
    {
        QFETCH(QString, present);
        QFETCH(QString, message);
        QFETCH(QString, named);
        QFETCH(QString, command);
        freshWindows();
        // A desktop's opener that finds nothing to show a page with; no CHM viewer of the machine's own.
        const QString bin = m_env->filePath("bin");
        QDir().mkpath(bin);
        writeFile(bin + QStringLiteral("/xdg-open"),
                  "#!/bin/sh\necho \"no method available for opening '$1'\" >&2\nexit 3\n", true);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit() + ':' + path);
        qputenv("XDG_DATA_DIRS", m_env->path().toLocal8Bit());
        const QString kind = present.section(QLatin1Char(':'), 1);
        const QString file = present.isEmpty()
            ? QString()
            : ProgramFolder::filePath(present.section(QLatin1Char(':'), 0, 0));
        auto restore = qScopeGuard([&] {
            qputenv("PATH", path);
            QFile::remove(file);
            QFile::remove(file + QStringLiteral(".started"));
        });
        if (!file.isEmpty())
            writeFile(file,
                      kind == QLatin1String("program")      ? QByteArray("#!/bin/sh\ntouch \"$0.started\"\n")
                          : kind == QLatin1String("broken") ? QByteArray("\x7f"
                                                                         "ELF\x02\x01\x01 kaputt")
                                                            : QByteArray("kein Programm"),
                      true);
        if (kind == QLatin1String("text"))
            QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        MessageRecorder messages(MessageDialog::Answer::Yes);
        QSignalSpy quit(m_main, &MainWindow::quitRequested);
        m_main->activateWindow();
        QTRY_VERIFY(m_main->isActiveWindow());
        if (command == QLatin1String("F1"))
            QTest::keyClick(m_main, Qt::Key_F1);
        else
            run(m_main, command);
        QCoreApplication::sendPostedEvents();
        if (message.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file + QStringLiteral(".started")), 10000);
            QCOMPARE(quit.size(), 1);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!messages.messages.isEmpty(), 10000);
        QCOMPARE(quit.size(), 0);
        QVERIFY(m_main->isVisible());
        const QString seen = messages.seen().constLast();
        QVERIFY2(seen.startsWith(message.section(QLatin1Char('|'), 0, 1) + QLatin1Char('|'))
                     && seen.contains(message.section(QLatin1Char('|'), 2))
                     && seen.endsWith(QLatin1Char('\n') + ProgramFolder::filePath(named)),
                 qPrintable(seen));
    }

    void menuButtonsAreSplitButtons()
    {
        freshWindows();
        for (const char *key : {"saveAction", "copyAction", "linksAction"}) {
            QToolButton *button = m_main->findChild<ToolBar *>()->button(QLatin1String(key));
            QSignalSpy triggered(m_main->findChild<QAction *>(QLatin1String(key)), &QAction::triggered);
            QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
            // The face does nothing.
            button->click();
            QCoreApplication::sendPostedEvents();
            QVERIFY2(!QApplication::activePopupWidget(), key);
            // ShowMenu returns first, then the menu opens; so do Enter and keypad Enter.
            const QList<std::function<void()>> openers{
                [button] { actions(button)->doAction(QAccessibleActionInterface::showMenuAction()); },
                [button] { QTest::keyClick(button, Qt::Key_Return); },
                [button] { QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier); },
            };
            for (const auto &open : openers)
                QCOMPARE(popupOpenedBy(open), button->menu()->objectName());
            QCOMPARE(triggered.size(), 0);
        }
    }

    // Switched by an assistive tool's Toggle too, the window stays where it is, the same window.
    void onTopSwitchKeepsTheWindow_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("Immer im Vordergrund") << "main";
        QTest::newRow("Vordergrund") << "compact";
    }
    void onTopSwitchKeepsTheWindow()
    {
        QFETCH(QString, which);
        freshWindows();
        QWidget *w = window(which);
        auto *toggle = w->findChild<CommandButton *>(QStringLiteral("alwaysOnTopButton"));
        const QRect before = w->geometry();
        const WId id = w->winId();
        for (bool expected : {true, false}) {
            actions(toggle)->doAction(QAccessibleActionInterface::toggleAction());
            QCOMPARE(toggle->isChecked(), expected);
            QCOMPARE(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), expected);
            QCOMPARE(w->geometry(), before);
            QCOMPARE(w->winId(), id);
        }
    }

    void textsShowWhole_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typed"); // and the focus then leaves the box; else the program sets it
        QTest::addColumn<bool>("whole"); // else it is too long, and its start shows
        const QString longest = QStringLiteral("1189999999999998,81");
        QTest::newRow("net of 15") << "main"
                                   << "netBox"
                                   << "999999999999,99" << false << true;
        QTest::newRow("gross of 15") << "main"
                                     << "grossBox"
                                     << "999999999999,99" << false << true;
        QTest::newRow("the longest gross") << "main"
                                           << "grossBox" << longest << false << true;
        QTest::newRow("the longest VAT") << "main"
                                         << "vatBox"
                                         << "189999999999999,81" << false << true;
        QTest::newRow("rate 16,5") << "main"
                                   << "rateBox"
                                   << "16,5" << false << true;
        QTest::newRow("typed rate 99,99") << "main"
                                          << "rateBox"
                                          << "99,99" << true << true;
        QTest::newRow("compact rate 16,5") << "compact"
                                           << "rateBox"
                                           << "16,5" << false << true;
        QTest::newRow("compact typed rate 99,99") << "compact"
                                                  << "rateBox"
                                                  << "99,99" << true << true;
        QTest::newRow("compact net of 15") << "compact"
                                           << "netBox"
                                           << "999999999999,99" << true << true;
    }
    void textsShowWhole()
    {
        QFETCH(QString, which);
        QFETCH(QString, text);
        QFETCH(bool, typed);
        freshWindows();
        QWidget *w = window(which);
        QFETCH(QString, box);
        TextBox *target = this->box(which, box);
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
        QCOMPARE(target->text(), text);
        // The start shows; with the cursor at the end, it still shows when the text is whole.
        const QPoint start(0, target->height() / 2);
        w->grab(); // the box scrolls its text as it paints
        QCOMPARE(target->cursorPositionAt(start), 0);
        target->end(false);
        w->grab();
        QTEST(target->cursorPositionAt(start) == 0, "whole");
    }

    void everyControl_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("style");
        // Fusion as on Linux desktops; Windows as under Wine, which has no visual styles.
        for (const char *which : {"main", "compact"}) {
            for (const char *style : {"Fusion", "Windows"})
                QTest::addRow("%s, %s", which, style) << which << style;
        }
    }
    // Every control as a screen reader names it, as its caption is laid out,
    // as Tab reaches it and as its context menu offers it.
    void everyControl()
    {
        QFETCH(QString, which);
        QFETCH(QString, style);
        const QString before = QApplication::style()->name();
        QApplication::setStyle(style);
        const auto restore = qScopeGuard([&before] { QApplication::setStyle(before); });
        freshWindows();
        QWidget *w = window(which);
        int named = 0;
        int measured = 0;
        QString cut;
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
                    QDebug(&cut) << text << "needs" << needed << "has" << room.size() << ";";
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
                // A button without a caption shows what it is.
                QVERIFY2(!caption.isEmpty() || !button->icon().isNull(), qPrintable(where));
            }
            // A screen reader reads the description as it is: plain text, no markup.
            QVERIFY2(!Qt::mightBeRichText(description), qPrintable(where));
            QVERIFY2(widget->toolTip().isEmpty() || !description.isEmpty(), qPrintable(where));
            ++named;
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
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
        const QString copy = QStringLiteral("&Kopieren\t")
            + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
        const auto boxes = w->findChildren<TextBox *>();
        for (TextBox *target : boxes) {
            target->setText(QStringLiteral("12"));
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                    target->mapToGlobal(QPoint(2, 2)));
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

    void aboutWindow()
    {
        QPointer<AboutWindow> about = new AboutWindow;
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("versionLabel"))->text(),
                 QStringLiteral("Version " ZELK_PROJECT_VERSION));
        // The offscreen platform is no Windows version the line knows.
        const QString system = about->findChild<QLabel *>(QStringLiteral("systemLine"))->text();
        QVERIFY2(system.startsWith(QStringLiteral("Betriebssystem unbekannt ( Version "))
                     && system.endsWith(QStringLiteral(" )")),
                 qPrintable(system));
        UrlCatcher catcher;
        QTimer::singleShot(0, about, [about] {
            for (const char *link : {"homepageLink", "supportMailLink"})
                about->findChild<CommandButton *>(QLatin1String(link))->click();
            about->findChild<CommandButton *>(QStringLiteral("okayButton"))->click();
        });
        about->exec();
        QCOMPARE(catcher.urls,
                 (QList<QUrl>{QUrl(MakerAddresses::homePage()), QUrl(MakerAddresses::supportMail())}));
        QTRY_VERIFY(about.isNull());
    }

    void donationWindowOpensPageAndStaysOpen()
    {
        UrlCatcher catcher;
        QPointer<DonationWindow> donation = new DonationWindow;
        bool visibleAfterDonating = false;
        QTimer::singleShot(0, donation, [donation, &visibleAfterDonating] {
            auto *donate = donation->findChild<CommandButton *>(QStringLiteral("donateButton"));
            donate->click();
            donate->click();
            visibleAfterDonating = donation->isVisible();
            donation->findChild<CommandButton *>(QStringLiteral("backButton"))->click();
        });
        donation->exec();
        QVERIFY(visibleAfterDonating);
        QCOMPARE(catcher.urls, QList<QUrl>(2, QUrl(MakerAddresses::donationPage())));
        QTRY_VERIFY(donation.isNull());
    }

    void autostartWindow()
    {
        QPointer<AutostartWindow> window = new AutostartWindow;
        window->show();
        const QString path = window->findChild<TextBox *>(QStringLiteral("programPathBox"))->text();
        QCOMPARE(path, QCoreApplication::applicationFilePath());
        const QString entry = QDir(AutoRun::autostartFolder())
                                  .filePath(AutoRun::entryNameFor(path) + QStringLiteral(".desktop"));
        const auto click = [&window](const char *button) {
            MessageRecorder messages;
            window->findChild<CommandButton *>(QLatin1String(button))->click();
            return messages.seen().join(QLatin1Char('/'));
        };
        QCOMPARE(click("enterButton"), QStringLiteral("information|Autostart|Der Eintrag war erfolgreich."));
        QVERIFY(QFile::exists(entry));
        // Removing twice: there is none left, which is no failure.
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(click("removeButton"),
                     QStringLiteral("information|Autostart|Der Eintrag wurde entfernt!"));
            QVERIFY(!QFile::exists(entry));
        }
        window->findChild<CommandButton *>(QStringLiteral("backButton"))->click();
        QTRY_VERIFY(window.isNull());
    }

    void wizard_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("oldRate");
        QTest::addColumn<QString>("rate"); // shown and taken over (the tests run in German)
        QTest::addColumn<QString>("way");  // "click", "Enter" on the focused button, "cancel" after Weiter
        QTest::newRow("2009") << 2009 << "16"
                              << "16"
                              << "click";
        QTest::newRow("2008") << 2008 << "16"
                              << "16"
                              << "click";
        QTest::newRow("decimal point") << 2009 << "7.5"
                                       << "7,5"
                                       << "click";
        QTest::newRow("not a number") << 2008 << "16 %"
                                      << "16 %"
                                      << "click";
        QTest::newRow("Enter") << 2009 << "16"
                               << "16"
                               << "Enter";
        // Abbrechen after Weiter ends the wizard; the takeover stays done.
        QTest::newRow("cancelled after Weiter") << 2009 << "16"
                                                << "16"
                                                << "cancel";
        // This version's settings cannot be written: a folder stands where its file belongs.
        QTest::newRow("settings not writable") << 2009 << "16"
                                               << "16"
                                               << "blocked";
    }
    void wizard()
    {
        QFETCH(int, year);
        QFETCH(QString, oldRate);
        QFETCH(QString, rate);
        QFETCH(QString, way);
        QVERIFY(SettingsStore::save(RateSetting::oldApplication(year), RateSetting::section(),
                                    RateSetting::key(), oldRate));
        const QString settings = SettingsStore::location(RateSetting::application());
        if (way == QLatin1String("blocked"))
            QVERIFY(QDir().mkpath(settings));
        QPointer<MigrationWizard> wizard = new MigrationWizard(year);
        QSignalSpy finished(wizard.data(), &MigrationWizard::finished);
        QSignalSpy quit(wizard.data(), &MigrationWizard::quitRequested);
        MessageRecorder messages;
        wizard->show();
        QApplication::setActiveWindow(wizard);
        QVERIFY(QTest::qWaitForWindowActive(wizard));
        auto *page = wizard->findChild<QLabel *>(QStringLiteral("pageLabel"));
        static const char *const names[] = {"nextButton", "takeOverButton", "cancelButton", "finishButton"};
        const auto button = [&wizard](int index) {
            return wizard->findChild<CommandButton *>(QLatin1String(names[index]));
        };
        const auto shownButtons = [&button] {
            QString shown;
            for (int index = 0; index < 4; ++index)
                shown += button(index)->isVisible() ? QString::number(index) : QString();
            return shown;
        };
        // Each page's default button has the focus and takes Enter.
        const auto press = [&](int index) {
            QCOMPARE(QApplication::focusWidget(), button(index));
            if (way == QLatin1String("Enter"))
                QTest::keyClick(button(index), Qt::Key_Return);
            else
                button(index)->click();
        };
        QVERIFY(page->text().startsWith(QStringLiteral("Sie haben bisher Zelk. %1 verwendet.").arg(year)));
        QCOMPARE(shownButtons(), QStringLiteral("02"));
        press(0);
        QCOMPARE(shownButtons(), QStringLiteral("12"));
        if (way == QLatin1String("blocked")) {
            QCOMPARE(messages.seen(),
                     QStringList{QStringLiteral("stop|Fehler - Error|Fehlernummer: 75\n\nBeschreibung:\n"
                                                "Die Einstellungen von Zelk. 2010 konnten nicht "
                                                "gespeichert werden (%1).")
                                     .arg(settings)});
            wizard->close();
            QTRY_VERIFY(wizard.isNull());
            return;
        }
        QVERIFY2(page->text().contains(QStringLiteral("\r\n\r\nZelk-Satz : %1\r\n\r\n").arg(rate)),
                 qPrintable(page->text()));
        QCOMPARE(RateSetting::read(), rate);
        const bool cancel = way == QLatin1String("cancel");
        if (cancel) {
            button(2)->click();
            wizard->close();
        } else {
            press(1);
            QVERIFY(page->text().startsWith(QStringLiteral("Die alten Daten wurden übernommen")));
            QCOMPARE(shownButtons(), QStringLiteral("23"));
            press(3);
        }
        QTRY_VERIFY(wizard.isNull());
        QCOMPARE(quit.size(), cancel ? 1 : 0);
        QCOMPARE(finished.size(), cancel ? 0 : 1);
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.seen().join(QLatin1Char('/'))));
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
