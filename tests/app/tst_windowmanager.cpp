#include "app/windowmanager.h"
#include "settings/settingsstore.h"
#include "support/testenvironment.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/controls/toolbar.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestWindowManager : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup();
    void switchesBetweenCalculators();
    void wizardLeadsToMainWindow();

private:
    static QStringList forms();
    static QWidget *form(const QString &name);
    std::unique_ptr<TestEnvironment> m_env;
};

QStringList TestWindowManager::forms()
{
    QStringList names;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (!widget->parentWidget() && widget->testAttribute(Qt::WA_DeleteOnClose) && widget->isVisible())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

QWidget *TestWindowManager::form(const QString &name)
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void TestWindowManager::cleanup()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->testAttribute(Qt::WA_DeleteOnClose))
            widget->close();
    }
    QTRY_VERIFY(forms().isEmpty());
    m_env.reset();
}

void TestWindowManager::switchesBetweenCalculators()
{
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2010"), QStringLiteral("Zelk_Satz"), QStringLiteral("x.Text"),
                                QStringLiteral("7")));
    WindowManager windows(10);
    QSignalSpy ended(&windows, &WindowManager::allWindowsClosed);
    windows.start();
    QCOMPARE(forms(), QStringList{"screenfrm"});
    QTRY_COMPARE(forms(), QStringList{"Zelk"});

    for (int round = 0; round < 2; ++round) {
        QWidget *main = form(QStringLiteral("Zelk"));
        main->findChild<TextBox *>(QStringLiteral("netto"))->setText(QStringLiteral("100"));
        main->findChild<ToolBar *>(QStringLiteral("Coolbar1"))->button(QStringLiteral("modus_bar"))->click();
        QTRY_COMPARE(forms(), QStringList{"klein_window"});
        QWidget *compact = form(QStringLiteral("klein_window"));
        QVERIFY(compact->findChild<TextBox *>(QStringLiteral("netto"))->text().isEmpty());
        QCOMPARE(compact->findChild<TextBox *>(QStringLiteral("x"))->text(), QStringLiteral("7"));
        compact->findChild<TextBox *>(QStringLiteral("x"))->setText(QStringLiteral("16"));
        compact->findChild<TextBox *>(QStringLiteral("brutto"))->setText(QStringLiteral("116"));
        compact->close();
        QTRY_COMPARE(forms(), QStringList{"Zelk"});
        main = form(QStringLiteral("Zelk"));
        QVERIFY(main->findChild<TextBox *>(QStringLiteral("brutto"))->text().isEmpty());
        QCOMPARE(main->findChild<TextBox *>(QStringLiteral("x"))->text(), QStringLiteral("7"));
    }
    QCOMPARE(ended.size(), 0);
    form(QStringLiteral("Zelk"))->close();
    QTRY_COMPARE(ended.size(), 1);
}

void TestWindowManager::wizardLeadsToMainWindow()
{
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2009"), QStringLiteral("Zelk_Satz"), QStringLiteral("x.Text"),
                                QStringLiteral("16")));
    WindowManager windows(10);
    QSignalSpy ended(&windows, &WindowManager::allWindowsClosed);
    windows.start();
    QTRY_COMPARE(forms(), QStringList{"aus_neu09"});
    QWidget *wizard = form(QStringLiteral("aus_neu09"));
    for (const char *button : {"Command1_0", "Command1_1", "Command1_3"})
        wizard->findChild<CommandButton *>(QLatin1String(button))->click();
    QTRY_COMPARE(forms(), QStringList{"Zelk"});
    QCOMPARE(form(QStringLiteral("Zelk"))->findChild<TextBox *>(QStringLiteral("x"))->text(), QStringLiteral("16"));
    QCOMPARE(ended.size(), 0);

    // The next start finds nothing to take over.
    form(QStringLiteral("Zelk"))->close();
    QTRY_COMPARE(ended.size(), 1);
    WindowManager again(10);
    again.start();
    QTRY_COMPARE(forms(), QStringList{"Zelk"});
}

QTEST_MAIN(TestWindowManager)
#include "tst_windowmanager.moc"
