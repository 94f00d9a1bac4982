#include "settings/entrylist.h"
#include "support/entrylistdriver.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "ui/calculator/calculatorpanel.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

class TestCalculatorPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enter_data();
    void enter();
    void input_data();
    void input();
    void rateEntryList_data();
    void rateEntryList();
    void fontShrinksOnlyToFit_data();
    void fontShrinksOnlyToFit();

private:
    TextBox *box(const QString &name) { return m_window->findChild<TextBox *>(name); }

    std::unique_ptr<QWidget> m_window;
    CalculatorPanel *m_panel = nullptr;
};

void TestCalculatorPanel::init()
{
    m_window = std::make_unique<QWidget>();
    m_panel = new CalculatorPanel(m_window.get(), new MessageDialog(m_window.get()));
    m_panel->clearAmounts();
    m_window->show();
}

void TestCalculatorPanel::cleanup()
{
    m_window.reset();
}

// clang-format off
void TestCalculatorPanel::enter_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typedBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("netBox");
    QTest::addColumn<QString>("vatBox");
    QTest::addColumn<QString>("grossBox");
    QTest::addColumn<QString>("message"); // a word of the message shown, or none

    QTest::newRow("net 100") << "19" << "netBox" << "100" << "100" << "19,00" << "119,00" << "";
    QTest::newRow("gross 100") << "19" << "grossBox" << "100" << "84,03" << "15,97" << "100" << "";
    QTest::newRow("empty box") << "19" << "netBox" << "" << "" << "" << "" << "";
    QTest::newRow("empty rate") << "" << "netBox" << "100" << "100" << "" << "" << "Mehrwertsteuersatz";
    QTest::newRow("letters in rate") << "19a" << "grossBox" << "100" << "" << "" << "100" << "Mehrwertsteuersatz";
    QTest::newRow("fraction") << "19" << "netBox" << "1/2" << "1/2" << "" << "" << "Nettowert";
    QTest::newRow("lone minus") << "19" << "grossBox" << "-" << "" << "" << "-" << "Bruttowert";
    QTest::newRow("rate -100") << "-100" << "grossBox" << "100" << "" << "" << "100" << "kein Ergebnis";
}
// clang-format on

void TestCalculatorPanel::enter()
{
    QFETCH(QString, rate);
    QFETCH(QString, typedBox);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    box("rateBox")->setText(rate);
    QTest::keyClicks(box(typedBox), typed);
    MessageRecorder messages;
    QTest::keyClick(box(typedBox), Qt::Key_Return);
    QCOMPARE(messages.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        const QString seen = messages.seen().constFirst();
        QVERIFY2(seen.startsWith(QStringLiteral("warning|Ungültige Eingabe|")) && seen.contains(message),
                 qPrintable(seen));
    }
    QTEST(box("netBox")->text(), "netBox");
    QTEST(box("vatBox")->text(), "vatBox");
    QTEST(box("grossBox")->text(), "grossBox");
    QCOMPARE(box("rateBox")->text(), rate);
}

