#include "core/numberformat.h"

#include <QTest>

#include <limits>

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void twoDecimals_data();
    void twoDecimals();
    void parse_data();
    void parse();
    void localForm_data();
    void localForm();
};

static const QLocale german(QLocale::German, QLocale::Germany);

// clang-format off
void TestNumberFormat::twoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << 19.0 << german << "19,00";
    QTest::newRow("round down") << 84.03361344537815 << german << "84,03";
    QTest::newRow("beyond cents") << 2.00545 << german << "2,01";
    // Halves whose binary value lies just below the half: the 15 digits decide.
    QTest::newRow("1,005") << 1.005 << german << "1,01";
    QTest::newRow("half a cent") << 0.005 << german << "0,01";
    QTest::newRow("negative half") << -1.005 << german << "-1,01";
    QTest::newRow("just below half") << 1.00499999999999 << german << "1,00";
    QTest::newRow("carry to the first digit") << 1.995 << german << "2,00";
    QTest::newRow("no grouping") << 999.995 << german << "1000,00";
    QTest::newRow("negative zero") << -0.0 << german << "0,00";
    QTest::newRow("rounds to zero") << -0.004 << german << "0,00";
    QTest::newRow("large") << 1234567.891 << german << "1234567,89";
    QTest::newRow("beyond 15 digits") << 1e20 << german << "100000000000000000000,00";
    QTest::newRow("C locale") << 19.0 << QLocale::c() << "19.00";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << german << "";
    // 15 digits of the largest double round beyond it: nothing could read that back.
    QTest::newRow("largest double") << -std::numeric_limits<double>::max() << german << "";
    QTest::newRow("Swedish minus is plain") << -1.5 << QLocale(QLocale::Swedish, QLocale::Sweden) << "-1,50";
}
// clang-format on

void TestNumberFormat::twoDecimals()
{
    QFETCH(double, value);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(NumberFormat::twoDecimals(value, locale), expected);
}

// clang-format off
void TestNumberFormat::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");

    QTest::newRow("grouped German") << "1.000,50" << german << true << 1000.5;
    QTest::newRow("blanks around") << " 19 " << german << true << 19.0;
    QTest::newRow("decimal comma") << "7,5" << german << true << 7.5;
    QTest::newRow("C decimal point") << "1000.5" << QLocale::c() << true << 1000.5;
    QTest::newRow("blank") << "   " << german << false << 0.0;
    QTest::newRow("letters") << "19a" << german << false << 0.0;
    // A full stop only groups thousands in German; 10.5 must not become 105.
    QTest::newRow("point in German") << "10.5" << german << false << 0.0;
    QTest::newRow("infinity text") << "inf" << german << false << 0.0;
    QTest::newRow("overflow") << "1e400" << QLocale::c() << false << 0.0;
}
// clang-format on

void TestNumberFormat::parse()
{
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const auto value = NumberFormat::parse(text, locale);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(*value, expected);
}

// clang-format off
void TestNumberFormat::localForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected"); // "-": no number
    QTest::addColumn<double>("value");     // what the locale reads back

    QTest::newRow("French") << "7.5" << QLocale(QLocale::French, QLocale::France) << "7,5" << 7.5;
    QTest::newRow("Swiss point") << "7,5" << QLocale(QLocale::German, QLocale::Switzerland) << "7.5" << 7.5;
    QTest::newRow("Swedish minus") << "-2.5" << QLocale(QLocale::Swedish, QLocale::Sweden)
                                   << QString::fromUtf8("\u22122,5") << -2.5;
    QTest::newRow("Arabic digits") << "17,5" << QLocale(QLocale::Arabic, QLocale::Egypt)
                                   << QString::fromUtf8("\u0661\u0667\u066b\u0665") << 17.5;
    QTest::newRow("plus") << "+3" << QLocale::c() << "+3" << 3.0;
    // Read as German grouping it would be 7500; no way reads grouping here.
    QTest::newRow("point before three digits") << "7.500" << german << "7,500" << 7.5;
    QTest::newRow("infinity") << "inf" << german << "-" << 0.0;
    QTest::newRow("exponent") << "1e2" << german << "-" << 0.0;
    QTest::newRow("both separators") << "1.000,5" << german << "-" << 0.0;
    QTest::newRow("percent") << "16 %" << german << "-" << 0.0;
}
// clang-format on

void TestNumberFormat::localForm()
{
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    const std::optional<QString> written = NumberFormat::localForm(text, locale);
    QCOMPARE(written.value_or(QStringLiteral("-")), expected);
    if (written)
        QTEST(NumberFormat::parse(*written, locale).value_or(-1), "value");
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
