#include "core/vatcalculator.h"

#include "core/numberformat.h"

namespace {

// Every step formats its amount; one that cannot be shown (infinite, not a
// number, beyond the largest double) comes back empty and fails the whole.
VatCalculator::Result failed(VatCalculator::Failure failure)
{
    VatCalculator::Result result;
    result.failure = failure;
    return result;
}

} // namespace

VatCalculator::Result VatCalculator::fromNet(const QString &rateText, const QString &netText,
                                             const QLocale &locale)
{
    const auto rate = NumberFormat::parse(rateText, locale);
    if (!rate)
        return failed(Failure::Rate);
    const auto net = NumberFormat::parse(netText, locale);
    if (!net)
        return failed(Failure::Amount);

    Result result;
    result.vat = NumberFormat::twoDecimals((*rate * *net) / 100, locale);
    // The gross amount is built from the VAT as the user sees it, in cents.
    const auto shownVat = NumberFormat::parse(result.vat, locale);
    if (!shownVat)
        return failed(Failure::Result);
    result.other = NumberFormat::twoDecimals(*net + *shownVat, locale);
    return result.other.isEmpty() ? failed(Failure::Result) : result;
}

VatCalculator::Result VatCalculator::fromGross(const QString &rateText, const QString &grossText,
                                               const QLocale &locale)
{
    const auto rate = NumberFormat::parse(rateText, locale);
    if (!rate)
        return failed(Failure::Rate);
    const auto gross = NumberFormat::parse(grossText, locale);
    if (!gross)
        return failed(Failure::Amount);

    Result result;
    result.other = NumberFormat::twoDecimals(*gross / (*rate / 100 + 1), locale);
    // The VAT is what remains of the typed gross amount after the net as shown,
    // so that the two displayed amounts add up to the gross to the cent.
    const auto shownNet = NumberFormat::parse(result.other, locale);
    if (!shownNet)
        return failed(Failure::Result);
    result.vat = NumberFormat::twoDecimals(*gross - *shownNet, locale);
    return result.vat.isEmpty() ? failed(Failure::Result) : result;
}
