#pragma once

#include <QLocale>
#include <QString>

// The two directions of the calculator, from the texts of the boxes to the
// texts they show afterwards. Both calculator windows call these.
namespace VatCalculator {

enum class Failure {
    None,
    Rate,   // the rate box cannot be read as a number
    Amount, // the box Enter was pressed in cannot be read as a number
    Result  // no result can be shown (a rate of -100, or beyond any number the boxes could read)
};

// The three amounts as the boxes show them: the typed one exactly as typed,
// the two others computed, with two decimals. All empty after a failure.
struct Result
{
    Failure failure = Failure::None;
    QString net;
    QString vat;
    QString gross;
    bool ok() const { return failure == Failure::None; }
};

// Enter in the net box: VAT = rate x net / 100; gross = net + the VAT as shown.
Result fromNet(const QString &rateText, const QString &netText, const QLocale &locale);

// Enter in the gross box: net = gross / (rate / 100 + 1); VAT = gross - the net as shown.
Result fromGross(const QString &rateText, const QString &grossText, const QLocale &locale);

} // namespace VatCalculator
