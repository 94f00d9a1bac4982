#include "core/vatcalculator.h"

#include "core/decimal.h"

namespace {

using VatCalculator::Failure;
using VatCalculator::Result;

// Amounts are shown to the cent.
constexpr int cents = 2;

Result failed(Failure failure)
{
    Result result;
    result.failure = failure;
    return result;
}

// The rate is a percentage and never grouped: "1.000" is no rate.
std::optional<Decimal> readRate(const QString &text, const QLocale &locale)
{
    return Decimal::parse(text, locale, Decimal::Grouping::Refused);
}

std::optional<Decimal> readAmount(const QString &text, const QLocale &locale)
{
    return Decimal::parse(text, locale, Decimal::Grouping::Allowed);
}

// A result is shown only when the calculator can read it again: the next
// Enter may start from it.
Result shown(QString net, QString vat, QString gross, const QLocale &locale)
{
    for (const QString *amount : {&net, &vat, &gross}) {
        if (!readAmount(*amount, locale))
            return failed(Failure::Result);
    }
    return {Failure::None, std::move(net), std::move(vat), std::move(gross)};
}

} // namespace

Result VatCalculator::fromNet(const QString &rateText, const QString &netText, const QLocale &locale)
{
    const auto rate = readRate(rateText, locale);
    if (!rate)
        return failed(Failure::Rate);
    const auto net = readAmount(netText, locale);
    if (!net)
        return failed(Failure::Amount);
    const Decimal vat = (*rate * *net).shifted(-2).rounded(cents);
    // The gross amount is built from the VAT as the user sees it, in cents.
    const Decimal gross = (*net + vat).rounded(cents);
    return shown(netText, vat.toText(cents, locale), gross.toText(cents, locale), locale);
}

Result VatCalculator::fromGross(const QString &rateText, const QString &grossText, const QLocale &locale)
{
    const auto rate = readRate(rateText, locale);
    if (!rate)
        return failed(Failure::Rate);
    const auto gross = readAmount(grossText, locale);
    if (!gross)
        return failed(Failure::Amount);
    const auto net = gross->dividedBy(rate->shifted(-2) + Decimal::whole(1), cents);
    if (!net)
        return failed(Failure::Result);
    // The VAT is what remains of the typed gross amount after the net as shown,
    // so that the two amounts shown add up to the gross to the cent.
    const Decimal vat = (*gross - *net).rounded(cents);
    return shown(net->toText(cents, locale), vat.toText(cents, locale), grossText, locale);
}
