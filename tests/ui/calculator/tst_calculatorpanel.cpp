#include "settings/entrylist.h"
#include "support/entrylistdriver.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "ui/calculator/calculatorpanel.h"
#include "ui/controls/messagedialog.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <memory>

class TestCalculatorPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enter_data();
    void enter();
    void keys_data();
    void keys();
    void rateEntryList_data();
    void rateEntryList();

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
    QTest::newRow("gross stays as typed") << "19" << "grossBox" << "119" << "100,00" << "19,00" << "119" << "";
    QTest::newRow("edited rate") << "7" << "netBox" << "12,34" << "12,34" << "0,86" << "13,20" << "";
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
void TestCalculatorPanel::keys_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("warns");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboard");

    const int ctrl = Qt::ControlModifier;
    QTest::newRow("letter in netto") << "netBox" << int(Qt::Key_A) << 0 << true << "1.234,5" << "alt";
    QTest::newRow("blank in brutto") << "grossBox" << int(Qt::Key_Space) << 0 << true << "1.234,5" << "alt";
    QTest::newRow("Ctrl+V") << "netBox" << int(Qt::Key_V) << ctrl << true << "1.234,5" << "alt";
    QTest::newRow("Escape") << "grossBox" << int(Qt::Key_Escape) << 0 << true << "1.234,5" << "alt";
    QTest::newRow("slash passes") << "netBox" << int(Qt::Key_Slash) << 0 << false << "1.234,5/" << "alt";
    QTest::newRow("Backspace passes") << "grossBox" << int(Qt::Key_Backspace) << 0 << false << "1.234," << "alt";
    QTest::newRow("Ctrl+C copies netto whole") << "netBox" << int(Qt::Key_C) << ctrl << false << "1.234,5" << "1.234,5";
    QTest::newRow("Ctrl+C copies brutto whole") << "grossBox" << int(Qt::Key_C) << ctrl << false << "1.234,5" << "1.234,5";
    // The locked box reports keys but never changes.
    QTest::newRow("letter in zelkanteil") << "vatBox" << int(Qt::Key_A) << 0 << false << "1.234,5" << "alt";
    QTest::newRow("Backspace in zelkanteil") << "vatBox" << int(Qt::Key_Backspace) << 0 << false << "1.234,5" << "alt";
    QTest::newRow("Ctrl+C copies zelkanteil whole") << "vatBox" << int(Qt::Key_C) << ctrl << false << "1.234,5" << "1.234,5";
}
// clang-format on

void TestCalculatorPanel::keys()
{
    QFETCH(QString, boxName);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, warns);
    TextBox *target = box(boxName);
    target->setFocus();
    target->setText(QStringLiteral("1.234,5"));
    QGuiApplication::clipboard()->setText(QStringLiteral("alt"));
    MessageRecorder messages;
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(messages.seen(),
             warns ? QStringList{QStringLiteral(
                 "warning|Falsche Eingabe|Es können hier nur Zahlen bzw. Ziffern eingegeben werden.")}
                   : QStringList());
    QTEST(target->text(), "after");
    QTEST(QGuiApplication::clipboard()->text(), "clipboard");
}

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
    TextBox *rateBox = m_panel->rateBox();
    rateBox->setShowButton(true);
    m_panel->bindEntryList(file);
    rateBox->setText(rate);

    MessageRecorder messages;
    QTEST(useEntryList(rateBox, QString()), "shown");
    useEntryList(rateBox, command);
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
#include "tst_calculatorpanel.moc"
