#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The calculator's two number conversions. The locale is always passed in:
// the windows hand over QLocale::system(), tests a fixed locale.
class NumberFormat
{
public:
    // Reads a number the way the user's locale writes it (decimal and grouping
    // separators, blanks around it, a leading minus). Empty, unreadable and
    // non-finite texts give no value.
    static std::optional<double> parse(const QString &text, const QLocale &locale);

    // A number written the German or the English way ("7,5", "7.5", " -16 ";
    // no grouping, no exponent), rewritten character for character (sign,
    // digits, decimal separator) as the locale writes them. Nothing for any
    // other text.
    static std::optional<QString> localForm(const QString &text, const QLocale &locale);

    // Writes "0.00": 15 significant digits first, then rounded at the second
    // decimal with halves away from zero; no grouping separators, a plain "-"
    // for negative amounts. Empty for infinity, not-a-number and the values
    // whose 15 digits lie beyond the largest double.
    static QString twoDecimals(double value, const QLocale &locale);
};
