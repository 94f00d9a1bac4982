#include "core/vatcalculator.h"

#include "core/numberformat.h"

#include <cmath>

namespace {

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

    const double vat = (*rate * *net) / 100;
    if (!std::isfinite(vat))
        return failed(Failure::Result);

    Result result;
    result.vat = NumberFormat::twoDecimals(vat, locale);
    // The gross amount is built from the VAT as the user sees it, in cents.
    const auto shownVat = NumberFormat::parse(result.vat, locale);
    const double gross = *net + shownVat.value_or(0.0);
    if (!shownVat || !std::isfinite(gross))
        return failed(Failure::Result);
    result.other = NumberFormat::twoDecimals(gross, locale);
    return result;
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

    const double factor = *rate / 100 + 1;
    const double net = *gross / factor;
    if (!std::isfinite(net))
        return failed(Failure::Result);

    Result result;
    result.other = NumberFormat::twoDecimals(net, locale);
    // The VAT is what remains of the typed gross amount after the net as shown,
    // so that the two displayed amounts add up to the gross to the cent.
    const auto shownNet = NumberFormat::parse(result.other, locale);
    const double vat = *gross - shownNet.value_or(0.0);
    if (!shownNet || !std::isfinite(vat))
        return failed(Failure::Result);
    result.vat = NumberFormat::twoDecimals(vat, locale);
    return result;
}
