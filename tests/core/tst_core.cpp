#include "core/numberformat.h"
#include "core/osdescription.h"
#include "core/vatcalculator.h"
#include "core/versiontext.h"
#include "support/table.h"

using namespace Qt::StringLiterals;

using Failure = VatCalculator::Failure;
const QLocale german(QLocale::German, QLocale::Germany);

struct Calculation
{
    bool fromNet;
    QString rate;
    QString typed;
    Failure failure;
    QString vat;
    QString other; // the gross from the net, the net from the gross
    QLocale locale = german;
};

struct LocalForm
{
    QString text;
    QLocale locale;
    QString written; // "-": no number
    double value;    // what the locale reads back
};

struct System
{
    uint platform;
    uint major;
    uint minor;
    QByteArray servicePack; // padded to the 128 bytes of the system's field
    QString shown;
};

class TestCore : public QObject
{
    Q_OBJECT

private slots:
    void calculate_data()
    {
        // clang-format off
        table<Calculation>({
            {"net 100", {true, "19", "100", Failure::None, "19,00", "119,00"}},
            {"gross 119", {false, "19", "119", Failure::None, "19,00", "100,00"}},
            // Net and VAT as shown add up to the typed gross.
            {"gross 100", {false, "19", "100", Failure::None, "15,97", "84,03"}},
            // The gross adds the VAT as shown, not the unrounded one.
            {"net 10,555", {true, "19", "10,555", Failure::None, "2,01", "12,57"}},
            {"rate 0", {true, "0", "50", Failure::None, "0,00", "50,00"}},
            {"rate with comma", {true, "7,5", "100", Failure::None, "7,50", "107,50"}},
            {"negative net", {true, "19", "-100", Failure::None, "-19,00", "-119,00"}},
            {"grouped gross", {false, "19", "1.190,00", Failure::None, "190,00", "1000,00"}},
            {"C locale", {true, "19", "10.555", Failure::None, "2.01", "12.57", QLocale::c()}},
            // Halves away from zero, decided on the digits, never on a binary fraction.
            {"half a cent", {true, "0", "1,005", Failure::None, "0,00", "1,01"}},
            {"negative half a cent", {true, "0", "-1,005", Failure::None, "0,00", "-1,01"}},
            {"just below half", {true, "0", "1,00499999999999", Failure::None, "0,00", "1,00"}},
            {"carried, never grouped", {true, "0", "999,995", Failure::None, "0,00", "1000,00"}},
            {"never -0,00", {true, "0", "-0,004", Failure::None, "0,00", "0,00"}},
            {"a plain minus", {true, "0", u"\u22121,5"_s, Failure::None, "0,00", "-1,50", QLocale(QLocale::Swedish, QLocale::Sweden)}},
            // Exact to the cent at the top of what the boxes take.
            {"net of 14 digits", {true, "19", "99999999999999", Failure::None, "18999999999999,81", "118999999999998,81"}},
            {"net of 15 digits", {true, "19", "999999999999999", Failure::None, "189999999999999,81", "1189999999999998,81"}},
            {"gross of 15 digits", {false, "19", "999999999999999", Failure::None, "159663865546218,33", "840336134453780,67"}},
            {"gross of 15 digits at 16,5", {false, "16,5", "999999999999999", Failure::None, "141630901287553,51", "858369098712445,49"}},
            // A failure shows nothing.
            {"empty rate", {true, "", "100", Failure::Rate, "", ""}},
            {"fraction rate", {false, "1/2", "100", Failure::Rate, "", ""}},
            {"point rate in German", {true, "10.5", "100", Failure::Rate, "", ""}},
            {"a rate is never grouped", {true, "1.000", "100", Failure::Rate, "", ""}},
            {"fraction net", {true, "19", "1/2", Failure::Amount, "", ""}},
            {"lone minus gross", {false, "19", "-", Failure::Amount, "", ""}},
            {"rate -100 gross", {false, "-100", "100", Failure::Result, "", ""}},
            {"beyond any number", {true, "1e300", "1e300", Failure::Result, "", ""}},
        });
        // clang-format on
    }
    void calculate()
    {
        QFETCH(Calculation, row);
        const auto result = row.fromNet ? VatCalculator::fromNet(row.rate, row.typed, row.locale)
                                        : VatCalculator::fromGross(row.rate, row.typed, row.locale);
        QCOMPARE(result.failure, row.failure);
        QCOMPARE(result.vat, row.vat);
        QCOMPARE(row.fromNet ? result.gross : result.net, row.other);
        // The typed amount stays exactly as typed.
        QCOMPARE(row.fromNet ? result.net : result.gross, result.ok() ? row.typed : QString());
    }

