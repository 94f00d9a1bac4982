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
    void damagedFileReadsAsDefault_data();
    void damagedFileReadsAsDefault();
    void unwritableFolder();
    void linkedFileStaysLinked();

private:
    void writeRaw(const QString &application, const QByteArray &content);
    std::unique_ptr<TestEnvironment> m_env;
};

static const QString app = QStringLiteral("Zelk_2010");
static const QString section = QStringLiteral("Zelk_Satz");
static const QString key = QStringLiteral("x.Text");

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
    QVERIFY(!SettingsStore::deleteApplication(QStringLiteral("Zelk_2009")));
    QVERIFY(SettingsStore::save(QStringLiteral("Zelk_2009"), section, key, QStringLiteral("16")));
    QVERIFY(SettingsStore::save(app, section, key, QStringLiteral("19")));
    QVERIFY(SettingsStore::deleteApplication(QStringLiteral("Zelk_2009")));
    QVERIFY(!SettingsStore::hasApplication(QStringLiteral("Zelk_2009")));
    QVERIFY(!QFile::exists(SettingsStore::location(QStringLiteral("Zelk_2009"))));
    QCOMPARE(SettingsStore::get(QStringLiteral("Zelk_2009"), section, key), QString());
    QCOMPARE(SettingsStore::get(app, section, key), QStringLiteral("19"));
}

// clang-format off
void TestSettingsStore::damagedFileReadsAsDefault_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe[\x01\x02=\x80\x00garbage", 16);
    QTest::newRow("truncated") << QByteArray("[Zelk_Sa");
    QTest::newRow("broken variant") << QByteArray("[Zelk_Satz]\nother=@Variant(\\0\\0\\0\\x7f\\0)\n");
}
// clang-format on

void TestSettingsStore::damagedFileReadsAsDefault()
{
    QFETCH(QByteArray, content);
    writeRaw(app, content);
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("19")), QStringLiteral("19"));
    // A damaged file is replaced by a good one when the rate is saved.
    QVERIFY(SettingsStore::save(app, section, key, QStringLiteral("7")));
    QCOMPARE(SettingsStore::get(app, section, key), QStringLiteral("7"));
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
    const QString kept = QDir(m_env->path()).filePath(QStringLiteral("dotfiles/Zelk_2010.ini"));
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
