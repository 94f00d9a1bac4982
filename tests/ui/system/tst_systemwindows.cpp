#include "settings/settingsstore.h"
#include "support/messagerecorder.h"
#include "support/testenvironment.h"
#include "system/autorun.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/system/autostartwindow.h"
#include "ui/system/migrationwizard.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

class TestSystemWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void valueName_data();
    void valueName();
    void autostartEntersAndRemoves();
    void autostartFailureIsReported();
    void wizardTakesRateOver_data();
    void wizardTakesRateOver();
    void wizardWalksOnWithEnter();
    void wizardLeavesVanishedStoreAlone();
    void wizardReportsStoreErrors();

private:
    static QString clickAndRead(QWidget *window, const char *button);
    std::unique_ptr<TestEnvironment> m_env;
};

static const QString section = QStringLiteral("Zelk_Satz");
static const QString key = QStringLiteral("x.Text");

QString TestSystemWindows::clickAndRead(QWidget *window, const char *button)
{
    MessageRecorder messages;
    window->findChild<CommandButton *>(QLatin1String(button))->click();
    return messages.seen().join(QLatin1Char('/'));
}

// clang-format off
void TestSystemWindows::valueName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "/opt/zelk/zelk" << "zelk";
    QTest::newRow("extension") << "/opt/zelk/zelk.bin" << "zelk";
    QTest::newRow("dot in folder") << "/opt/zelk.2010/zelk" << "zelk";
    QTest::newRow("two dots") << "/opt/archive.tar.gz" << "archive.tar";
}
// clang-format on

void TestSystemWindows::valueName()
{
    QFETCH(QString, path);
    QTEST(AutostartWindow::valueName(path), "name");
}

void TestSystemWindows::autostartEntersAndRemoves()
{
    QPointer<AutostartWindow> window = new AutostartWindow;
    window->show();
    const QString path = window->findChild<TextBox *>(QStringLiteral("txtFilename"))->text();
    QCOMPARE(path, QCoreApplication::applicationFilePath());
    const QString entry
        = QDir(AutoRun::autostartFolder()).filePath(QStringLiteral("tst_systemwindows.desktop"));

    QCOMPARE(clickAndRead(window, "Command1"), QStringLiteral("information|Autostart|Der Eintrag war erfolgreich."));
    QVERIFY(QFile::exists(entry));
    QCOMPARE(clickAndRead(window, "Command3"), QStringLiteral("information|Autostart|Der Eintrag wurde entfernt!"));
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(clickAndRead(window, "Command3"), QStringLiteral("information|Autostart|Der Eintrag wurde entfernt!"));
    window->findChild<CommandButton *>(QStringLiteral("Command2"))->click();
    QTRY_VERIFY(window.isNull());
}

void TestSystemWindows::autostartFailureIsReported()
{
    QFile blocker(AutoRun::autostartFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QPointer<AutostartWindow> window = new AutostartWindow;
    window->show();
    QCOMPARE(clickAndRead(window, "Command1"),
             QStringLiteral("stop|Autostart|Der Eintrag ist fehlgeschlagen!\n\n„%1“ ist kein Ordner, sondern eine Datei.")
                 .arg(AutoRun::autostartFolder()));
    // Where no entry can be, there was none to remove.
    QCOMPARE(clickAndRead(window, "Command3"), QStringLiteral("information|Autostart|Der Eintrag wurde entfernt!"));
    window->close();
    QTRY_VERIFY(window.isNull());
}

// clang-format off
void TestSystemWindows::wizardTakesRateOver_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("oldRate");   // "-": the old store holds another section only
    QTest::addColumn<QString>("stored");    // this version's rate before; "-": none
    QTest::addColumn<QString>("expected");  // this version's rate after; "-": none
    QTest::addColumn<bool>("cancel");
    QTest::newRow("2009 rate 16") << 2009 << "16" << "-" << "16" << false;
    QTest::newRow("2008 rate 16") << 2008 << "16" << "-" << "16" << false;
    QTest::newRow("old rate replaces a stored one") << 2009 << "16" << "7" << "16" << false;
    QTest::newRow("no old rate") << 2009 << "-" << "-" << "-" << false;
    // Nothing empty or unreadable ever replaces a stored rate.
    QTest::newRow("no old rate keeps 7") << 2009 << "-" << "7" << "7" << false;
    QTest::newRow("empty old rate keeps 7") << 2009 << "" << "7" << "7" << false;
    QTest::newRow("unreadable old rate keeps 7") << 2008 << "abc" << "7" << "7" << false;
    // Abbrechen after Weiter ends the wizard; the takeover stays done.
    QTest::newRow("cancelled after Weiter") << 2009 << "16" << "-" << "16" << true;
}
// clang-format on

