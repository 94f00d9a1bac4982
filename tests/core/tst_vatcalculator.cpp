#include "core/vatcalculator.h"

#include <QTest>

Q_DECLARE_METATYPE(VatCalculator::Failure)

class TestVatCalculator : public QObject
{
    Q_OBJECT

private slots:
    void calculate_data();
    void calculate();
};

static const QLocale german(QLocale::German, QLocale::Germany);

// clang-format off
void TestVatCalculator::calculate_data()
{
    using F = VatCalculator::Failure;
    QTest::addColumn<bool>("fromNet");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<F>("failure");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("other");

    QTest::newRow("net 100") << true << german << "19" << "100" << F::None << "19,00" << "119,00";
    QTest::newRow("gross 119") << false << german << "19" << "119" << F::None << "19,00" << "100,00";
    // Displayed net and VAT add up to the typed gross.
    QTest::newRow("gross 100") << false << german << "19" << "100" << F::None << "15,97" << "84,03";
    // The gross adds the VAT as displayed, not the unrounded one.
    QTest::newRow("net 10,555") << true << german << "19" << "10,555" << F::None << "2,01" << "12,57";
    QTest::newRow("rate 0") << true << german << "0" << "50" << F::None << "0,00" << "50,00";
    QTest::newRow("rate with comma") << true << german << "7,5" << "100" << F::None << "7,50" << "107,50";
    QTest::newRow("negative net") << true << german << "19" << "-100" << F::None << "-19,00" << "-119,00";
    QTest::newRow("grouped gross") << false << german << "19" << "1.190,00" << F::None << "190,00" << "1000,00";
    QTest::newRow("C locale") << true << QLocale::c() << "19" << "10.555" << F::None << "2.01" << "12.57";
    QTest::newRow("long result") << true << german << "19" << "999999999999999" << F::None << "190000000000000,00"
                                 << "1190000000000000,00";
    // A failure fills nothing.
    QTest::newRow("empty rate") << true << german << "" << "100" << F::Rate << "" << "";
    QTest::newRow("fraction rate") << false << german << "1/2" << "100" << F::Rate << "" << "";
    QTest::newRow("point rate in German") << true << german << "10.5" << "100" << F::Rate << "" << "";
    QTest::newRow("fraction net") << true << german << "19" << "1/2" << F::Amount << "" << "";
    QTest::newRow("lone minus gross") << false << german << "19" << "-" << F::Amount << "" << "";
    QTest::newRow("rate -100 gross") << false << german << "-100" << "100" << F::Result << "" << "";
    QTest::newRow("overflow") << true << german << "1e300" << "1e300" << F::Result << "" << "";
    QTest::newRow("largest double") << true << german << "0" << "1,7976931348623157e308" << F::Result << "" << "";
}
// clang-format on

void TestVatCalculator::calculate()
{
    QFETCH(bool, fromNet);
    QFETCH(QLocale, locale);
    QFETCH(QString, rate);
    QFETCH(QString, typed);
    const auto result = fromNet ? VatCalculator::fromNet(rate, typed, locale)
                                : VatCalculator::fromGross(rate, typed, locale);
    QTEST(result.failure, "failure");
    QTEST(result.vat, "vat");
    QTEST(result.other, "other");
}

QTEST_APPLESS_MAIN(TestVatCalculator)
#include "tst_vatcalculator.moc"
