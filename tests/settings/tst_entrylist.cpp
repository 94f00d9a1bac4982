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
    void unwritableProgramFolder_data();
    void unwritableProgramFolder();

private:
    QString path(const char *name = "zelk.dat") const
    {
        return QDir(m_env->path()).filePath(QLatin1String(name));
    }
    std::unique_ptr<TestEnvironment> m_env;
};

static const QByteArray header = QByteArrayLiteral("# Zelk. 2010 entry list 1\n");

static void write(const QString &file, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(content), content.size());
}

static QByteArray contentOf(const QString &file)
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

    QByteArray lines60 = header;
    QStringList first50;
    for (int i = 1; i <= 60; ++i) {
        lines60 += QByteArray::number(i) + '\n';
        if (i <= 50)
            first50.append(QString::number(i));
    }
    const QStringList defaults{"19", "7"};
    QTest::newRow("missing") << false << QByteArray() << defaults << true;
    QTest::newRow("empty") << true << QByteArray() << defaults << true;
    QTest::newRow("garbage") << true << QByteArray("\x00\xff\x10junk", 7) << defaults << false;
    QTest::newRow("stored, blank line and double") << true << header + "16\n7,5\n\n16\n" << QStringList{"16", "7,5"} << true;
    QTest::newRow("emptied by the user") << true << header << QStringList{} << true;
    QTest::newRow("Windows line ends") << true << QByteArray("# Zelk. 2010 entry list 1\r\n16\r\n5\r\n") << QStringList{"16", "5"} << true;
    QTest::newRow("no header") << true << QByteArray("16\n7\n") << QStringList{"16", "7"} << true;
    QTest::newRow("bad UTF-8 line") << true << header + "16\n\xff\xfe\n7,5\n" << QStringList{"16", "7,5"} << false;
    QTest::newRow("longest kept, longer skipped") << true << header + "123456789012345\n1234567890123456\n5\n" << QStringList{"123456789012345", "5"} << false;
    QTest::newRow("control character") << true << header + "1\x01" "6\n5,5\n" << QStringList{"5,5"} << false;
    QTest::newRow("only damaged lines") << true << header + "\xff\n" << defaults << false;
    QTest::newRow("50 entries") << true << lines60.left(lines60.indexOf("\n51\n") + 1) << first50 << true;
    QTest::newRow("60 entries keep the first 50") << true << lines60 << first50 << false;
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
    QCOMPARE(contentOf(path()), exists ? content : QByteArray("(missing)"));
    QCOMPARE(QFileInfo(path()).lastModified(), written);
    QVERIFY(!QFileInfo::exists(EntryList::backupPath(path())));
    // What was read is what can be added again, up to the limit.
    if (read.complete && !read.entries.isEmpty())
        QCOMPARE(bool(EntryList::add(path(), read.entries.constLast() + QStringLiteral("0"))),
                 read.entries.size() < EntryList::maxEntries);
}

// clang-format off
void TestEntryList::unwritableProgramFolder_data()
{
    QTest::addColumn<bool>("listInProgramFolder"); // else a file takes the folder's place
    QTest::addColumn<QStringList>("before");
    QTest::newRow("installed program with a list") << true << QStringList{"16"};
    QTest::newRow("file in the folder's place") << false << QStringList{"19", "7"};
}
// clang-format on

void TestEntryList::unwritableProgramFolder()
{
    QFETCH(bool, listInProgramFolder);
    QFETCH(QStringList, before);
    const QString program = path("program");
    const QString requested = path("program/zelk.dat");
    if (listInProgramFolder) {
        if (::geteuid() == 0)
            QSKIP("Root writes into a read-only folder; tst_storefaults covers this as an ordinary user.");
        write(requested, header + "16\n");
        QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else {
        write(program, "kein Ordner");
    }
    // The list in the program's folder is read until the first change goes to the data folder.
    QCOMPARE(EntryList::load(requested), before);
    QVERIFY(EntryList::add(requested, QStringLiteral("5")));
    QCOMPARE(EntryList::load(requested), before + QStringList{"5"});
    QVERIFY(EntryList::effectivePath(requested).startsWith(path("data")));
    QVERIFY(QFile::exists(EntryList::effectivePath(requested)));
    QCOMPARE(contentOf(requested), listInProgramFolder ? header + "16\n" : QByteArray("(missing)"));
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QTEST_GUILESS_MAIN(TestEntryList)
#include "tst_entrylist.moc"
