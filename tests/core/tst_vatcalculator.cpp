#include "core/vatcalculator.h"

#include <QTest>

Q_DECLARE_METATYPE(VatCalculator::Failure)

class TestVatCalculator : public QObject
{
    Q_OBJECT

private slots:
    void directions_data();
    void directions();
    void failures_data();
    void failures();
};

static const QLocale german(QLocale::German, QLocale::Germany);

// clang-format off
void TestVatCalculator::directions_data()
{
    QTest::addColumn<bool>("fromNet");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("other");

    QTest::newRow("net 100") << true << german << "19" << "100" << "19,00" << "119,00";
    QTest::newRow("gross 119") << false << german << "19" << "119" << "19,00" << "100,00";
    // Displayed net and VAT add up to the typed gross.
    QTest::newRow("gross 100") << false << german << "19" << "100" << "15,97" << "84,03";
    // The gross adds the VAT as displayed, not the unrounded one.
    QTest::newRow("net 10,555") << true << german << "19" << "10,555" << "2,01" << "12,57";
    QTest::newRow("rate 7") << true << german << "7" << "12,34" << "0,86" << "13,20";
    QTest::newRow("rate 0") << true << german << "0" << "50" << "0,00" << "50,00";
    QTest::newRow("rate with comma") << true << german << "7,5" << "100" << "7,50" << "107,50";
    QTest::newRow("negative net") << true << german << "19" << "-100" << "-19,00" << "-119,00";
    QTest::newRow("zero net") << true << german << "19" << "0" << "0,00" << "0,00";
    QTest::newRow("grouped gross") << false << german << "19" << "1.190,00" << "190,00" << "1000,00";
    QTest::newRow("C locale") << true << QLocale::c() << "19" << "10.555" << "2.01" << "12.57";
    QTest::newRow("long result") << true << german << "19" << "999999999999999" << "190000000000000,00"
                                 << "1190000000000000,00";
}
// clang-format on

void TestVatCalculator::directions()
{
    QFETCH(bool, fromNet);
    QFETCH(QLocale, locale);
    QFETCH(QString, rate);
    QFETCH(QString, typed);
    const auto result = fromNet ? VatCalculator::fromNet(rate, typed, locale)
                                : VatCalculator::fromGross(rate, typed, locale);
    QVERIFY(result.ok());
    QTEST(result.vat, "vat");
    QTEST(result.other, "other");
}

// clang-format off
void TestVatCalculator::failures_data()
{
    QTest::addColumn<bool>("fromNet");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<VatCalculator::Failure>("failure");

    QTest::newRow("empty rate") << true << "" << "100" << VatCalculator::Failure::Rate;
    QTest::newRow("fraction rate") << false << "1/2" << "100" << VatCalculator::Failure::Rate;
    QTest::newRow("minus rate") << true << "-" << "100" << VatCalculator::Failure::Rate;
    QTest::newRow("letters in rate") << true << "neunzehn" << "100" << VatCalculator::Failure::Rate;
    QTest::newRow("point rate in German") << true << "10.5" << "100" << VatCalculator::Failure::Rate;
    QTest::newRow("fraction net") << true << "19" << "1/2" << VatCalculator::Failure::Amount;
    QTest::newRow("lone minus gross") << false << "19" << "-" << VatCalculator::Failure::Amount;
    QTest::newRow("pasted letters") << false << "19" << "12x" << VatCalculator::Failure::Amount;
    QTest::newRow("rate -100 gross") << false << "-100" << "100" << VatCalculator::Failure::Result;
    QTest::newRow("overflow") << true << "1e300" << "1e300" << VatCalculator::Failure::Result;
    QTest::newRow("largest double") << true << "0" << "1,7976931348623157e308" << VatCalculator::Failure::Result;
}
// clang-format on

void TestVatCalculator::failures()
{
    QFETCH(bool, fromNet);
    QFETCH(QString, rate);
    QFETCH(QString, typed);
    const auto result = fromNet ? VatCalculator::fromNet(rate, typed, german)
                                : VatCalculator::fromGross(rate, typed, german);
    QTEST(result.failure, "failure");
    QVERIFY(result.vat.isEmpty() && result.other.isEmpty());
}

QTEST_APPLESS_MAIN(TestVatCalculator)
#include "tst_vatcalculator.moc"
