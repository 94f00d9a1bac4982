#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void roundTrip_data();
    void roundTrip();
    void deleteApplicationLeavesOthers();
    void handWrittenFile_data();
    void handWrittenFile();
    void unwritableFolder();
    void linkedFileStaysLinked();

private:
    void writeRaw(const QString &application, const QByteArray &content);
    std::unique_ptr<TestEnvironment> m_env;
};

static const QString app = RateSetting::application();
static const QString section = RateSetting::section();
static const QString key = RateSetting::key();
static const QString old = RateSetting::oldApplication(2009);

void TestSettingsStore::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void TestSettingsStore::cleanup()
{
    m_env.reset();
}

void TestSettingsStore::writeRaw(const QString &application, const QByteArray &content)
{
    const QString path = SettingsStore::location(application);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// clang-format off
void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("rate") << "19";
    QTest::newRow("decimal comma") << "7,5";
    // Only quotes keep the blanks around commas; a list would lose them.
    QTest::newRow("commas and blanks") << "1, 2 ,3";
    QTest::newRow("empty") << "";
    QTest::newRow("umlauts and quotes") << "ä \"ü\" ; = [x]";
}
// clang-format on

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, value);
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("default")), QStringLiteral("default"));
    QVERIFY(!SettingsStore::hasApplication(app));
    QVERIFY(SettingsStore::save(app, section, key, value));
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("default")), value);
    QVERIFY(SettingsStore::hasApplication(app));
    QVERIFY(SettingsStore::location(app).startsWith(m_env->configHome()));
}

void TestSettingsStore::deleteApplicationLeavesOthers()
{
    QVERIFY(!SettingsStore::deleteApplication(old));
    QVERIFY(SettingsStore::save(old, section, key, QStringLiteral("16")));
    QVERIFY(SettingsStore::save(app, section, key, QStringLiteral("19")));
    QVERIFY(SettingsStore::deleteApplication(old));
    QVERIFY(!SettingsStore::hasApplication(old));
    QVERIFY(!QFile::exists(SettingsStore::location(old)));
    QCOMPARE(SettingsStore::get(old, section, key), QString());
    QCOMPARE(SettingsStore::get(app, section, key), QStringLiteral("19"));
}

// clang-format off
void TestSettingsStore::handWrittenFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("read"); // what get() gives with the default "19"
    const QByteArray rate = QStringLiteral("[%1]\n%2=").arg(section, key).toUtf8();
    // A comma outside quotes splits an INI value into a list; the rate keeps it.
    QTest::newRow("unquoted comma") << QByteArray(rate + "7,5\n") << "7,5";
    QTest::newRow("quoted comma") << QByteArray(rate + "\"7,5\"\n") << "7,5";
    QTest::newRow("two commas") << QByteArray(rate + "1,2,3\n") << "1,2,3";
    // Damaged files read as if nothing were stored.
    QTest::newRow("empty") << QByteArray() << "19";
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe[\x01\x02=\x80\x00garbage", 16) << "19";
    QTest::newRow("truncated") << rate.left(8) << "19";
    QTest::newRow("broken variant") << QStringLiteral("[%1]\nother=@Variant(\\0\\0\\0\\x7f\\0)\n").arg(section).toUtf8() << "19";
}
// clang-format on

void TestSettingsStore::handWrittenFile()
{
    QFETCH(QByteArray, content);
    writeRaw(app, content);
    QTEST(SettingsStore::get(app, section, key, QStringLiteral("19")), "read");
    // Saving writes a file that reads back as saved, whatever stood there before.
    QVERIFY(SettingsStore::save(app, section, key, QStringLiteral("7,5")));
    QCOMPARE(SettingsStore::get(app, section, key), QStringLiteral("7,5"));
}

void TestSettingsStore::unwritableFolder()
{
    // The settings folder's place is taken by a file, so nothing can be written
    // there even by root.
    QFile blocker(QDir(m_env->configHome()).filePath(QStringLiteral("zelk")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!SettingsStore::save(app, section, key, QStringLiteral("7")));
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("19")), QStringLiteral("19"));
    QVERIFY(!SettingsStore::hasApplication(app));
}

void TestSettingsStore::linkedFileStaysLinked()
{
    const QString kept = QDir(m_env->path()).filePath(QStringLiteral("dotfiles/%1.ini").arg(app));
    QVERIFY(QDir().mkpath(QFileInfo(kept).absolutePath()));
    QVERIFY(QDir().mkpath(QFileInfo(SettingsStore::location(app)).absolutePath()));
    QVERIFY(QFile::link(kept, SettingsStore::location(app)));
    const StoreResult first = SettingsStore::save(app, section, key, QStringLiteral("16"));
    QVERIFY2(first.ok(), qPrintable(first.reason()));
    QVERIFY(QFileInfo(SettingsStore::location(app)).isSymLink());
    QVERIFY(SettingsStore::deleteSection(app, section));
    QVERIFY(SettingsStore::save(app, section, key, QStringLiteral("7")));
    QVERIFY(QFileInfo(SettingsStore::location(app)).isSymLink());
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("x.Text=7"));
    QCOMPARE(SettingsStore::get(app, section, key), QStringLiteral("7"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
