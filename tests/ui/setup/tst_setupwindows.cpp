#include "settings/ratemigration.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "system/autorun.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/setup/autostartwindow.h"
#include "ui/setup/migrationwizard.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

class TestSetupWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void autostart();
    void wizard_data();
    void wizard();

private:
    static QString clickAndRead(QWidget *window, const QString &button);
    static void saveOldRate(int year, const QString &rate = QStringLiteral("16"))
    {
        QVERIFY(SettingsStore::save(RateSetting::oldApplication(year), RateSetting::section(),
                                    RateSetting::key(), rate));
    }
    std::unique_ptr<TestEnvironment> m_env;
};

QString TestSetupWindows::clickAndRead(QWidget *window, const QString &button)
{
    MessageRecorder messages;
    window->findChild<CommandButton *>(button)->click();
    return messages.seen().join(QLatin1Char('/'));
}

void TestSetupWindows::autostart()
{
    QPointer<AutostartWindow> window = new AutostartWindow;
    window->show();
    const QString path = window->findChild<TextBox *>(QStringLiteral("programPathBox"))->text();
    QCOMPARE(path, QCoreApplication::applicationFilePath());
    const QString entry
        = QDir(AutoRun::autostartFolder()).filePath(AutoRun::entryNameFor(path) + QStringLiteral(".desktop"));

    QCOMPARE(clickAndRead(window, QStringLiteral("enterButton")),
             QStringLiteral("information|Autostart|Der Eintrag war erfolgreich."));
    QVERIFY(QFile::exists(entry));
    // Removing twice: there is none left, which is no failure.
    for (int click = 0; click < 2; ++click) {
        QCOMPARE(clickAndRead(window, QStringLiteral("removeButton")),
                 QStringLiteral("information|Autostart|Der Eintrag wurde entfernt!"));
        QVERIFY(!QFile::exists(entry));
    }
    window->findChild<CommandButton *>(QStringLiteral("backButton"))->click();
    QTRY_VERIFY(window.isNull());
}

// clang-format off
void TestSetupWindows::wizard_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("oldRate");
    QTest::addColumn<QString>("rate"); // shown and taken over (CTest runs in German)
    QTest::addColumn<QString>("way");  // "click", "Enter" on the focused button, "cancel" after Weiter
    QTest::newRow("2009") << 2009 << "16" << "16" << "click";
    QTest::newRow("2008") << 2008 << "16" << "16" << "click";
    QTest::newRow("decimal point") << 2009 << "7.5" << "7,5" << "click";
    QTest::newRow("not a number") << 2008 << "16 %" << "16 %" << "click";
    QTest::newRow("Enter") << 2009 << "16" << "16" << "Enter";
    // Abbrechen after Weiter ends the wizard; the takeover stays done.
    QTest::newRow("cancelled after Weiter") << 2009 << "16" << "16" << "cancel";
    // This version's settings cannot be written: a folder stands where its file belongs.
    QTest::newRow("settings not writable") << 2009 << "16" << "16" << "blocked";
}
// clang-format on

void TestSetupWindows::wizard()
{
    QFETCH(int, year);
    QFETCH(QString, oldRate);
    QFETCH(QString, rate);
    QFETCH(QString, way);
    saveOldRate(year, oldRate);
    const QString settings = SettingsStore::location(RateSetting::application());
    if (way == QLatin1String("blocked"))
        QVERIFY(QDir().mkpath(settings));
    QPointer<MigrationWizard> wizard = new MigrationWizard(year);
    QSignalSpy finished(wizard.data(), &MigrationWizard::finished);
    QSignalSpy quit(wizard.data(), &MigrationWizard::quitRequested);
    MessageRecorder messages;
    wizard->load();
    QApplication::setActiveWindow(wizard);
    QVERIFY(QTest::qWaitForWindowActive(wizard));
    auto *page = wizard->findChild<QLabel *>(QStringLiteral("pageLabel"));
    static const char *const names[] = {"nextButton", "takeOverButton", "cancelButton", "finishButton"};
    auto button
        = [&wizard](int index) { return wizard->findChild<CommandButton *>(QLatin1String(names[index])); };
    auto shownButtons = [&button] {
        QString shown;
        for (int index = 0; index < 4; ++index)
            shown += button(index)->isVisible() ? QString::number(index) : QString();
        return shown;
    };
    // Each page's default button has the focus and takes Enter.
    auto press = [&](int index) {
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
    QVERIFY(!RateMigration::storedOldVersion());
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

QTEST_MAIN(TestSetupWindows)
#include "tst_setupwindows.moc"
