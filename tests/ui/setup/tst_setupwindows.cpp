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
    void autostart_data();
    void autostart();
    void wizardShowsItsPages_data();
    void wizardShowsItsPages();
    void wizardWalksOnWithEnter();
    void wizardReportsStoreErrors();

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

// clang-format off
void TestSetupWindows::autostart_data()
{
    QTest::addColumn<bool>("blocked"); // a file stands where the autostart folder belongs
    QTest::addColumn<QString>("entered");
    QTest::newRow("entered and removed") << false << "information|Autostart|Der Eintrag war erfolgreich.";
    QTest::newRow("folder is a file") << true
        << "stop|Autostart|Der Eintrag ist fehlgeschlagen!\n\n„%1“ ist kein Ordner, sondern eine Datei.";
}
// clang-format on

void TestSetupWindows::autostart()
{
    QFETCH(bool, blocked);
    QFETCH(QString, entered);
    if (blocked) {
        QFile blocker(AutoRun::autostartFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    QPointer<AutostartWindow> window = new AutostartWindow;
    window->show();
    const QString path = window->findChild<TextBox *>(QStringLiteral("programPathBox"))->text();
    QCOMPARE(path, QCoreApplication::applicationFilePath());
    const QString entry
        = QDir(AutoRun::autostartFolder()).filePath(AutoRun::entryNameFor(path) + QStringLiteral(".desktop"));

    QCOMPARE(clickAndRead(window, QStringLiteral("enterButton")), entered.arg(AutoRun::autostartFolder()));
    QCOMPARE(QFile::exists(entry), !blocked);
    // Removing twice, or where no entry can be: there is none left, which is no failure.
    for (int click = 0; click < 2; ++click) {
        QCOMPARE(clickAndRead(window, QStringLiteral("removeButton")),
                 QStringLiteral("information|Autostart|Der Eintrag wurde entfernt!"));
        QVERIFY(!QFile::exists(entry));
    }
    window->findChild<CommandButton *>(QStringLiteral("backButton"))->click();
    QTRY_VERIFY(window.isNull());
}

// clang-format off
void TestSetupWindows::wizardShowsItsPages_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("oldRate");
    QTest::addColumn<QString>("rate"); // shown and taken over (CTest runs in German)
    QTest::newRow("2009") << 2009 << false << "16" << "16";
    QTest::newRow("2008") << 2008 << false << "16" << "16";
    QTest::newRow("decimal point") << 2009 << false << "7.5" << "7,5";
    QTest::newRow("not a number") << 2008 << false << "16 %" << "16 %";
    // Abbrechen after Weiter ends the wizard; the takeover stays done.
    QTest::newRow("cancelled after Weiter") << 2009 << true << "16" << "16";
}
// clang-format on

void TestSetupWindows::wizardShowsItsPages()
{
    QFETCH(int, year);
    QFETCH(bool, cancel);
    QFETCH(QString, oldRate);
    QFETCH(QString, rate);
    saveOldRate(year, oldRate);
    QPointer<MigrationWizard> wizard = new MigrationWizard(year);
    QSignalSpy finished(wizard.data(), &MigrationWizard::finished);
    QSignalSpy quit(wizard.data(), &MigrationWizard::quitRequested);
    MessageRecorder messages;
    wizard->load();
    auto *page = wizard->findChild<QLabel *>(QStringLiteral("pageLabel"));
    auto button = [&wizard](int index) {
        static const char *const names[] = {"nextButton", "takeOverButton", "cancelButton", "finishButton"};
        return wizard->findChild<CommandButton *>(QLatin1String(names[index]));
    };
    auto shownButtons = [&button] {
        QString shown;
        for (int index = 0; index < 4; ++index)
            shown += button(index)->isVisible() ? QString::number(index) : QString();
        return shown;
    };
    QVERIFY(page->text().startsWith(QStringLiteral("Sie haben bisher Zelk. %1 verwendet.").arg(year)));
    QCOMPARE(shownButtons(), QStringLiteral("02"));

    button(0)->click();
    QVERIFY2(page->text().contains(QStringLiteral("\r\n\r\nZelk-Satz : %1\r\n\r\n").arg(rate)),
             qPrintable(page->text()));
    QCOMPARE(shownButtons(), QStringLiteral("12"));
    QCOMPARE(RateSetting::read(), rate);
    QVERIFY(!RateMigration::storedOldVersion());
    if (cancel) {
        button(2)->click();
        wizard->close();
    } else {
        button(1)->click();
        QVERIFY(page->text().startsWith(QStringLiteral("Die alten Daten wurden übernommen")));
        QCOMPARE(shownButtons(), QStringLiteral("23"));
        button(3)->click();
    }
    QTRY_VERIFY(wizard.isNull());
    QCOMPARE(quit.size(), cancel ? 1 : 0);
    QCOMPARE(finished.size(), cancel ? 0 : 1);
    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.seen().join(QLatin1Char('/'))));
}

void TestSetupWindows::wizardWalksOnWithEnter()
{
    saveOldRate(2009);
    QPointer<MigrationWizard> wizard = new MigrationWizard(2009);
    QSignalSpy finished(wizard.data(), &MigrationWizard::finished);
    wizard->load();
    QApplication::setActiveWindow(wizard);
    QVERIFY(QTest::qWaitForWindowActive(wizard));
    // Weiter, Übernehmen, Fertig: each page's default button takes Enter.
    for (int page = 0; page < 3; ++page) {
        QVERIFY2(QApplication::focusWidget(), qPrintable(QStringLiteral("page %1").arg(page)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(finished.size(), 1);
    QTRY_VERIFY(wizard.isNull());
    QCOMPARE(RateSetting::read(), QStringLiteral("16"));
}

void TestSetupWindows::wizardReportsStoreErrors()
{
    saveOldRate(2009);
    // This version's settings cannot be written: a folder stands where its file belongs.
    QVERIFY(QDir().mkpath(SettingsStore::location(RateSetting::application())));
    QPointer<MigrationWizard> wizard = new MigrationWizard(2009);
    wizard->load();
    MessageRecorder messages;
    wizard->findChild<CommandButton *>(QStringLiteral("nextButton"))->click();
    QCOMPARE(
        messages.seen(),
        QStringList{QStringLiteral("stop|Fehler - Error|Fehlernummer: 75\n\nBeschreibung:\n"
                                   "Die Einstellungen von Zelk. 2010 konnten nicht gespeichert werden (%1).")
                        .arg(SettingsStore::location(RateSetting::application()))});
    // The page stays where the click left it.
    QVERIFY(wizard->findChild<CommandButton *>(QStringLiteral("takeOverButton"))->isVisible());
    wizard->close();
    QTRY_VERIFY(wizard.isNull());
}

QTEST_MAIN(TestSetupWindows)
#include "tst_setupwindows.moc"
