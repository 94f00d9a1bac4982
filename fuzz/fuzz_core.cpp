// Feeds arbitrary texts, numbers and locales to the calculator's core: no
// crash, no undefined behaviour, and every formatted amount reads back.
#include "core/numberformat.h"
#include "core/osdescription.h"
#include "core/vatcalculator.h"

#include <QByteArray>
#include <QLocale>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const QLocale &pickLocale(uint8_t selector)
{
    static const QLocale locales[] = {
        QLocale(QLocale::German, QLocale::Germany),       QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),   QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Hindi, QLocale::India),
    };
    return locales[selector % (sizeof(locales) / sizeof(locales[0]))];
}

void mustReadBack(const QString &text, const QLocale &locale)
{
    if (text.isEmpty())
        return; // "not a number"
    if (!NumberFormat::parse(text, locale))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QLocale &locale = pickLocale(data[0]);
    const uint8_t mode = data[1];
    data += 2;
    size -= 2;

    switch (mode % 3) {
    case 0: { // any double through the format
        if (size < sizeof(double))
            return 0;
        double value;
        std::memcpy(&value, data, sizeof value);
        const QString text = NumberFormat::twoDecimals(value, locale);
        if (!text.isEmpty() ? !std::isfinite(value) : std::fabs(value) < 1e308)
            std::abort();
        mustReadBack(text, locale);
        break;
    }
    case 1: { // rate and amount texts through both directions
        const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
        const qsizetype split = bytes.indexOf('\n');
        const QString rate = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
        const QString amount = QString::fromUtf8(split < 0 ? QByteArray() : bytes.mid(split + 1));
        for (const auto &result :
             {VatCalculator::fromNet(rate, amount, locale), VatCalculator::fromGross(rate, amount, locale)}) {
            if (result.ok() == (result.vat.isEmpty() || result.other.isEmpty()))
                std::abort();
            mustReadBack(result.vat, locale);
            mustReadBack(result.other, locale);
        }
        if (const auto parsed = NumberFormat::parse(rate, locale))
            mustReadBack(NumberFormat::twoDecimals(*parsed, locale), locale);
        break;
    }
    case 2: { // the operating-system description
        if (size < 12)
            return 0;
        quint32 numbers[3];
        std::memcpy(numbers, data, sizeof numbers);
        const QByteArray field(reinterpret_cast<const char *>(data + 12), qsizetype(size - 12));
        if (!OsDescription::describe(numbers[0], numbers[1], numbers[2], field).endsWith(QLatin1Char(')')))
            std::abort();
        break;
    }
    }
    return 0;
}