// clang-format off
void TestCalculatorPanel::input_data()
{
    QTest::addColumn<QString>("path");   // a typed key, typed keys, or how the clipboard's text is put in
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("before"); // the box's text, the cursor at its end
    QTest::addColumn<QString>("input");  // the key, or the text on the clipboard
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("warns");     // "Falsche Eingabe"
    QTest::addColumn<bool>("copies");    // the box's whole text is on the clipboard after

    QTest::newRow("letter") << "key" << "netBox" << "12" << "A" << "12" << true << false;
    QTest::newRow("blank") << "key" << "grossBox" << "12" << "Space" << "12" << true << false;
    QTest::newRow("Escape") << "key" << "grossBox" << "12" << "Esc" << "12" << true << false;
    // Ctrl+V is a typed key that the amount boxes refuse, whatever the clipboard holds.
    QTest::newRow("Ctrl+V") << "key" << "netBox" << "12" << "Ctrl+V" << "12" << true << false;
    QTest::newRow("Ctrl+A") << "key" << "grossBox" << "12" << "Ctrl+A" << "12" << true << false;
    QTest::newRow("slash") << "key" << "netBox" << "12" << "/" << "12/" << false << false;
    QTest::newRow("minus") << "key" << "grossBox" << "12" << "-" << "12-" << false << false;
    QTest::newRow("Backspace") << "key" << "grossBox" << "12" << "Backspace" << "1" << false << false;
    QTest::newRow("Ctrl+C copies net whole") << "key" << "netBox" << "12" << "Ctrl+C" << "12" << false << true;
    QTest::newRow("Ctrl+C copies gross whole") << "key" << "grossBox" << "12" << "Ctrl+C" << "12" << false << true;
    // The locked box takes no key but Ctrl+C, which copies it whole, and warns of none.
    QTest::newRow("letter in the locked box") << "key" << "vatBox" << "12" << "A" << "12" << false << false;
    QTest::newRow("Backspace in the locked box") << "key" << "vatBox" << "12" << "Backspace" << "12" << false << false;
    QTest::newRow("Ctrl+C copies VAT whole") << "key" << "vatBox" << "12" << "Ctrl+C" << "12" << false << true;
    // Typing stops at 15 characters; a longer result stays and can be shortened.
    const QString result = QStringLiteral("1190000000000000,00");
    QTest::newRow("typed past 15") << "keys" << "netBox" << "12345678901234" << "56" << "123456789012345" << false << false;
    QTest::newRow("digit after a long result") << "key" << "grossBox" << result << "5" << result << false << false;
    QTest::newRow("Backspace after a long result") << "key" << "grossBox" << result << "Backspace" << result.chopped(1) << false << false;
    // The rate takes any key.
    QTest::newRow("letter in the rate") << "key" << "rateBox" << "12" << "A" << "12a" << false << false;

    const QString tooLong = QStringLiteral("12345678901234567890");
    for (const char *path : {"Shift+Insert", "context menu", "drop", "middle click"}) {
        QTest::addRow("%s, digits", path) << path << "netBox" << "12" << "3,5" << "123,5" << false << false;
        QTest::addRow("%s, letters", path) << path << "grossBox" << "12" << "abc" << "12" << true << false;
        QTest::addRow("%s, digits and a blank", path) << path << "netBox" << "12" << "3 4" << "12" << true << false;
        QTest::addRow("%s, too long", path) << path << "grossBox" << "12" << tooLong << "12" << false << false;
    }
}
// clang-format on

