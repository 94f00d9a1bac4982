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
#include "ui/controls/frame.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/donationwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/main/trayicon.h"
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
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString wrongKey
    = u"warning|Falsche Eingabe|Es können hier nur Zahlen bzw. Ziffern eingegeben werden."_s;

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

// Whether the frame's caption is drawn: glyphs cover more rows of its strip than the border's two lines.
bool captionDrawn(Frame *frame)
{
    const QImage image = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Left of the caption, above the border: the background.
    const QRgb background = image.pixel(2, 1);
    const int width = frame->fontMetrics().horizontalAdvance(frame->caption());
    int rows = 0;
    for (int y = 0; y < frame->fontMetrics().height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y)) + 8;
        rows += std::any_of(line, line + width, [background](QRgb pixel) { return pixel != background; });
    }
    return rows > 2;
}

// Opens the box's context menu from the keyboard, triggers the entry captioned choose (its key left
// aside) and returns every entry's text; none when no menu opened.
QStringList contextMenu(QLineEdit *box, const QString &choose = QString())
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(box, &event);
    QStringList entries;
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    const auto actions = menu ? menu->actions() : QList<QAction *>();
    for (QAction *entry : actions) {
        entries.append(entry->text());
        if (entry->text().section(u'\t', 0, 0) == choose)
            entry->trigger();
    }
    if (menu)
        menu->close();
    return entries;
}

// The captions of the window's buttons that show.
QStringList shownButtons(const QWidget *window)
{
    QStringList shown;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisible())
            shown.append(button->text());
    }
    return shown;
}

// The texts, each one its pattern matches (a * in it standing for any text) given as that pattern:
// compared with the patterns, they show the texts that differ.
QStringList matchedBy(QStringList texts, const QStringList &patterns)
{
    for (qsizetype i = 0; i < std::min(texts.size(), patterns.size()); ++i) {
        // Escaped, a * reads \*.
        const QString wildcards = QRegularExpression::escape(patterns[i]).replace(u"\\*"_s, u".*"_s);
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(wildcards),
                                         QRegularExpression::DotMatchesEverythingOption);
        if (pattern.match(texts[i]).hasMatch())
            texts[i] = patterns[i];
    }
    return texts;
}

} // namespace

struct Enter
{
    QString rate;
    QString box; // where the amount is typed
    QString typed;
    QStringList amounts; // net, VAT, gross
    QString message;     // a word of the message shown; none when empty
    QLocale locale = QLocale(QLocale::German, QLocale::Germany);
    std::optional<QString> stored = {}; // stored for the box to read; else the rate is put in
    QString edited = {};                // then typed into ("list": a rate chosen from its list)
    QStringList after = {};             // net, VAT, gross then
};

struct Input
{
    // "key", "keys", how the clipboard's text is put in, or "back by" how the box is come back to
    QString path;
    QString box;
    QString before; // the box's text, the cursor at its end
    QString input;  // the key or keys, or the text on the clipboard
    QString after;
    QString then; // "warns" (Falsche Eingabe), or "copies" the box's whole text to the clipboard
};

struct Stored
{
    QByteArray content; // of the list's file
    QString rate;       // in the box
    QStringList shown;
    QString command; // chosen from the list
    QStringList after;
    bool damaged; // what could not be read is kept beside the list
};

struct Command
{
    QString command;
    MessageDialog::Answer answer; // to the question it asks
    QStringList messages;         // each message shown, "icon|title|text", a * standing for any text
    QString clipboard;
    QString page; // the address opened
    QStringList signalsEmitted;
    QString then;            // "emptied": the amounts are; "closed": the window is
    int key;                 // on the button (on the window without one); else pressed as assistive tools do
    QString window;          // "main" or "compact"
    QString stored;          // the rate a new window shows after; 7 before
    QString beside = {};     // a file beside the program
    QByteArray content = {}; // what it holds; there is none when null
    bool executable = true;
};

// A window of information or set-up as the program runs it (modal), what it shows, and its buttons
// clicked in turn.
struct Dialog
{
    std::function<QDialog *()> make;
    QStringList shown;  // "control: its text", a * standing for any text
    QStringList clicks; // the buttons
    QStringList after;  // each click's messages and pages opened, "entry" while the program's autostart
                        // entry exists, "closed" once the window is
};

class TestUi : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_panel;
    CalculatorBoxes *m_boxes = nullptr;
    QPointer<MainWindow> m_main;
    QPointer<CompactWindow> m_compact;
    QPointer<QWidget> m_front; // the one of them freshWindows brought to the front: it has the keyboard
    QTemporaryDir m_bin;       // first on PATH

    TextBox *box(const QString &name) const { return m_panel->findChild<TextBox *>(name); }
    // What the net, VAT and gross boxes show.
    static QStringList amounts(const QWidget *in)
    {
        const auto text = [in](const QString &name) { return in->findChild<TextBox *>(name)->text(); };
        return {text(u"netBox"_s), text(u"vatBox"_s), text(u"grossBox"_s)};
    }
    // New windows; the one named active has the keyboard.
    void freshWindows(const QString &active = u"compact"_s)
    {
        QApplication::closeAllWindows();
        m_main = new MainWindow;
        m_main->show();
        m_compact = new CompactWindow;
        m_compact->show();
        // It takes the keyboard itself once on screen; a test may give it to the main window only after that.
        QTRY_VERIFY(m_compact->isActiveWindow());
        m_front = active == u"main"_s ? static_cast<QWidget *>(m_main) : m_compact.data();
        m_front->activateWindow();
        QTRY_VERIFY(m_front->isActiveWindow());
    }

