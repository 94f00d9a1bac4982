#include "support/modalanswer.h"
#include "ui/controls/messagedialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void lineBreaksAndLook();
};

// clang-format off
void TestMessageDialog::answers_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("result");

    QTest::newRow("OK") << "48" << "OK" << "1";
    QTest::newRow("OK by Escape") << "64" << "" << "1";
    QTest::newRow("Escape on a question") << "68" << "" << "7";
}
// clang-format on

void TestMessageDialog::answers()
{
    QFETCH(QString, style);
    QFETCH(QString, button);
    MessageDialog dialog;
    SeenDialog *seen = answerNextModal(button);
    const QString result
        = dialog.ShowMessage(QStringLiteral("Text"), style, QStringLiteral("Titel"), true, QString());
    QVERIFY(seen->shown);
    QCOMPARE(seen->title, QStringLiteral("Titel"));
    QTEST(result, "result");
}

void TestMessageDialog::lineBreaksAndLook()
{
    MessageDialog dialog;
    // Settings from an earlier use must not carry over.
    dialog.setBackColor(Qt::red);
    dialog.setOkCaption(QStringLiteral("Weg"));
    QString shownText;
    QStringList visibleButtons;
    QTimer::singleShot(50, &dialog, [&] {
        shownText = dialog.findChild<QLabel *>(QStringLiteral("message"))->text();
        const auto buttons = dialog.findChildren<QPushButton *>();
        for (QPushButton *button : buttons) {
            if (button->isVisible())
                visibleButtons.append(button->text());
        }
        dialog.findChild<QPushButton *>(QStringLiteral("yesButton"))->click();
    });
    QCOMPARE(dialog.ShowMessage(QStringLiteral("Zeile 1\rZeile 2\r\rZeile 4"), QStringLiteral("36"),
                                QStringLiteral("Frage"), true, QString()),
             QStringLiteral("6"));
    QCOMPARE(shownText, QStringLiteral("Zeile 1\nZeile 2\n\nZeile 4"));
    QCOMPARE(visibleButtons, (QStringList{"JA", "NEIN"}));
    QCOMPARE(dialog.backColor(), QColor(255, 255, 204));
    QCOMPARE(dialog.numericSetting(), qint16(50));
}

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