void TestCalculatorPanel::input()
{
    QFETCH(QString, path);
    QFETCH(QString, boxName);
    QFETCH(QString, input);
    const bool selection = path == QLatin1String("middle click");
    if (selection && !QGuiApplication::clipboard()->supportsSelection()) {
        // The X session run (tst_calculatorpanel_x11) must have one.
        QVERIFY(qEnvironmentVariableIsEmpty("ZELK_UNDER_X"));
        QSKIP(
            "offscreen has no selection to paste with the middle mouse button: see tst_calculatorpanel_x11");
    }
    // What a key pastes, if it does.
    const QString pasted = path.startsWith(QLatin1String("key")) ? QStringLiteral("3,5") : input;
    const QClipboard::Mode mode = selection ? QClipboard::Selection : QClipboard::Clipboard;
    QGuiApplication::clipboard()->setText(pasted, mode);
    TextBox *target = box(boxName);
    target->setFocus();
    QFETCH(QString, before);
    target->setText(before);
    target->end(false);
    const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    MessageRecorder messages;
    if (path == QLatin1String("keys")) {
        QTest::keyClicks(target, input);
    } else if (path == QLatin1String("key")) {
        const QKeyCombination key = QKeySequence(input)[0];
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    } else if (path == QLatin1String("Shift+Insert")) {
        QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (selection) {
        QTest::mouseClick(target, Qt::MiddleButton, {}, at);
    } else if (path == QLatin1String("drop")) {
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
    QTEST(target->text(), "after");
    QFETCH(bool, warns);
    QCOMPARE(messages.seen(),
             warns ? QStringList{QStringLiteral("warning|Falsche Eingabe|Es können hier nur Zahlen "
                                                "bzw. Ziffern eingegeben werden.")}
                   : QStringList());
    QFETCH(bool, copies);
    QCOMPARE(QGuiApplication::clipboard()->text(mode), copies ? before : pasted);
}

// clang-format off
void TestCalculatorPanel::rateEntryList_data()
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
    const auto numbered = [&](int to) { return header + numbers(to).join(QLatin1Char('\n')).toUtf8() + '\n'; };
    QTest::newRow("damaged line, add") << header + "16\n\xff\xfe\n5,5\n" << "12" << QStringList{"16", "5,5"}
                                       << "add" << QStringList{"16", "5,5", "12"} << true;
    QTest::newRow("too long line, remove") << header + "16\n1234567890123456789\n5,5\n" << "12"
                                           << QStringList{"16", "5,5"} << "16" << QStringList{"5,5"} << true;
    QTest::newRow("60 entries keep the first 50") << numbered(60) << "12" << numbers(50)
                                                  << "50" << numbers(49) << true;
    QTest::newRow("49 entries take one more") << numbered(49) << "99" << numbers(49)
                                              << "add" << numbers(49) + QStringList{"99"} << false;
    QTest::newRow("50 entries take no more") << numbered(50) << "99" << numbers(50)
                                             << "add" << numbers(50) << false;
    QTest::newRow("entry chosen") << header + "16\n7\n" << "12" << QStringList{"16", "7"}
                                  << "choose 7" << QStringList{"16", "7"} << false;
    QTest::newRow("a listed rate is not added twice") << header + "16\n7\n" << "7" << QStringList{"16", "7"}
                                                      << "add" << QStringList{"16", "7"} << false;
}
// clang-format on

void TestCalculatorPanel::rateEntryList()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, rate);
    QFETCH(QString, command);
    QFETCH(bool, damaged);
    TestEnvironment env;
    const QString file = QDir(env.path()).filePath(QStringLiteral("zelk.dat"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }
    TextBox *rateBox = m_panel->rateBox();
    rateBox->setShowButton(true);
    m_panel->bindEntryList(file);
    rateBox->setText(rate);

    MessageRecorder messages;
    // An assistive tool's Press on the list button returns before the list runs its own event loop.
    QAccessibleInterface *listButton
        = QAccessible::queryAccessibleInterface(rateBox->findChild<QToolButton *>());
    QCOMPARE(popupOpenedBy(
                 [&] { listButton->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }),
             QStringLiteral("entryListMenu"));

    QTEST(useEntryList(rateBox, QString()), "shown");
    useEntryList(rateBox, command);
    QCOMPARE(rateBox->text(), command.startsWith(QLatin1String("choose ")) ? command.mid(7) : rate);
    QTEST(useEntryList(rateBox, QString()), "after");
    QCOMPARE(messages.seen(), QStringList());
    QFile backup(EntryList::backupPath(file));
    QCOMPARE(backup.exists(), damaged);
    if (damaged) {
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), content);
    }
}

QTEST_MAIN(TestCalculatorPanel)
void TestCalculatorPanel::fontShrinksOnlyToFit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("shrinks");
    QTest::newRow("room to spare") << 400 << false;
    QTest::newRow("narrow") << 24 << true;
}

void TestCalculatorPanel::fontShrinksOnlyToFit()
{
    QFETCH(int, width);
    TextBox box;
    box.resize(width, 20);
    box.setWholeText(QStringLiteral("00,0"));
    const QFont before = box.font();
    box.show();
    QFETCH(bool, shrinks);
    QCOMPARE(box.font().pointSizeF() < before.pointSizeF(), shrinks);
}

#include "tst_calculatorpanel.moc"