private slots:
    void initTestCase()
    {
        // Measured in the program's own lettering.
        ProgramLook::apply();
        // A desktop's opener that finds nothing to show a page with, and no CHM viewer of the machine's
        // own: no test shows the help in a real viewer.
        writeFile(m_bin.filePath(u"xdg-open"_s),
                  "#!/bin/sh\necho \"no method available for opening '$1'\" >&2\nexit 3\n", true);
        qputenv("PATH", m_bin.path().toLocal8Bit() + ':' + qgetenv("PATH"));
        qputenv("XDG_DATA_DIRS", m_bin.path().toLocal8Bit());
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
        // Nothing a test put beside the program is there for the next.
        for (const QString &file :
             {ProgramFolder::entryListFile(), ProgramFolder::helpIndex(), ProgramFolder::updateProgram(),
              ProgramFolder::updateProgram() + u".started"_s})
            QFile::remove(file);
        QApplication::closeAllWindows();
        QTRY_VERIFY(m_main.isNull() && m_compact.isNull());
        m_panel.reset();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_env.reset();
    }

    void enter_data()
    {
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        // clang-format off
        table<Enter>({
            {"net 100", {"19", "netBox", "100", {"100", "19,00", "119,00"}, ""}},
            {"gross 100", {"19", "grossBox", "100", {"84,03", "15,97", "100"}, ""}},
            {"empty box", {"19", "netBox", "", {"", "", ""}, ""}},
            {"empty rate", {"", "netBox", "100", {"100", "", ""}, "Mehrwertsteuersatz"}},
            {"letters in rate", {"19a", "grossBox", "100", {"", "", "100"}, "Mehrwertsteuersatz"}},
            {"fraction", {"19", "netBox", "1/2", {"1/2", "", ""}, "wie 100 oder 99,95 ein"}},
            {"lone minus", {"19", "grossBox", "-", {"", "", "-"}, "wie 119 oder 99,95 ein"}},
            {"rate -100", {"-100", "grossBox", "100", {"", "", "100"}, "kein Ergebnis"}},
            // The example amount as the user's locale writes it.
            {"English fraction", {"19", "netBox", "1/2", {"1/2", "", ""}, "wie 100 oder 99.95 ein", english}},
            // A stored rate reads whichever locale stored it: a rate is never grouped.
            {"German rate, English user", {"16.5", "netBox", "100", {"100", "16.50", "116.50"}, "", english, "16,5"}},
            {"English rate, German user", {"7,5", "netBox", "100", {"100", "7,50", "107,50"}, "", german, "7.5"}},
            {"nothing stored", {"19", "netBox", "100", {"100", "19.00", "119.00"}, "", english, ""}},
            {"not a number", {"16 %", "netBox", "100", {"100", "", ""}, "Mehrwertsteuersatz", english, "16 %"}},
            // Once the user changes an amount or the rate, the amounts computed from the old ones are gone: no box
            // shows a result of other values.
            {"net, then the net", {"19", "netBox", "100", {"100", "19,00", "119,00"}, "", german, {}, "netBox", {"1000", "", ""}}},
            {"net, then the rate", {"19", "netBox", "100", {"100", "19,00", "119,00"}, "", german, {}, "rateBox", {"100", "", ""}}},
            {"net, then the gross", {"19", "netBox", "100", {"100", "19,00", "119,00"}, "", german, {}, "grossBox", {"100", "", "119,000"}}},
            {"gross, then the gross", {"19", "grossBox", "100", {"84,03", "15,97", "100"}, "", german, {}, "grossBox", {"", "", "1000"}}},
            {"gross, then a rate from the list", {"19", "grossBox", "100", {"84,03", "15,97", "100"}, "", german, {}, "list", {"", "", "100"}}},
        });
        // clang-format on
    }
    void enter()
    {
        QFETCH(Enter, row);
        QLocale::setDefault(row.locale);
        if (row.stored) {
            QVERIFY(!RateSetting::save(*row.stored).failed());
            m_boxes->showStoredRate();
        } else {
            box("rateBox")->setText(row.rate);
        }
        QTest::keyClicks(box(row.box), row.typed);
        MessageRecorder messages;
        QTest::keyClick(box(row.box), Qt::Key_Return);
        const QStringList warning{u"warning|Ungültige Eingabe|*"_s + row.message + u'*'};
        QCOMPARE(matchedBy(messages.seen(), warning), row.message.isEmpty() ? QStringList() : warning);
        QCOMPARE(amounts(m_panel.get()), row.amounts);
        QCOMPARE(box("rateBox")->text(), row.rate);
        // What is stored is what the box shows, whenever it is saved again.
        m_boxes->saveRate();
        QCOMPARE(RateSetting::read(), row.rate);
        if (row.edited.isEmpty())
            return;
        if (row.edited == u"list"_s) {
            m_boxes->useStoredValues(m_env->filePath("zelk.dat"));
            useStoredValues(box("rateBox"), u"choose 7"_s);
        } else {
            box(row.edited)->setFocus();
            box(row.edited)->end(false);
            QTest::keyClicks(box(row.edited), u"0"_s);
        }
        QCOMPARE(amounts(m_panel.get()), row.after);
    }

    void input_data()
    {
        QTest::addColumn<Input>("row");
        const QString result = u"1190000000000000,00"_s;
        // clang-format off
        QTest::newRow("letter") << Input{"key", "netBox", "12", "A", "12", "warns"};
        QTest::newRow("blank") << Input{"key", "grossBox", "12", "Space", "12", "warns"};
        QTest::newRow("Escape") << Input{"key", "grossBox", "12", "Esc", "12", "warns"};
        // Ctrl+V is a typed key that the amount boxes refuse, whatever the clipboard holds.
        QTest::newRow("Ctrl+V") << Input{"key", "netBox", "12", "Ctrl+V", "12", "warns"};
        QTest::newRow("Ctrl+A") << Input{"key", "grossBox", "12", "Ctrl+A", "12", "warns"};
        // An Alt combination belongs to the window's access keys and types nothing.
        QTest::newRow("Alt+Q") << Input{"key", "netBox", "12", "Alt+Q", "12", ""};
        QTest::newRow("slash") << Input{"key", "netBox", "12", "/", "12/", ""};
        QTest::newRow("minus") << Input{"key", "grossBox", "12", "-", "12-", ""};
        QTest::newRow("Backspace") << Input{"key", "grossBox", "12", "Backspace", "1", ""};
        QTest::newRow("Ctrl+C copies net whole") << Input{"key", "netBox", "12", "Ctrl+C", "12", "copies"};
        QTest::newRow("Ctrl+C copies gross whole") << Input{"key", "grossBox", "12", "Ctrl+C", "12", "copies"};
        // The locked box takes no key but Ctrl+C, which copies it whole, and warns of none.
        QTest::newRow("letter in the locked box") << Input{"key", "vatBox", "12", "A", "12", ""};
        QTest::newRow("Backspace in the locked box") << Input{"key", "vatBox", "12", "Backspace", "12", ""};
        QTest::newRow("Ctrl+C copies VAT whole") << Input{"key", "vatBox", "12", "Ctrl+C", "12", "copies"};
        // Typing stops silently at 15 characters, but a refused key is still told; a longer result stays and
        // can be shortened.
        QTest::newRow("typed past 15") << Input{"keys", "netBox", "12345678901234", "56", "123456789012345", ""};
        QTest::newRow("letter in a full box") << Input{"key", "netBox", "123456789012345", "A", "123456789012345", "warns"};
        QTest::newRow("digit after a long result") << Input{"key", "grossBox", result, "5", result, ""};
        QTest::newRow("Backspace after a long result") << Input{"key", "grossBox", result, "Backspace", result.chopped(1), ""};
        // The rate takes any key, up to five.
        QTest::newRow("letter in the rate") << Input{"key", "rateBox", "12", "A", "12a", ""};
        QTest::newRow("rate of five") << Input{"keys", "rateBox", "", "99,991", "99,99", ""};
        // Left for another control, a box shows its start; the user who comes back goes on at the end (by the
        // program or an assistive tool), replaces the whole (by Tab) or types where the click put the cursor.
        QTest::newRow("back by the program or an assistive tool") << Input{"back by focus", "netBox", "123", "4", "1234", ""};
        QTest::newRow("back by Tab") << Input{"back by Tab", "netBox", "123", "4", "4", ""};
        QTest::newRow("back by a click before the text") << Input{"back by click", "netBox", "123", "4", "4123", ""};
        for (const char *path : {"Shift+Insert", "context menu", "drop", "middle click"}) {
            QTest::addRow("%s, digits", path) << Input{path, "netBox", "12", "3,5", "123,5", ""};
            QTest::addRow("%s, letters", path) << Input{path, "grossBox", "12", "abc", "12", "warns"};
            QTest::addRow("%s, digits and a blank", path) << Input{path, "netBox", "12", "3 4", "12", "warns"};
            QTest::addRow("%s, too long", path) << Input{path, "grossBox", "12", "12345678901234567890", "12", "warns"};
            // As a spreadsheet copies a cell: blanks and one line end around an amount are no part of it.
            QTest::addRow("%s, a cell", path) << Input{path, "netBox", "12", "55\r\n", "1255", ""};
            QTest::addRow("%s, blanks around", path) << Input{path, "grossBox", "12", " 77 ", "1277", ""};
            QTest::addRow("%s, two line ends", path) << Input{path, "netBox", "12", "55\n\n", "12", "warns"};
        }
        // clang-format on
    }
    void input()
    {
        QFETCH(Input, row);
        const bool selection = row.path == u"middle click"_s;
        if (selection && !QGuiApplication::clipboard()->supportsSelection()) {
            // The X session run (tst_ui_x11) must have one.
            QVERIFY(qEnvironmentVariableIsEmpty("ZELK_UNDER_X"));
            QSKIP("offscreen has no selection to paste with the middle mouse button: see tst_ui_x11");
        }
        // What a key pastes, if it does.
        const QString pasted = row.path.startsWith(u"key"_s) ? u"3,5"_s : row.input;
        const QClipboard::Mode mode = selection ? QClipboard::Selection : QClipboard::Clipboard;
        QGuiApplication::clipboard()->setText(pasted, mode);
        TextBox *target = box(row.box);
        // The focus leaves a box, and comes back, in the active window.
        m_panel->activateWindow();
        QTRY_VERIFY(m_panel->isActiveWindow());
        target->setFocus();
        target->setText(row.before);
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        MessageRecorder messages;
        if (row.path == u"keys"_s) {
            QTest::keyClicks(target, row.input);
        } else if (row.path == u"key"_s) {
            QTest::keySequence(target, QKeySequence(row.input));
        } else if (row.path.startsWith(u"back"_s)) {
            QTest::keyClick(target, Qt::Key_Tab);
            QVERIFY(!target->hasFocus());
            QCOMPARE(target->cursorPosition(), 0);
            if (row.path == u"back by focus"_s)
                target->setFocus();
            else if (row.path == u"back by Tab"_s)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, target->height() / 2));
            QTest::keyClicks(target, row.input);
        } else if (row.path == u"Shift+Insert"_s) {
            QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (selection) {
            QTest::mouseClick(target, Qt::MiddleButton, {}, at);
        } else if (row.path == u"drop"_s) {
            QMimeData data;
            data.setText(pasted);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
            QCoreApplication::sendEvent(target, &drop);
        } else {
            // The entry as Qt names it, in whatever language.
            QVERIFY(!contextMenu(target, QCoreApplication::translate("QLineEdit", "&Paste")).isEmpty());
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(target->text(), row.after);
        QCOMPARE(messages.seen(), row.then == u"warns"_s ? QStringList{wrongKey} : QStringList());
        QCOMPARE(QGuiApplication::clipboard()->text(mode), row.then == u"copies"_s ? row.before : pasted);
    }

    void storedValues_data()
    {
        const QByteArray header("# Zelk. 2010 entry list 1\n");
        QStringList numbers; // 1 to 60
        std::generate_n(std::back_inserter(numbers), 60, [i = 0]() mutable { return QString::number(++i); });
        const auto numbered = [&](int to) { return header + numbers.first(to).join(u'\n').toUtf8() + '\n'; };
        // clang-format off
        table<Stored>({
            {"damaged line, add", {header + "16\n\xff\xfe\n5,5\n", "12", {"16", "5,5"}, "add", {"16", "5,5", "12"}, true}},
            {"60 entries keep the first 50", {numbered(60), "12", numbers.first(50), "remove 50", numbers.first(49), true}},
            {"50 entries take no more", {numbered(50), "99", numbers.first(50), "add", numbers.first(50), false}},
            {"entry chosen", {header + "16\n7\n", "12", {"16", "7"}, "choose 7", {"16", "7"}, false}},
            {"a listed rate is not added twice", {header + "16\n7\n", "7", {"16", "7"}, "add", {"16", "7"}, false}},
        });
        // clang-format on
    }
    void storedValues()
    {
        QFETCH(Stored, row);
        const QString file = m_env->filePath("zelk.dat");
        writeFile(file, row.content);
        TextBox *rateBox = box("rateBox");
        m_boxes->useStoredValues(file);
        rateBox->setText(row.rate);

        MessageRecorder messages;
        // An assistive tool's Press on the list button returns before the list runs its own event loop.
        QAccessibleInterface *listButton
            = QAccessible::queryAccessibleInterface(rateBox->findChild<QToolButton *>());
        QCOMPARE(listButton->text(QAccessible::Name), u"Gespeicherte Werte"_s);
        QCOMPARE(popupOpenedBy([&] {
                     listButton->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                 }),
                 u"storedValuesMenu"_s);
        QCOMPARE(useStoredValues(rateBox), QStringList{"Zelk.-Satz"} + row.shown);
        // Worked in the net box, the user uses the rate's list: a chosen rate takes the cursor along.
        box("netBox")->setFocus();
        useStoredValues(rateBox, row.command);
        const bool chosen = row.command.startsWith(u"choose "_s);
        QCOMPARE(rateBox->text(), chosen ? row.command.mid(7) : row.rate);
        QCOMPARE(m_panel->focusWidget(), chosen ? rateBox : box("netBox"));
        QCOMPARE(useStoredValues(rateBox), QStringList{"Zelk.-Satz"} + row.after);
        QCOMPARE(messages.seen(), QStringList());
        QCOMPARE(contentOf(EntryList::backupPath(file)), row.damaged ? row.content : QByteArray("(missing)"));
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
        narrow.setText(u"16,5"_s);
        narrow.keepTextWhole();
        const QFont before = narrow.font();
        narrow.show();
        QTEST(narrow.font().pointSizeF() < before.pointSizeF(), "shrinks");
        // And back to its size when the text is short again.
        narrow.setText(u"7"_s);
        QCOMPARE(narrow.font(), before);
    }

    void messageAnswers_data()
    {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("button"); // empty: Escape
        QTest::addColumn<MessageDialog::Answer>("answer");
        QTest::newRow("OK") << false << u"okButton"_s << MessageDialog::Answer::Ok;
        QTest::newRow("Escape on a message") << false << u""_s << MessageDialog::Answer::Ok;
        QTest::newRow("JA") << true << u"yesButton"_s << MessageDialog::Answer::Yes;
        QTest::newRow("NEIN") << true << u"noButton"_s << MessageDialog::Answer::No;
        QTest::newRow("Escape on a question") << true << u""_s << MessageDialog::Answer::No;
    }
    // The real message window, answered the moment it runs.
    void messageAnswers()
    {
        QFETCH(bool, question);
        QFETCH(QString, button);
        MessageDialog dialog;
        // Answered once before: nothing of it may carry over.
        QTimer::singleShot(0, &dialog, [&] { dialog.findChild<QPushButton *>(u"okButton"_s)->click(); });
        dialog.inform(u"Vorher"_s, u"Text"_s, MessageDialog::Icon::Stop);
        // Its buttons, title and text, and "icon" when one shows: the question's; none asked for the message.
        QStringList shown;
        QTimer::singleShot(0, &dialog, [&] {
            shown = shownButtons(&dialog)
                << dialog.windowTitle() << dialog.findChild<QLabel *>(u"message"_s)->text();
            if (dialog.findChild<QLabel *>(u"icon"_s)->isVisible())
                shown.append(u"icon"_s);
            if (button.isEmpty())
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.findChild<QPushButton *>(button)->click();
        });
        const QString text = u"Zeile 1\rZeile 2\r\rZeile 4"_s;
        const auto answer = question
            ? dialog.ask(u"Frage"_s, text, MessageDialog::Icon::Question)
            : (dialog.inform(u"Hinweis"_s, text, MessageDialog::Icon::None), MessageDialog::Answer::Ok);
        QTEST(answer, "answer");
        const QString lines = u"Zeile 1\nZeile 2\n\nZeile 4"_s;
        QCOMPARE(shown.join(u'|'), (question ? u"JA|NEIN|Frage|%1|icon"_s : u"OK|Hinweis|%1"_s).arg(lines));
    }

    void startShowsStoredRate_data()
    {
        QTest::addColumn<QByteArrayList>("written"); // the settings and the entry list, none when null
        QTest::addColumn<QString>("shown");
        const QByteArray garbage("\x00\xff\xfe\x01[\x80=\x00\x13", 9);
        QTest::newRow("nothing stored") << QByteArrayList{{}, {}} << u"19"_s;
        QTest::newRow("seven") << QByteArrayList{"[Zelk_Satz]\nx.Text=7\n", {}} << u"7"_s;
        QTest::newRow("empty stored") << QByteArrayList{"[Zelk_Satz]\nx.Text=\n", {}} << u"19"_s;
        QTest::newRow("garbage settings") << QByteArrayList{garbage, garbage} << u"19"_s;
    }
    void startShowsStoredRate()
    {
        freshWindows();
        const QStringList files{SettingsStore::location(RateSetting::application()),
                                ProgramFolder::entryListFile()};
        QFETCH(QByteArrayList, written);
        for (int i = 0; i < files.size(); ++i) {
            if (!written[i].isNull())
                writeFile(files[i], written[i]);
        }
        m_main->findChild<TextBox *>(u"netBox"_s)->setText(u"5"_s);
        m_main->findChild<CommandButton *>(u"alwaysOnTopButton"_s)->click();
        freshWindows();
        for (QWidget *w : std::initializer_list<QWidget *>{m_main, m_compact}) {
            QTEST(w->findChild<TextBox *>(u"rateBox"_s)->text(), "shown");
            QCOMPARE(amounts(w), QStringList(3));
            QVERIFY(!w->findChild<CommandButton *>(u"alwaysOnTopButton"_s)->isChecked());
            QCOMPARE(w->findChild<TextBox *>(u"netBox"_s)->hasFocus(), w->isActiveWindow());
        }
        // Without a picture the tray icon leaves nothing to click the window back with.
        QVERIFY(!m_main->findChild<QSystemTrayIcon *>()->icon().isNull());
        // Showing a window reads; it never writes either file.
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(contentOf(files[i]), written[i].isNull() ? QByteArray("(missing)") : written[i]);
    }

    void commands_data()
    {
        const auto no = MessageDialog::Answer::No;
        const auto yes = MessageDialog::Answer::Yes;
        const QString kept = u"alt"_s;
        const QStringList quit{"quitRequested"};
        const QStringList exitQuestion{"question|Programm beenden|Wollen Sie das Programm wirklich beenden?"};
        const QString update = u"information|Online-Update|*"_s; // whether to run it
        // clang-format off
        table<Command>({
            {"Neu", {"newAction", no, {}, kept, "", {}, "emptied", 0, "main", "7"}},
            {"Nettowert kopieren", {"copyNetAction", no, {}, "100", "", {}, "", 0, "main", "7"}},
            {"Zelk.-Anteil kopieren", {"copyVatAction", no, {}, "16,00", "", {}, "", 0, "main", "7"}},
            {"Bruttowert kopieren", {"copyGrossAction", no, {}, "116,00", "", {}, "", 0, "main", "7"}},
            {"Alles kopieren", {"copyAllAction", no, {}, "100 (Netto)\r\n16,00 (16 %)\r\n116,00 (Brutto)\r\n", "", {}, "", 0, "main", "7"}},
            {"Homepage", {"homepageAction", no, {}, kept, MakerAddresses::homePage(), {}, "", 0, "main", "7"}},
            {"home page link", {"homepageLink", no, {}, kept, MakerAddresses::homePage(), {}, "", 0, "main", "7"}},
            {"Bewerten", {"rateUsAction", no, {}, kept, MakerAddresses::ratingPage(), {}, "", 0, "main", "7"}},
            {"Fehler", {"reportErrorAction", no, {}, kept, MakerAddresses::errorReportPage(), {}, "", 0, "main", "7"}},
            {"Online-Shop", {"shopAction", no, {}, kept, MakerAddresses::shopPage(), {}, "", 0, "main", "7"}},
            {"Spende", {"donateAction", no, {}, kept, "", {"donationRequested"}, "", 0, "main", "7"}},
            {"Copyright", {"aboutAction", no, {}, kept, "", {"aboutRequested"}, "", 0, "main", "7"}},
            {"Autostart", {"autostartAction", no, {}, kept, "", {"autostartRequested"}, "", 0, "main", "7"}},
            {"Ansicht wechseln", {"compactAction", no, {}, kept, "", {"compactModeRequested"}, "closed", 0, "main", "7"}},
            {"beenden, No", {"exitAction", no, exitQuestion, kept, "", {}, "", 0, "main", "7"}},
            {"beenden, Yes", {"exitAction", yes, exitQuestion, kept, "", quit, "", 0, "main", "7"}},
            {"tray beenden", {"trayExitAction", no, {}, kept, "", quit, "", 0, "main", "7"}},
            {"Zelk. speichern", {"saveRateAction", no, {}, kept, "", {}, "", 0, "main", "16"}},
            {"Zelk. löschen", {"deleteRateAction", no, {}, kept, "", {}, "", 0, "main", "19"}},
            {"Online-Update, No", {"updateAction", no, {update}, kept, "", {}, "", 0, "main", "7"}},
            // Return and the keypad's Enter press the focused button.
            {"Neu, Return", {"newAction", no, {}, kept, "", {}, "emptied", Qt::Key_Return, "main", "7"}},
            {"Neu, keypad Enter", {"newAction", no, {}, kept, "", {}, "emptied", Qt::Key_Enter, "main", "7"}},
            {"compact Neu", {"newButton", no, {}, kept, "", {}, "emptied", Qt::Key_Enter, "compact", "7"}},
            {"compact Netto kopieren", {"copyNetButton", no, {}, "100", "", {}, "", Qt::Key_Return, "compact", "7"}},
            {"compact Zelk.-Anteil kopieren", {"copyVatButton", no, {}, "16,00", "", {}, "", Qt::Key_Enter, "compact", "7"}},
            {"compact Brutto kopieren", {"copyGrossButton", no, {}, "116,00", "", {}, "", Qt::Key_Return, "compact", "7"}},
            // What the help and the update need beside the program, and what is said when it is not there.
            {"F1, nothing to show the pages with", {"", yes, {"warning|Hilfe|*Internetbrowser*\n" + ProgramFolder::helpIndex()}, kept, "", {}, "", Qt::Key_F1, "main", "7", "help/index.html", ""}},
            {"Hilfe, no pages", {"helpAction", yes, {"warning|Hilfe|*nicht gefunden*\n" + ProgramFolder::helpIndex()}, kept, "", {}, "", 0, "main", "7"}},
            {"Online-Update, no update program", {"updateAction", yes, {update, "warning|Online-Update|*nicht gefunden*\n" + ProgramFolder::updateProgram()}, kept, "", {}, "", 0, "main", "7"}},
            {"Online-Update, not executable", {"updateAction", yes, {update, "warning|Online-Update|*nicht gestartet*\n" + ProgramFolder::updateProgram()}, kept, "", {}, "", 0, "main", "7", "update.exe", "kein Programm", false}},
            {"Online-Update, no program at all", {"updateAction", yes, {update, "warning|Online-Update|*nicht gestartet*\n" + ProgramFolder::updateProgram()}, kept, "", {}, "", 0, "main", "7", "update.exe", "\x7f" "ELF\x02\x01\x01 kaputt"}},
            {"Online-Update starts it and ends", {"updateAction", yes, {update}, kept, "", quit, "", 0, "main", "7", "update.exe", "#!/bin/sh\ntouch \"$0.started\"\n"}},
        });
        // clang-format on
    }
    void commands()
    {
        QFETCH(Command, row);
        QVERIFY(!RateSetting::save(u"7"_s).failed());
        const QString beside = ProgramFolder::filePath(row.beside);
        if (!row.content.isNull())
            writeFile(beside, row.content, row.executable);
        // A key reaches the window's shortcuts (F1) while it is active.
        freshWindows(row.window);
        TextBox *net = m_front->findChild<TextBox *>(u"netBox"_s);
        m_front->findChild<TextBox *>(u"rateBox"_s)->setText(u"16"_s);
        QTest::keyClicks(net, u"100"_s);
        QTest::keyClick(net, Qt::Key_Return);
        QGuiApplication::clipboard()->setText(u"alt"_s);

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

        // Else the command's toolbar button (pressed as an assistive tool does), its menu or tray entry,
        // or the button of that name.
        if (row.key)
            QTest::keyClick(row.command.isEmpty() ? m_front
                                                  : m_front->findChild<QAbstractButton *>(row.command),
                            Qt::Key(row.key), row.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        else if (QToolButton *button = m_front->findChild<ToolBar *>()->button(row.command))
            actions(button)->doAction(QAccessibleActionInterface::pressAction());
        else if (auto *action = m_front->findChild<QAction *>(row.command))
            action->trigger();
        else
            m_front->findChild<QAbstractButton *>(row.command)->click();
        // A window opened inside the press would hold an assistive tool until it closes.
        if (row.window == u"main"_s)
            QVERIFY(emitted.isEmpty() && messages.messages.isEmpty() && net->text() == u"100"_s
                    && QGuiApplication::clipboard()->text() == u"alt"_s);
        QCoreApplication::sendPostedEvents();
        // Whether the help could be shown is known when the desktop's opener has ended.
        QTRY_COMPARE_WITH_TIMEOUT(messages.messages.size(), row.messages.size(), 10000);
        QCOMPARE(matchedBy(messages.seen(), row.messages), row.messages);
        QCOMPARE(QGuiApplication::clipboard()->text(), row.clipboard);
        QCOMPARE(catcher.urls, row.page.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(row.page)});
        QCOMPARE(emitted, row.signalsEmitted);
        // The stand-in program leaves a note beside itself when it runs.
        if (row.content.startsWith("#!"))
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(beside + u".started"_s), 10000);
        if (row.then == u"closed"_s) {
            QTRY_VERIFY(m_main.isNull());
            return;
        }
        QVERIFY(m_front->isVisible());
        QCOMPARE(amounts(m_front),
                 (row.then == u"emptied"_s ? QStringList(3) : QStringList{"100", "16,00", "116,00"}));
        QCOMPARE(m_front->findChild<TextBox *>(u"rateBox"_s)->text(), u"16"_s);
        freshWindows();
        QCOMPARE(m_main->findChild<TextBox *>(u"rateBox"_s)->text(), row.stored);
    }

    void menuButtonsAreSplitButtons()
    {
        freshWindows();
        for (const char *key : {"saveAction", "copyAction", "linksAction"}) {
            QToolButton *button = m_main->findChild<ToolBar *>()->button(QLatin1String(key));
            QSignalSpy triggered(m_main->findChild<QAction *>(QLatin1String(key)), &QAction::triggered);
            QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
            // The face does nothing.
            QCOMPARE(popupOpenedBy([button] { button->click(); }), QString());
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
        // The tray icon answers after its own event has returned, its menu without a loop of its own: an
        // entry that hides the icon must never run inside the icon's event.
        auto *icon = m_main->findChild<QSystemTrayIcon *>();
        QCOMPARE(popupOpenedBy([icon] { emit icon->activated(QSystemTrayIcon::Context); }), u"trayMenu"_s);
        QSignalSpy clicked(m_main->findChild<TrayIcon *>(), &TrayIcon::activated);
        emit icon->activated(QSystemTrayIcon::Trigger);
        QCOMPARE(clicked.size(), 0);
        QTRY_COMPARE(clicked.size(), 1);
    }

    // A box's text shows whole in either window, set or typed, and stays so while the window's on-top
    // switch is used.
    void textsShowWhole_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typed"); // and the focus then leaves the box; else the program sets it
        QTest::newRow("net of 15") << u"main"_s << u"netBox"_s << u"999999999999,99"_s << false;
        QTest::newRow("gross of 15") << u"main"_s << u"grossBox"_s << u"999999999999,99"_s << false;
        QTest::newRow("the longest gross") << u"main"_s << u"grossBox"_s << u"1189999999999998,81"_s << false;
        QTest::newRow("the longest VAT") << u"main"_s << u"vatBox"_s << u"189999999999999,81"_s << false;
        QTest::newRow("rate 16,5") << u"main"_s << u"rateBox"_s << u"16,5"_s << false;
        QTest::newRow("typed rate 99,99") << u"main"_s << u"rateBox"_s << u"99,99"_s << true;
        QTest::newRow("compact rate 16,5") << u"compact"_s << u"rateBox"_s << u"16,5"_s << false;
        QTest::newRow("compact typed rate 99,99") << u"compact"_s << u"rateBox"_s << u"99,99"_s << true;
        QTest::newRow("compact net of 15") << u"compact"_s << u"netBox"_s << u"999999999999,99"_s << true;
    }
    void textsShowWhole()
    {
        QFETCH(QString, which);
        QFETCH(QString, text);
        QFETCH(bool, typed);
        freshWindows(which);
        QFETCH(QString, box);
        auto *target = m_front->findChild<TextBox *>(box);
        target->setText(typed ? QString() : text);
        if (typed) {
            target->setFocus();
            QTest::keyClicks(target, text);
            QTest::keyClick(target, Qt::Key_Tab);
            QVERIFY(!target->hasFocus());
        }
        QCOMPARE(target->text(), text);
        // The start shows; with the cursor at the end, it still shows: the text is whole.
        const QPoint start(0, target->height() / 2);
        m_front->grab(); // the box scrolls its text as it paints
        QCOMPARE(target->cursorPositionAt(start), 0);
        target->end(false);
        m_front->grab();
        QCOMPARE(target->cursorPositionAt(start), 0);
        // Switched by an assistive tool's Toggle too, the window stays where it is, the same window.
        auto *toggle = m_front->findChild<CommandButton *>(u"alwaysOnTopButton"_s);
        const auto place = std::pair(m_front->geometry(), m_front->winId());
        for (bool expected : {true, false}) {
            actions(toggle)->doAction(QAccessibleActionInterface::toggleAction());
            QCOMPARE(toggle->isChecked(), expected);
            QCOMPARE(m_front->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), expected);
            QCOMPARE(std::pair(m_front->geometry(), m_front->winId()), place);
        }
    }

    void everyControl_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("style");
        // Fusion as on Linux desktops; Windows as under Wine, which has no visual styles.
        QTest::newRow("main, Fusion") << u"main"_s << u"Fusion"_s;
        QTest::newRow("main, Windows") << u"main"_s << u"Windows"_s;
        QTest::newRow("compact, Fusion") << u"compact"_s << u"Fusion"_s;
        QTest::newRow("compact, Windows") << u"compact"_s << u"Windows"_s;
    }
    // Every control as a screen reader names it, as its caption is laid out,
    // as Tab reaches it and as its context menu offers it.
    void everyControl()
    {
        QFETCH(QString, which);
        QFETCH(QString, style);
        const auto restore
            = qScopeGuard([before = QApplication::style()->name()] { QApplication::setStyle(before); });
        QApplication::setStyle(style);
        freshWindows(which);
        int named = 0;
        int measured = 0;
        QString cut;
        QSet<QWidget *> takesFocus;
        for (QWidget *widget : m_front->findChildren<QWidget *>()) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
            if (!iface || !widget->isVisibleTo(m_front))
                continue;
            if (widget->isEnabled() && widget->focusPolicy() & Qt::TabFocus)
                takesFocus.insert(widget);
            if (auto *frame = qobject_cast<Frame *>(widget); frame && !frame->caption().isEmpty())
                QVERIFY2(captionDrawn(frame), qPrintable(frame->caption()));
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
            const QString where = widget->objectName() + u": "_s + description;
            QVERIFY2(!name.isEmpty(), qPrintable(where));
            auto *button = qobject_cast<QAbstractButton *>(widget);
            // The side buttons inside the boxes show only an icon.
            if (button && !qobject_cast<QLineEdit *>(widget->parentWidget())) {
                const QString caption = QString(button->text()).remove(u'&');
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
        QVERIFY(which == u"main"_s ? named >= 20 && measured >= 9 : named >= 10 && measured >= 2);

        // The user starts in the net box and meets every control once before coming back to it.
        QWidget *first = m_front->findChild<TextBox *>(u"netBox"_s);
        QCOMPARE(QApplication::focusWidget(), first);
        for (const char *key : {"Tab", "Shift+Backtab"}) {
            QSet<QWidget *> reached;
            do {
                QVERIFY2(!reached.contains(QApplication::focusWidget()),
                         qPrintable(QApplication::focusWidget()->objectName()));
                reached.insert(QApplication::focusWidget());
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(QLatin1String(key)));
            } while (QApplication::focusWidget() != first);
            QCOMPARE(reached, takesFocus);
        }

        // Each box's context menu is German, keeps Strg+C and names no key the box refuses.
        const QString copy
            = u"&Kopieren\t"_s + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
        for (TextBox *target : m_front->findChildren<TextBox *>()) {
            target->setText(u"12"_s);
            const QStringList entries = contextMenu(target);
            QVERIFY2(entries.contains(copy), qPrintable(entries.join(u'|')));
            for (const QString &entry : std::as_const(entries)) {
                // An entry without a key presses none.
                MessageRecorder messages;
                QTest::keySequence(target, QKeySequence(entry.section(u'\t', 1), QKeySequence::NativeText));
                QVERIFY2(messages.messages.isEmpty(), qPrintable(target->objectName() + u' ' + entry));
            }
        }
    }

    void dialogs_data()
    {
        const QString removed = u"information|Autostart|Der Eintrag wurde entfernt!"_s;
        // clang-format off
        table<Dialog>({
            // The offscreen platform is no Windows version the line knows.
            {"about", {[] { return new AboutWindow; }, {"versionLabel: Version " ZELK_PROJECT_VERSION, "systemLine: Betriebssystem unbekannt ( Version * )"}, {"homepageLink", "supportMailLink", "okayButton"}, {MakerAddresses::homePage(), MakerAddresses::supportMail(), "closed"}}},
            // Donating leaves the window open.
            {"donation", {[] { return new DonationWindow; }, {}, {"donateButton", "donateButton", "backButton"}, {MakerAddresses::donationPage(), MakerAddresses::donationPage(), "closed"}}},
            // Removing twice: there is none left, which is no failure.
            {"autostart", {[] { return new AutostartWindow; }, {"programPathBox: " + QCoreApplication::applicationFilePath()}, {"enterButton", "removeButton", "removeButton", "backButton"}, {"information|Autostart|Der Eintrag war erfolgreich. entry", removed, removed, "closed"}}},
        });
        // clang-format on
    }
    void dialogs()
    {
        QFETCH(Dialog, row);
        QPointer<QDialog> dialog = row.make();
        QStringList shown;
        for (const QString &control : std::as_const(row.shown)) {
            const QString name = control.section(u':', 0, 0);
            shown.append(name + u": "_s + dialog->findChild<QWidget *>(name)->property("text").toString());
        }
        QCOMPARE(matchedBy(shown, row.shown), row.shown);
        const QString entry = AutoRun::autostartFolder() + u'/'
            + AutoRun::entryNameFor(QCoreApplication::applicationFilePath()) + u".desktop"_s;
        QStringList after;
        QTimer::singleShot(0, dialog, [&] {
            for (const QString &button : std::as_const(row.clicks)) {
                MessageRecorder messages;
                UrlCatcher catcher;
                dialog->findChild<CommandButton *>(button)->click();
                QStringList happened = messages.seen() + QUrl::toStringList(catcher.urls);
                if (QFile::exists(entry))
                    happened.append(u"entry"_s);
                if (!dialog->isVisible())
                    happened.append(u"closed"_s);
                after.append(happened.join(u' '));
            }
            // A window the last button left open fails the check below instead of waiting here.
            dialog->reject();
        });
        dialog->exec();
        QCOMPARE(after, row.after);
        QTRY_VERIFY(dialog.isNull());
    }

    void wizard_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("way"); // "click", "Enter" on the focused button, "cancel" after Weiter
        QTest::newRow("2009") << 2009 << u"click"_s;
        QTest::newRow("2008") << 2008 << u"click"_s;
        QTest::newRow("Enter") << 2009 << u"Enter"_s;
        // Abbrechen after Weiter ends the wizard; the takeover stays done.
        QTest::newRow("cancelled after Weiter") << 2009 << u"cancel"_s;
        // This version's settings cannot be written: a folder stands where its file belongs.
        QTest::newRow("settings not writable") << 2009 << u"blocked"_s;
    }
    void wizard()
    {
        QFETCH(int, year);
        QFETCH(QString, way);
        // The old version's rate, shown and taken over (the tests run in German).
        QVERIFY(SettingsStore::save(RateSetting::oldApplication(year), RateSetting::section(),
                                    RateSetting::key(), u"16"_s));
        const QString settings = SettingsStore::location(RateSetting::application());
        if (way == u"blocked"_s)
            QVERIFY(QDir().mkpath(settings));
        QPointer<MigrationWizard> wizard = new MigrationWizard(year);
        QSignalSpy finished(wizard.data(), &MigrationWizard::finished);
        QSignalSpy quit(wizard.data(), &MigrationWizard::quitRequested);
        MessageRecorder messages;
        wizard->show();
        QApplication::setActiveWindow(wizard);
        QVERIFY(QTest::qWaitForWindowActive(wizard));
        auto *page = wizard->findChild<QLabel *>(u"pageLabel"_s);
        // Each page's default button has the focus and takes Enter.
        const auto press = [&](const char *name) {
            auto *button = wizard->findChild<CommandButton *>(QLatin1String(name));
            QCOMPARE(QApplication::focusWidget(), button);
            if (way == u"Enter"_s)
                QTest::keyClick(button, Qt::Key_Return);
            else
                button->click();
        };
        QVERIFY(page->text().startsWith(u"Sie haben bisher Zelk. %1 verwendet."_s.arg(year)));
        QCOMPARE(shownButtons(wizard), (QStringList{"&Weiter", "&Abbrechen"}));
        press("nextButton");
        QCOMPARE(shownButtons(wizard), (QStringList{"&Übernehmen", "&Abbrechen"}));
        if (way == u"blocked"_s) {
            const QString error
                = u"stop|Fehler - Error|Fehlernummer: 75\n\nBeschreibung:\nDie Einstellungen von "
                  u"Zelk. 2010 konnten nicht gespeichert werden (%1)."_s;
            QCOMPARE(messages.seen(), QStringList{error.arg(settings)});
            wizard->close();
            QTRY_VERIFY(wizard.isNull());
            return;
        }
        QVERIFY2(page->text().contains(u"\r\n\r\nZelk-Satz : 16\r\n\r\n"_s), qPrintable(page->text()));
        QCOMPARE(RateSetting::read(), u"16"_s);
        const bool cancel = way == u"cancel"_s;
        if (cancel) {
            wizard->findChild<CommandButton *>(u"cancelButton"_s)->click();
            wizard->close();
        } else {
            press("takeOverButton");
            QVERIFY(page->text().startsWith(u"Die alten Daten wurden übernommen"_s));
            QCOMPARE(shownButtons(wizard), (QStringList{"&Abbrechen", "&Fertig"}));
            press("finishButton");
        }
        QTRY_VERIFY(wizard.isNull());
        // Cancelled, it asks once to quit; else it tells once that it finished.
        QCOMPARE((QList<qsizetype>{quit.size(), finished.size()}), (QList<qsizetype>{cancel, !cancel}));
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.seen().join(u'/')));
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
