#include "support/entrylistdriver.h"
#include "ui/controls/textbox.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestTextBox : public QObject
{
    Q_OBJECT

private slots:
    void maxCharsStopsTypingNotTheProgram();
    void entryList_data();
    void entryList();
    void pressOnListButtonReturnsFirst();
};

void TestTextBox::maxCharsStopsTypingNotTheProgram()
{
    TextBox box;
    box.setMaxChars(15);
    box.setFocus();
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

namespace {

// A list that remembers what the box asked of it.
class RecordingSource : public EntryListSource
{
public:
    QStringList shown{QStringLiteral("19"), QStringLiteral("7")};
    bool room = true;
    QStringList changes;

    QStringList entries() const override { return shown; }
    bool canAdd(const QString &, const QStringList &) const override { return room; }
    void add(const QString &value) override { changes.append(QLatin1Char('+') + value); }
    void remove(const QString &value) override { changes.append(QLatin1Char('-') + value); }
};

} // namespace

// clang-format off
void TestTextBox::entryList_data()
{
    QTest::addColumn<bool>("room");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("closed unused") << true << "" << "12" << QStringList();
    QTest::newRow("entry chosen") << true << "choose 7" << "7" << QStringList();
    QTest::newRow("text added") << true << "add" << "12" << QStringList{"+12"};
    QTest::newRow("no room to add") << false << "add" << "12" << QStringList();
    QTest::newRow("entry removed") << true << "7" << "12" << QStringList{"-7"};
}
// clang-format on

void TestTextBox::entryList()
{
    QFETCH(bool, room);
    QFETCH(QString, command);
    RecordingSource source;
    source.room = room;
    TextBox box;
    box.setShowButton(true);
    box.setEntryList(&source, QStringLiteral("Zelk.-Satz"));
    box.setText(QStringLiteral("12"));
    box.show();

    QCOMPARE(useEntryList(&box, command), source.shown);
    QTEST(box.text(), "text");
    QTEST(source.changes, "changes");
}

void TestTextBox::pressOnListButtonReturnsFirst()
{
    RecordingSource source;
    TextBox box;
    box.setShowButton(true);
    box.setEntryList(&source, QStringLiteral("Zelk.-Satz"));
    box.show();
    auto *button = box.findChild<QToolButton *>();
    QVERIFY(button);
    // An assistive tool's Press must return before the list runs its own event
    // loop; the list is noted and closed from there.
    bool returned = false;
    QString shown;
    bool shownBeforeReturn = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            shown = popup->objectName();
            shownBeforeReturn = !returned;
            popup->close();
        }
    });
    closer.start(5);
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    returned = true;
    QTRY_COMPARE(shown, QStringLiteral("entryListMenu"));
    QVERIFY(!shownBeforeReturn);
}

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
