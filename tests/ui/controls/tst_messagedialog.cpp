#include "ui/controls/messagedialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The real window, answered the moment it runs.
class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
};

using Answer = MessageDialog::Answer;

// clang-format off
void TestMessageDialog::answers_data()
{
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
// clang-format on

void TestMessageDialog::answers()
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
    const Answer answer = question
        ? dialog.ask(QStringLiteral("Frage"), text, MessageDialog::Icon::Question)
        : (dialog.inform(QStringLiteral("Hinweis"), text, MessageDialog::Icon::None), Answer::Ok);
    QTEST(answer, "answer");
    QTEST(buttons, "buttons");
    QCOMPARE(shown, QStringLiteral("Zeile 1\nZeile 2\n\nZeile 4"));
    QCOMPARE(dialog.windowTitle(), question ? QStringLiteral("Frage") : QStringLiteral("Hinweis"));
}

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
