#include "core/osdescription.h"

#include <QTest>

class TestOsDescription : public QObject
{
    Q_OBJECT

private slots:
    void describe_data();
    void describe();
};

static QByteArray field(const QByteArray &text)
{
    QByteArray csd = text;
    csd.resize(128, '\0');
    return csd;
}

// clang-format off
void TestOsDescription::describe_data()
{
    QTest::addColumn<uint>("platform");
    QTest::addColumn<uint>("major");
    QTest::addColumn<uint>("minor");
    QTest::addColumn<QByteArray>("csd");
    QTest::addColumn<QString>("expected");

    QTest::newRow("XP SP3") << 2u << 5u << 1u << field("Service Pack 3")
                            << "Windows NT5.1 (WinXP) ( Version 5.1, Service Pack 3 )";
    QTest::newRow("6.1") << 2u << 6u << 1u << field("") << "Windows NT ( Version 6.1, )";
    QTest::newRow("ME") << 1u << 4u << 90u << field(" ") << "Windows ME ( Version 4.90,   )";
    QTest::newRow("unknown minor") << 1u << 4u << 3u << field("") << "Windows (unbekannt) ( Version 4.3, )";
    QTest::newRow("16 bit") << 0u << 3u << 11u << field("") << "Windows 16bit mit 32bit-Erweiterung ( Version 3.11, )";
    QTest::newRow("platform 3") << 3u << 6u << 1u << field("Debian GNU/Linux 12 (bookworm)")
                                << "Betriebssystem unbekannt ( Version 6.1, Debian GNU/Linux 12 (bookworm) )";
    QTest::newRow("two texts") << 2u << 5u << 1u << field(QByteArray("SP3\0\0Beta", 9))
                               << "Windows NT5.1 (WinXP) ( Version 5.1, SP3 Beta )";
    QTest::newRow("failed call") << 0u << 0u << 0u << QByteArray(128, '\0')
                                 << "Windows 16bit mit 32bit-Erweiterung ( Version 0.0, )";
}
// clang-format on

void TestOsDescription::describe()
{
    QFETCH(uint, platform);
    QFETCH(uint, major);
    QFETCH(uint, minor);
    QFETCH(QByteArray, csd);
    QTEST(OsDescription::describe(platform, major, minor, csd), "expected");
}

QTEST_APPLESS_MAIN(TestOsDescription)
#include "tst_osdescription.moc"
