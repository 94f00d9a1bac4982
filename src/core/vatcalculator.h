#pragma once

#include <QLocale>
#include <QString>

// The two directions of the calculator, from the texts of the boxes to the
// texts of the two boxes that are rewritten. Both calculator windows call these.
class VatCalculator
{
public:
    enum class Failure {
        None,
        Rate,   // the rate box cannot be read as a number
        Amount, // the box Enter was pressed in cannot be read as a number
        Result  // the result is not a finite number (for example a rate of -100)
    };

    struct Result
    {
        Failure failure = Failure::None;
        QString vat;   // text for zelkanteil
        QString other; // net direction: text for brutto; gross direction: text for netto
        bool ok() const { return failure == Failure::None; }
    };

    // Enter in netto: VAT = (rate x net) / 100; gross = net + the VAT as displayed.
    static Result fromNet(const QString &rateText, const QString &netText, const QLocale &locale);

    // Enter in brutto: net = gross / (rate / 100 + 1); VAT = gross - the net as displayed.
    static Result fromGross(const QString &rateText, const QString &grossText, const QLocale &locale);
};
