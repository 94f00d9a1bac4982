#include "settings/entrylist.h"
#include "support/entrylistdriver.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "ui/calculator/calculatorpanel.h"
#include "ui/controls/messagedialog.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestCalculatorPanel : public QObject
{
    Q_OBJECT

private slots:
    void rateEntryList_data();
    void rateEntryList();
};

static QStringList numberedList(int from, int to)
{
    QStringList entries;
    for (int i = from; i <= to; ++i)
        entries.append(QString::number(i));
    return entries;
}

static QByteArray numbered(int from, int to)
{
    return numberedList(from, to).join(QLatin1Char('\n')).toUtf8() + '\n';
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
    QTest::newRow("damaged line, add") << header + "16\n\xff\xfe\n5,5\n" << "12" << QStringList{"16", "5,5"}
                                       << "add" << QStringList{"16", "5,5", "12"} << true;
    QTest::newRow("too long line, remove") << header + "16\n1234567890123456789\n5,5\n" << "12"
                                           << QStringList{"16", "5,5"} << "16" << QStringList{"5,5"} << true;
    QTest::newRow("60 entries keep the first 50") << header + numbered(1, 60) << "12" << numberedList(1, 50)
                                                  << "50" << numberedList(1, 49) << true;
    QTest::newRow("49 entries take one more") << header + numbered(1, 49) << "99" << numberedList(1, 49)
                                              << "add" << numberedList(1, 49) + QStringList{"99"} << false;
    QTest::newRow("50 entries take no more") << header + numbered(1, 50) << "99" << numberedList(1, 50)
                                             << "add" << numberedList(1, 50) << false;
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
    QWidget window;
    CalculatorPanel panel(&window, new MessageDialog(&window));
    panel.rateBox()->setShowButton(true);
    panel.bindEntryList(file);
    panel.rateBox()->setText(rate);
    window.show();

    MessageRecorder messages;
    QTEST(useEntryList(panel.rateBox(), QString()), "shown");
    useEntryList(panel.rateBox(), command);
    QTEST(useEntryList(panel.rateBox(), QString()), "after");
    QCOMPARE(messages.seen(), QStringList());
    QFile backup(EntryList::backupPath(file));
    QCOMPARE(backup.exists(), damaged);
    if (damaged) {
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), content);
    }
}

QTEST_MAIN(TestCalculatorPanel)
#include "tst_calculatorpanel.moc"
