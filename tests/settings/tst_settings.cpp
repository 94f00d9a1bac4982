// The stored rate, the old versions' rates and the list of stored values, as
// the files under them are found: damaged, linked, write-protected, written
// by two programs at once. Runs as an ordinary user (asuser.sh).
#include "settings/entrylist.h"
#include "settings/ratemigration.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/table.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>

#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray header = QByteArrayLiteral("# Zelk. 2010 entry list 1\n");

QString storeOf(int year)
{
    return year == 2010 ? RateSetting::application() : RateSetting::oldApplication(year);
}

void saveRate(int year, const QString &rate)
{
    QVERIFY(SettingsStore::save(storeOf(year), RateSetting::section(), RateSetting::key(), rate));
}

} // namespace

struct Store
{
    QString there;      // "file", "link" (a file kept elsewhere) or nothing
    QByteArray content; // the file's bytes
    QString read;       // what get() gives with the default "19"
    QString value;      // saved then, and read back
};

struct List
{
    bool exists;
    QByteArray content;
    QStringList entries;
    bool complete;
};

struct Takeover
{
    int year;
    QLocale locale;
    QString oldRate;  // "-": the old store holds another section only; "gone": no old store
    QString stored;   // this version's rate before; "-": none
    QString expected; // this version's rate after; "-": none
};

class TestSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString path(const char *name = "zelk.dat") const { return m_env->filePath(name); }

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void saveOverWhatIsThere_data()
    {
        const QByteArray rate = QByteArrayLiteral("[Zelk_Satz]\nx.Text=");
        // clang-format off
        table<Store>({
            {"nothing, rate", {"", {}, "19", "19"}},
            // Only quotes keep the blanks around commas; a list would lose them.
            {"nothing, commas and blanks", {"", {}, "19", "1, 2 ,3"}},
            {"nothing, empty", {"", {}, "19", ""}},
            {"nothing, umlauts and quotes", {"", {}, "19", "ä \"ü\" ; = [x]"}},
            // A comma outside quotes splits an INI value into a list; the rate keeps it.
            {"unquoted comma", {"file", rate + "7,5\n", "7,5", "16"}},
            {"two commas", {"file", rate + "1,2,3\n", "1,2,3", "16"}},
            // Damaged files read as if nothing were stored, and are replaced by a good one.
            {"empty", {"file", {}, "19", "7,5"}},
            {"binary", {"file", QByteArray("\x00\xff\xfe[\x01\x02=\x80\x00garbage", 16), "19", "7,5"}},
            {"truncated", {"file", rate.left(8), "19", "7,5"}},
            {"broken variant", {"file", "[Zelk_Satz]\nother=@Variant(\\0\\0\\0\\x7f\\0)\n", "19", "7,5"}},
            // Kept elsewhere and linked here, as many keep their settings: it stays linked.
            {"linked file", {"link", rate + "16\n", "16", "7"}},
        });
        // clang-format on
    }
    void saveOverWhatIsThere()
    {
        QFETCH(Store, row);
        const QString app = RateSetting::application();
        const QString section = RateSetting::section();
        const QString key = RateSetting::key();
        const QString file = SettingsStore::location(app);
        const QString kept = path("dotfiles/zelk.ini");
        const bool linked = row.there == u"link"_s;
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        if (!row.there.isEmpty())
            writeFile(linked ? kept : file, row.content);
        if (linked)
            QVERIFY(QFile::link(kept, file));

        QCOMPARE(SettingsStore::get(app, section, key, u"19"_s), row.read);
        QVERIFY(SettingsStore::save(app, section, key, row.value));
        QCOMPARE(SettingsStore::get(app, section, key, u"19"_s), row.value);
        QVERIFY(SettingsStore::hasApplication(app));
        QCOMPARE(QFileInfo(file).isSymLink(), linked);
        if (linked)
            QVERIFY(contentOf(kept).contains("x.Text=7"));
    }

    // Qt reads a settings file again only when its size or time changed: a
    // rate of the same length saved within the same step of the file
    // system's clock must still be read back. On a file system whose clock
    // steps whole seconds, quick saves fall into one step.
    void sameLengthSavesAreReadBack()
    {
        const QString coarse = qEnvironmentVariable("ZELK_COARSE_FS");
        if (coarse.isEmpty())
            QSKIP(
                "No file system with whole-second times: asuser.sh mounts one when the suite runs as root.");
        qputenv("XDG_CONFIG_HOME", QDir(coarse).filePath(u"config"_s).toLocal8Bit());
        for (const char *rate : {"7", "8", "9"}) {
            QVERIFY(RateSetting::save(QLatin1String(rate)));
            QCOMPARE(RateSetting::read(), QLatin1String(rate));
        }
    }

    void killedWhileSavingLeavesOldOrNew()
    {
        QVERIFY(RateSetting::save(u"alt"_s));
        QString last = u"alt"_s;
        for (int round = 0; round < 25; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(SETTINGSWRITER), {u"neu-%1-"_s.arg(round), u"0"_s});
            QVERIFY(writer.waitForReadyRead(10000));
            QTest::qSleep(int(QRandomGenerator::global()->bounded(1, 40)));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));

            const QString value = RateSetting::read();
            QVERIFY2(value == last || value.startsWith(u"neu-%1-"_s.arg(round)), qPrintable(value));
            QSettings file(SettingsStore::location(RateSetting::application()), QSettings::IniFormat);
            file.allKeys();
            QCOMPARE(file.status(), QSettings::NoError);
            last = value;
            // A lock left behind by the killed program must not block the next save.
            QVERIFY(RateSetting::save(last));
        }
    }

    void twoProgramsSavingLeaveOneValue()
    {
        QProcess first;
        QProcess second;
        first.start(QStringLiteral(SETTINGSWRITER), {u"7"_s, u"150"_s});
        second.start(QStringLiteral(SETTINGSWRITER), {u"19,5"_s, u"150"_s});
        QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
        QCOMPARE(first.exitCode() + second.exitCode(), 0);
        const QString value = RateSetting::read();
        QVERIFY2(value == u"7"_s || value == u"19,5"_s, qPrintable(value));
    }

    void readsEveryReadableLine_data()
    {
        QByteArray lines60 = header;
        QStringList first50;
        for (int i = 1; i <= 60; ++i) {
            lines60 += QByteArray::number(i) + '\n';
            if (i <= 50)
                first50.append(QString::number(i));
        }
        const QByteArray lines50 = lines60.left(lines60.indexOf("\n51\n") + 1);
        // clang-format off
        table<List>({
            {"missing", {false, {}, {"19", "7"}, true}},
            {"empty", {true, {}, {"19", "7"}, true}},
            {"garbage", {true, QByteArray("\x00\xff\x10junk", 7), {"19", "7"}, false}},
            {"stored, blank line and double", {true, header + "16\n7,5\n\n16\n", {"16", "7,5"}, true}},
            {"emptied by the user", {true, header, {}, true}},
            {"Windows line ends", {true, "# Zelk. 2010 entry list 1\r\n16\r\n5\r\n", {"16", "5"}, true}},
            {"no header", {true, "16\n7\n", {"16", "7"}, true}},
            {"bad UTF-8 line", {true, header + "16\n\xff\xfe\n7,5\n", {"16", "7,5"}, false}},
            {"longest kept, longer skipped", {true, header + "123456789012345\n1234567890123456\n5\n", {"123456789012345", "5"}, false}},
            {"control character", {true, header + "1\x01" "6\n5,5\n", {"5,5"}, false}},
            {"only damaged lines", {true, header + "\xff\n", {"19", "7"}, false}},
            {"50 entries", {true, lines50, first50, true}},
            {"60 entries keep the first 50", {true, lines60, first50, false}},
            {"past the size limit", {true, header + "16\n" + QByteArray(70 * 1024, '\n') + "5\n", {"16"}, false}},
        });
        // clang-format on
    }
    void readsEveryReadableLine()
    {
        QFETCH(List, row);
        if (row.exists)
            writeFile(path(), row.content);
        const QDateTime written = QFileInfo(path()).lastModified();

        const EntryList::Content read = EntryList::read(path());
        QCOMPARE(read.entries, row.entries);
        QCOMPARE(read.complete, row.complete);
        // Reading never writes: neither the file nor a copy.
        QCOMPARE(contentOf(path()), row.exists ? row.content : QByteArray("(missing)"));
        QCOMPARE(QFileInfo(path()).lastModified(), written);
        QVERIFY(!QFileInfo::exists(EntryList::backupPath(path())));
        // What was read is what can be added to, up to the limit.
        const QString more = u"0,5"_s;
        QCOMPARE(EntryList::canAdd(read.entries, more), read.entries.size() < EntryList::maxEntries);
        if (read.complete)
            QCOMPARE(bool(EntryList::add(path(), more)), read.entries.size() < EntryList::maxEntries);
    }

    // An installed program's folder cannot be written: the list goes to the
    // user's data folder, and one lying in the program's folder is read until then.
    void unwritableProgramFolder_data()
    {
        QTest::addColumn<bool>("listInProgramFolder"); // else a file takes the folder's place
        QTest::addColumn<QStringList>("before");
        QTest::newRow("installed program with a list") << true << QStringList{"16"};
        QTest::newRow("file in the folder's place") << false << QStringList{"19", "7"};
    }
    void unwritableProgramFolder()
    {
        QFETCH(bool, listInProgramFolder);
        QFETCH(QStringList, before);
        const QString program = path("program");
        const QString requested = path("program/zelk.dat");
        if (listInProgramFolder) {
            if (::geteuid() == 0)
                QSKIP("Root writes into a read-only folder; run as an ordinary user (asuser.sh).");
            writeFile(requested, header + "16\n");
            QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else {
            writeFile(program, "kein Ordner");
        }
        QCOMPARE(EntryList::load(requested), before);
        QVERIFY(EntryList::add(requested, u"5"_s));
        QCOMPARE(EntryList::load(requested), before + QStringList{"5"});
        QVERIFY(EntryList::effectivePath(requested).startsWith(path("data")));
        QCOMPARE(contentOf(requested), listInProgramFolder ? header + "16\n" : QByteArray("(missing)"));
        QFile::setPermissions(program,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void storedOldVersion_data()
    {
        QTest::addColumn<QList<int>>("stored"); // the versions whose store exists; 2010 is this one
        QTest::addColumn<int>("found");         // 0: none to take over
        QTest::newRow("none") << QList<int>{} << 0;
        QTest::newRow("only this version") << QList<int>{2010} << 0;
        QTest::newRow("2009") << QList<int>{2009} << 2009;
        QTest::newRow("2008 before 2009") << QList<int>{2009, 2008, 2010} << 2008;
    }
    void storedOldVersion()
    {
        QFETCH(QList<int>, stored);
        for (int year : std::as_const(stored))
            saveRate(year, u"16"_s);
        QTEST(RateMigration::storedOldVersion().value_or(0), "found");
    }

    void takeOver_data()
    {
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        // clang-format off
        table<Takeover>({
            {"2009 rate 16", {2009, de, "16", "-", "16"}},
            {"2008 rate 16", {2008, de, "16", "-", "16"}},
            {"old rate replaces a stored one", {2009, de, "16", "7", "16"}},
            // A number written the German or the English way is taken over in this locale's form.
            {"de 7.5", {2009, de, "7.5", "7", "7,5"}},
            {"en 7,5", {2009, en, "7,5", "7", "7.5"}},
            // Anything else is the user's text all the same: taken over as it was stored.
            {"not a number", {2009, de, "16 %", "7", "16 %"}},
            // Only no rate at all leaves this version's rate as it is.
            {"no old rate", {2009, de, "-", "-", "-"}},
            {"no old rate keeps 7", {2009, de, "-", "7", "7"}},
            {"empty old rate keeps 7", {2009, en, "", "7", "7"}},
            {"blank old rate keeps 7", {2008, de, "  ", "7", "7"}},
            // Another start of the program took the rate over after this one had found the old store.
            {"old store gone since", {2009, de, "gone", "16", "16"}},
        });
        // clang-format on
    }
    void takeOver()
    {
        QFETCH(Takeover, row);
        const QString none = u"-"_s;
        const bool gone = row.oldRate == u"gone"_s;
        if (row.oldRate == none)
            QVERIFY(SettingsStore::save(storeOf(row.year), u"Fenster"_s, u"Links"_s, u"10"_s));
        else if (!gone)
            saveRate(row.year, row.oldRate);
        if (row.stored != none)
            QVERIFY(RateSetting::save(row.stored));

        const RateMigration::Outcome outcome = RateMigration(row.year).takeOver(row.locale);
        QCOMPARE(outcome.oldStoreFound, !gone);
        QCOMPARE(outcome.failure, RateMigration::Failure::None);
        QCOMPARE(
            SettingsStore::get(RateSetting::application(), RateSetting::section(), RateSetting::key(), none),
            row.expected);
        // What the wizard shows is what was taken over.
        const bool noOldRate = row.oldRate == none || gone || row.oldRate.trimmed().isEmpty();
        QCOMPARE(outcome.oldRate, noOldRate ? QString() : row.expected);
        QVERIFY(!QFile::exists(SettingsStore::location(storeOf(row.year))));
        QVERIFY(!RateMigration::storedOldVersion());
    }

    void failedStepIsReported_data()
    {
        QTest::addColumn<bool>("blockThisStore");
        QTest::addColumn<RateMigration::Failure>("failure");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("rateAfter");
        QTest::newRow("this version's store cannot be written")
            << true << RateMigration::Failure::RateNotSaved << 75
            << u"Die Einstellungen von Zelk. 2010 konnten nicht gespeichert werden (%1)."_s << u""_s;
        QTest::newRow("old store is write-protected")
            << false << RateMigration::Failure::OldStoreNotDeleted << 5
            << u"Die Einstellungen von Zelk. 2009 konnten nicht gelöscht werden (%2)."_s << u"16"_s;
    }
    void failedStepIsReported()
    {
        QFETCH(bool, blockThisStore);
        QFETCH(QString, description);
        saveRate(2009, u"16"_s);
        const QString oldStore = SettingsStore::location(storeOf(2009));
        if (blockThisStore) {
            // A folder stands where this version's file belongs.
            QVERIFY(QDir().mkpath(SettingsStore::location(RateSetting::application())));
        } else {
            if (::geteuid() == 0)
                QSKIP("Root removes write-protected files; run as an ordinary user (asuser.sh).");
            QVERIFY(QFile::setPermissions(oldStore, QFileDevice::ReadOwner));
        }
        const RateMigration::Outcome outcome = RateMigration(2009).takeOver(QLocale());
        QTEST(outcome.failure, "failure");
        QTEST(outcome.errorNumber, "errorNumber");
        QCOMPARE(outcome.description,
                 description.replace(u"%1"_s, SettingsStore::location(RateSetting::application()))
                     .replace(u"%2"_s, oldStore));
        QVERIFY(outcome.store.failed());
        QTEST(RateSetting::read(), "rateAfter");
        QVERIFY(QFile::exists(oldStore));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
