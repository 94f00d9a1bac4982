#include "settings/entrylist.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

class TestEntryList : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void readsEveryReadableLine_data();
    void readsEveryReadableLine();
    void fallsBackToDataFolder();
    void listInTheProgramFolderIsCarriedOver();

private:
    QString path() const { return QDir(m_env->path()).filePath(QStringLiteral("zelk.dat")); }
    void write(const QString &file, const QByteArray &content);
    QByteArray contentOf(const QString &file);
    std::unique_ptr<TestEnvironment> m_env;
};

static const QByteArray header = QByteArrayLiteral("# Zelk. 2010 entry list 1\n");

static QByteArray numbered(int count)
{
    QByteArray lines = header;
    for (int i = 1; i <= count; ++i)
        lines += QByteArray::number(i) + '\n';
    return lines;
}

static QStringList numberedList(int count)
{
    QStringList entries;
    for (int i = 1; i <= count; ++i)
        entries.append(QString::number(i));
    return entries;
}

void TestEntryList::write(const QString &file, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(content), content.size());
}

QByteArray TestEntryList::contentOf(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
}

// clang-format off
void TestEntryList::readsEveryReadableLine_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("complete");

    const QStringList defaults{"19", "7"};
    QTest::newRow("missing") << false << QByteArray() << defaults << true;
    QTest::newRow("empty") << true << QByteArray() << defaults << true;
    QTest::newRow("garbage") << true << QByteArray("\x00\xff\x10junk", 7) << defaults << false;
    QTest::newRow("stored, blank line and double") << true << header + "16\n7,5\n\n16\n" << QStringList{"16", "7,5"} << true;
    QTest::newRow("emptied by the user") << true << header << QStringList{} << true;
    QTest::newRow("Windows line ends") << true << QByteArray("# Zelk. 2010 entry list 1\r\n16\r\n5\r\n") << QStringList{"16", "5"} << true;
    QTest::newRow("no header") << true << QByteArray("16\n7\n") << QStringList{"16", "7"} << true;
    QTest::newRow("bad UTF-8 line") << true << header + "16\n\xff\xfe\n7,5\n" << QStringList{"16", "7,5"} << false;
    QTest::newRow("line too long") << true << header + "16\n1234567890123456\n5\n" << QStringList{"16", "5"} << false;
    QTest::newRow("control character") << true << header + "1\x01" "6\n5,5\n" << QStringList{"5,5"} << false;
    QTest::newRow("only damaged lines") << true << header + "\xff\n" << defaults << false;
    QTest::newRow("50 entries") << true << numbered(50) << numberedList(50) << true;
    QTest::newRow("60 entries keep the first 50") << true << numbered(60) << numberedList(50) << false;
    QTest::newRow("past the size limit") << true << header + "16\n" + QByteArray(70 * 1024, '\n') + "5\n" << QStringList{"16"} << false;
}
// clang-format on

void TestEntryList::readsEveryReadableLine()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    if (exists)
        write(path(), content);
    const QDateTime written = QFileInfo(path()).lastModified();

    const EntryList::Content read = EntryList::read(path());
    QTEST(read.entries, "expected");
    QTEST(read.complete, "complete");
    // Reading never writes: neither the file nor a copy.
    QCOMPARE(QFileInfo::exists(path()), exists);
    if (exists) {
        QCOMPARE(contentOf(path()), content);
        QCOMPARE(QFileInfo(path()).lastModified(), written);
    }
    QVERIFY(!QFileInfo::exists(EntryList::backupPath(path())));
}

void TestEntryList::fallsBackToDataFolder()
{
    // The program's folder cannot be written: its place is taken by a file.
    QFile blocker(QDir(m_env->path()).filePath(QStringLiteral("program")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString requested = QDir(m_env->path()).filePath(QStringLiteral("program/zelk.dat"));
    const QString effective = EntryList::effectivePath(requested);
    QVERIFY(effective.startsWith(QDir(m_env->path()).filePath(QStringLiteral("data"))));
    QVERIFY(EntryList::store(requested, {QStringLiteral("16")}));
    QVERIFY(QFile::exists(effective));
    QCOMPARE(EntryList::load(requested), QStringList{"16"});
}

void TestEntryList::listInTheProgramFolderIsCarriedOver()
{
    if (::geteuid() == 0)
        QSKIP("Root writes into a read-only folder; tst_storefaults covers this as an ordinary user.");
    // An installed program's folder with a list in it, then write-protected.
    const QString program = QDir(m_env->path()).filePath(QStringLiteral("program"));
    const QString requested = QDir(program).filePath(QStringLiteral("zelk.dat"));
    write(requested, header + "16\n");
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QCOMPARE(EntryList::load(requested), QStringList{"16"});
    QVERIFY(EntryList::add(requested, QStringLiteral("5")));
    QCOMPARE(EntryList::load(requested), (QStringList{"16", "5"}));
    QCOMPARE(contentOf(requested), header + "16\n");
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QTEST_GUILESS_MAIN(TestEntryList)
#include "tst_entrylist.moc"