void TestSystemWindows::wizardTakesRateOver()
{
    QFETCH(int, year);
    QFETCH(QString, oldRate);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    const QString old = QStringLiteral("Zelk_%1").arg(year);
    const QString none = QStringLiteral("-");
    if (oldRate != none)
        QVERIFY(SettingsStore::save(old, section, key, oldRate));
    else
        QVERIFY(SettingsStore::save(old, QStringLiteral("Fenster"), QStringLiteral("Links"),
                                    QStringLiteral("10")));
    if (stored != none)
        QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2010"), section, key, stored));

    QPointer<MigrationWizard> wizard = new MigrationWizard(year);
    QSignalSpy finished(wizard.data(), &MigrationWizard::finished);
    wizard->load();
    QCOMPARE(wizard->objectName(), year == 2008 ? QStringLiteral("aus_neu08") : QStringLiteral("aus_neu09"));
    auto *page = wizard->findChild<QLabel *>(QStringLiteral("Label3"));
    auto button = [&wizard](int index) {
        return wizard->findChild<CommandButton *>(QStringLiteral("Command1_%1").arg(index));
    };
    QVERIFY(
        page->text().startsWith(QStringLiteral("Sie haben bisher Zelk. %1 verwendet.\r\n\r\n").arg(year)));
    QVERIFY(button(0)->isVisible() && !button(1)->isVisible() && button(2)->isVisible()
            && !button(3)->isVisible());

    button(0)->click();
    const QString shown = oldRate == none ? QString() : oldRate;
    QVERIFY(page->text().contains(QStringLiteral("\r\n\r\nZelk-Satz : %1\r\n\r\n").arg(shown)));
    QVERIFY(!button(0)->isVisible() && button(1)->isVisible() && !button(3)->isVisible());
    QCOMPARE(SettingsStore::get(QStringLiteral("Zelk_2010"), section, key, none), expected);
    QVERIFY(!SettingsStore::hasApplication(old));
    QFETCH(bool, cancel);
    if (cancel) {
        QSignalSpy quit(wizard.data(), &MigrationWizard::quitRequested);
        button(2)->click();
        QCOMPARE(quit.size(), 1);
        QCOMPARE(finished.size(), 0);
        wizard->close();
        return;
    }

    button(1)->click();
    QVERIFY(page->text().startsWith(QStringLiteral("Die alten Daten wurden übernommen")));
    QVERIFY(!button(1)->isVisible() && button(3)->isVisible() && button(2)->isVisible());
    button(3)->click();
    QCOMPARE(finished.size(), 1);
    QTRY_VERIFY(wizard.isNull());
}

void TestSystemWindows::wizardWalksOnWithEnter()
{
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2009"), section, key, QStringLiteral("16")));
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
    QCOMPARE(SettingsStore::get(QStringLiteral("Zelk_2010"), section, key), QStringLiteral("16"));
}

void TestSystemWindows::wizardLeavesVanishedStoreAlone()
{
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2009"), section, key, QStringLiteral("16")));
    QPointer<MigrationWizard> wizard = new MigrationWizard(2009);
    wizard->load();
    // Another start of the program took the rate over while this wizard waited.
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2010"), section, key, QStringLiteral("16")));
    QVERIFY(SettingsStore::deleteApplication(QStringLiteral("Zelk_2009")));
    MessageRecorder messages;
    wizard->findChild<CommandButton *>(QStringLiteral("Command1_0"))->click();
    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.seen().join(QLatin1Char('/'))));
    QCOMPARE(SettingsStore::get(QStringLiteral("Zelk_2010"), section, key), QStringLiteral("16"));
    QVERIFY(wizard->findChild<CommandButton *>(QStringLiteral("Command1_1"))->isVisible());
    wizard->close();
    QTRY_VERIFY(wizard.isNull());
}

void TestSystemWindows::wizardReportsStoreErrors()
{
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2009"), section, key, QStringLiteral("16")));
    // This version's settings cannot be written: a folder stands where its file belongs.
    QVERIFY(QDir().mkpath(SettingsStore::location(QStringLiteral("Zelk_2010"))));
    QPointer<MigrationWizard> wizard = new MigrationWizard(2009);
    wizard->load();
    MessageRecorder messages;
    wizard->findChild<CommandButton *>(QStringLiteral("Command1_0"))->click();
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY2(messages.seen().constFirst().startsWith(
                 QStringLiteral("stop|Fehler - Error|Fehlernummer: 75\n\nBeschreibung:\n")),
             qPrintable(messages.seen().constFirst()));
    // The old settings were not deleted, and the page stays where the click left it.
    QVERIFY(SettingsStore::hasApplication(QStringLiteral("Zelk_2009")));
    QVERIFY(wizard->findChild<CommandButton *>(QStringLiteral("Command1_1"))->isVisible());
    wizard->close();
    QTRY_VERIFY(wizard.isNull());
}

QTEST_MAIN(TestSystemWindows)
#include "tst_systemwindows.moc"