    void localForm_data()
    {
        // clang-format off
        table<LocalForm>({
            {"French", {"7.5", QLocale(QLocale::French, QLocale::France), "7,5", 7.5}},
            {"Swiss point", {"7,5", QLocale(QLocale::German, QLocale::Switzerland), "7.5", 7.5}},
            {"English", {"16,5", QLocale(QLocale::English, QLocale::UnitedStates), "16.5", 16.5}},
            {"Swedish minus", {"-2.5", QLocale(QLocale::Swedish, QLocale::Sweden), u"\u22122,5"_s, -2.5}},
            {"Arabic digits", {"17,5", QLocale(QLocale::Arabic, QLocale::Egypt), u"\u0661\u0667\u066b\u0665"_s, 17.5}},
            {"plus", {"+3", QLocale::c(), "+3", 3.0}},
            // Read as German grouping it would be 7500; no way reads grouping here.
            {"point before three digits", {"7.500", german, "7,500", 7.5}},
            {"infinity", {"inf", german, "-", 0}},
            {"exponent", {"1e2", german, "-", 0}},
            {"both separators", {"1.000,5", german, "-", 0}},
            {"percent", {"16 %", german, "-", 0}},
        });
        // clang-format on
    }
    void localForm()
    {
        QFETCH(LocalForm, row);
        const std::optional<QString> written = NumberFormat::localForm(row.text, row.locale);
        QCOMPARE(written.value_or(u"-"_s), row.written);
        if (written)
            QCOMPARE(row.locale.toDouble(*written), row.value);
    }

    void describeSystem_data()
    {
        // clang-format off
        table<System>({
            {"XP SP3", {2, 5, 1, "Service Pack 3", "Windows NT5.1 (WinXP) ( Version 5.1, Service Pack 3 )"}},
            {"6.1", {2, 6, 1, "", "Windows NT ( Version 6.1, )"}},
            {"ME", {1, 4, 90, " ", "Windows ME ( Version 4.90,   )"}},
            {"unknown minor", {1, 4, 3, "", "Windows (unbekannt) ( Version 4.3, )"}},
            {"16 bit", {0, 3, 11, "", "Windows 16bit mit 32bit-Erweiterung ( Version 3.11, )"}},
            {"platform 3", {3, 6, 1, "Debian GNU/Linux 12 (bookworm)", "Betriebssystem unbekannt ( Version 6.1, Debian GNU/Linux 12 (bookworm) )"}},
            {"two texts", {2, 5, 1, QByteArray("SP3\0\0Beta", 9), "Windows NT5.1 (WinXP) ( Version 5.1, SP3 Beta )"}},
        });
        // clang-format on
    }
    void describeSystem()
    {
        QFETCH(System, row);
        row.servicePack.resize(128, '\0');
        QCOMPARE(OsDescription::describe(row.platform, row.major, row.minor, row.servicePack), row.shown);
    }

    // The project's version as CMake knows it, every part of it.
    void versionText() { QCOMPARE(VersionText::text(), QStringLiteral("Version " ZELK_PROJECT_VERSION)); }
};

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
