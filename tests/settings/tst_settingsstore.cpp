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
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void saveOverWhatIsThere_data();
    void saveOverWhatIsThere();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

static const QString app = RateSetting::application();
static const QString section = RateSetting::section();
static const QString key = RateSetting::key();

// clang-format off
void TestSettingsStore::saveOverWhatIsThere_data()
{
    QTest::addColumn<QString>("there");     // "file", "link" (a file kept elsewhere), "folder is a file" or nothing
    QTest::addColumn<QByteArray>("content"); // the file's bytes
    QTest::addColumn<QString>("read");      // what get() gives with the default "19"
    QTest::addColumn<QString>("value");     // saved then; read back unless the folder is a file
    const QByteArray rate = QStringLiteral("[%1]\n%2=").arg(section, key).toUtf8();
    QTest::newRow("nothing, rate") << "" << QByteArray() << "19" << "19";
    QTest::newRow("nothing, decimal comma") << "" << QByteArray() << "19" << "7,5";
    // Only quotes keep the blanks around commas; a list would lose them.
    QTest::newRow("nothing, commas and blanks") << "" << QByteArray() << "19" << "1, 2 ,3";
    QTest::newRow("nothing, empty") << "" << QByteArray() << "19" << "";
    QTest::newRow("nothing, umlauts and quotes") << "" << QByteArray() << "19" << "ä \"ü\" ; = [x]";
    // A comma outside quotes splits an INI value into a list; the rate keeps it.
    QTest::newRow("unquoted comma") << "file" << QByteArray(rate + "7,5\n") << "7,5" << "16";
    QTest::newRow("quoted comma") << "file" << QByteArray(rate + "\"7,5\"\n") << "7,5" << "16";
    QTest::newRow("two commas") << "file" << QByteArray(rate + "1,2,3\n") << "1,2,3" << "16";
    // Damaged files read as if nothing were stored, and are replaced by a good one.
    QTest::newRow("empty") << "file" << QByteArray() << "19" << "7,5";
    QTest::newRow("binary") << "file" << QByteArray("\x00\xff\xfe[\x01\x02=\x80\x00garbage", 16) << "19" << "7,5";
    QTest::newRow("truncated") << "file" << rate.left(8) << "19" << "7,5";
    QTest::newRow("broken variant") << "file" << QStringLiteral("[%1]\nother=@Variant(\\0\\0\\0\\x7f\\0)\n").arg(section).toUtf8() << "19" << "7,5";
    // Kept elsewhere and linked here, as many keep their settings: it stays linked.
    QTest::newRow("linked file") << "link" << QByteArray(rate + "16\n") << "16" << "7";
    // Nothing can be written there, even by root.
    QTest::newRow("folder is a file") << "folder is a file" << QByteArray() << "19" << "7";
}
// clang-format on

void TestSettingsStore::saveOverWhatIsThere()
{
    QFETCH(QString, there);
    QFETCH(QByteArray, content);
    QFETCH(QString, value);
    const QString path = SettingsStore::location(app);
    const QString kept = QDir(m_env->path()).filePath(QStringLiteral("dotfiles/zelk.ini"));
    const bool blocked = there == QLatin1String("folder is a file");
    QVERIFY(QDir().mkpath(QFileInfo(blocked ? m_env->configHome() : path).absolutePath()));
    QVERIFY(QDir().mkpath(QFileInfo(kept).absolutePath()));
    if (!there.isEmpty()) {
        QFile file(blocked ? QFileInfo(path).absolutePath() : there == QLatin1String("link") ? kept : path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    if (there == QLatin1String("link"))
        QVERIFY(QFile::link(kept, path));

    QTEST(SettingsStore::get(app, section, key, QStringLiteral("19")), "read");
    const StoreResult saved = SettingsStore::save(app, section, key, value);
    QCOMPARE(saved.ok(), !blocked);
    QCOMPARE(SettingsStore::get(app, section, key, QStringLiteral("19")),
             blocked ? QStringLiteral("19") : value);
    QCOMPARE(SettingsStore::hasApplication(app), !blocked);
    QCOMPARE(QFileInfo(path).isSymLink(), there == QLatin1String("link"));
    if (there == QLatin1String("link")) {
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("x.Text=7"));
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
