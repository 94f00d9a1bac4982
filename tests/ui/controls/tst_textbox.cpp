#include "support/entrylistdriver.h"
#include "support/testenvironment.h"
#include "settings/entrylist.h"
#include "ui/controls/textbox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

class TestTextBox : public QObject
{
    Q_OBJECT

private slots:
    void characterCode_data();
    void characterCode();
    void hookCanKeepDiscardOrReplace();
    void maxCharsStopsTypingNotTheProgram();
    void choosingAnEntryFillsTheBox();
    void damagedListKeepsWhatItCanRead_data();
    void damagedListKeepsWhatItCanRead();
};

// clang-format off
void TestTextBox::characterCode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7" << 55;
    QTest::newRow("comma") << int(Qt::Key_Comma) << 0 << "," << 44;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 97;
    QTest::newRow("blank") << int(Qt::Key_Space) << 0 << " " << 32;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << "\x03" << 3;
    QTest::newRow("Ctrl+C without text") << int(Qt::Key_C) << int(Qt::ControlModifier) << "" << 3;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16" << 22;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 27;
    QTest::newRow("Delete types nothing") << int(Qt::Key_Delete) << 0 << "\x7f" << -1;
    QTest::newRow("arrow types nothing") << int(Qt::Key_Left) << 0 << "" << -1;
    QTest::newRow("AltGr letter") << int(Qt::Key_Q) << int(Qt::ControlModifier | Qt::AltModifier) << "@" << 64;
}
// clang-format on

void TestTextBox::characterCode()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QTEST(TextBox::characterCode(&event), "code");
}

void TestTextBox::hookCanKeepDiscardOrReplace()
{
    TextBox box;
    QList<int> seen;
    connect(&box, &TextBox::keyPress, this, [&seen](int &code) {
        seen.append(code);
        if (code == 'x')
            code = 0;
        else if (code == 'a')
            code = 'b';
    });
    QTest::keyClicks(&box, QStringLiteral("1a2x"));
    QCOMPARE(box.text(), QStringLiteral("1b2"));
    QCOMPARE(seen, (QList<int>{'1', 'a', '2', 'x'}));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("1b"));
    QCOMPARE(seen.last(), 8);
}

void TestTextBox::maxCharsStopsTypingNotTheProgram()
{
    TextBox box;
    box.setMaxChars(15);
    QTest::keyClicks(&box, QStringLiteral("1234567890123456"));
    QCOMPARE(box.text(), QStringLiteral("123456789012345"));
    // Overwriting a selection keeps within the limit and is allowed.
    box.selectAll();
    QTest::keyClicks(&box, QStringLiteral("9"));
    QCOMPARE(box.text(), QStringLiteral("9"));

    const QString result = QStringLiteral("1190000000000000,00");
    box.setText(result);
    QCOMPARE(box.text(), result);
    QTest::keyClick(&box, Qt::Key_5);
    QCOMPARE(box.text(), result);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("1190000000000000,0"));
}

void TestTextBox::choosingAnEntryFillsTheBox()
{
    TestEnvironment env;
    TextBox box;
    box.setShowButton(true);
    box.setEntryListFile(QDir(env.path()).filePath(QStringLiteral("zelk.dat")));
    box.setEntryListEnabled(true);
    box.setEntryListCaption(QStringLiteral("Zelk.-Satz"));
    box.setText(QStringLiteral("16"));
    box.show();

    QStringList shown;
    auto choose = [&shown](const QString &caption) {
        QTimer::singleShot(50, [&shown, caption] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown.clear();
            const auto actions = menu->actions();
            for (QAction *action : actions) {
                shown.append(action->text());
                if (action->text() == caption || action->objectName() == caption) {
                    action->trigger();
                    menu->close();
                    return;
                }
            }
            menu->close();
        });
    };

    choose(QStringLiteral("addEntry"));
    box.showEntryList();
    QCOMPARE(shown.mid(0, 3), (QStringList{"Zelk.-Satz", "19", "7"}));
    QCOMPARE(box.text(), QStringLiteral("16"));

    choose(QStringLiteral("7"));
    box.showEntryList();
    QCOMPARE(box.text(), QStringLiteral("7"));
    QCOMPARE(EntryList::load(box.entryListFile()), (QStringList{"19", "7", "16"}));
}

static QByteArray numbered(int from, int to)
{
    QByteArray lines;
    for (int i = from; i <= to; ++i)
        lines += QByteArray::number(i) + '\n';
    return lines;
}

static QStringList numberedList(int from, int to)
{
    QStringList entries;
    for (int i = from; i <= to; ++i)
        entries.append(QString::number(i));
    return entries;
}

// clang-format off
void TestTextBox::damagedListKeepsWhatItCanRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("after");

    const QByteArray header("# Zelk. 2010 entry list 1\n");
    QTest::newRow("damaged line, add") << header + "16\n\xff\xfe\n5,5\n" << QStringList{"16", "5,5"}
                                       << "add" << QStringList{"16", "5,5", "12"};
    QTest::newRow("too long line, remove") << header + "16\n1234567890123456789\n5,5\n" << QStringList{"16", "5,5"}
                                           << "16" << QStringList{"5,5"};
    QTest::newRow("60 entries keep the first 50") << header + numbered(1, 60) << numberedList(1, 50)
                                                  << "50" << numberedList(1, 49);
}
// clang-format on

void TestTextBox::damagedListKeepsWhatItCanRead()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, command);
    TestEnvironment env;
    const QString file = QDir(env.path()).filePath(QStringLiteral("zelk.dat"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    TextBox box;
    box.setShowButton(true);
    box.setEntryListFile(file);
    box.setEntryListEnabled(true);
    box.setText(QStringLiteral("12"));
    box.show();

    QTEST(useEntryList(&box, QString()), "shown");
    useEntryList(&box, command);
    QTEST(useEntryList(&box, QString()), "after");
    // What could not be read is kept beside the list, exactly as it was.
    QFile backup(file + QStringLiteral(".bak"));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), content);
}

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
