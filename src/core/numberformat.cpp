#include "core/numberformat.h"

#include <cmath>

std::optional<QString> NumberFormat::localForm(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    for (const QLocale::Language language : {QLocale::German, QLocale::English}) {
        // Without grouping the two ways cannot both read a text: "7,500" is
        // German for 7.5, never English for 7500.
        QLocale way(language);
        way.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double value = way.toDouble(trimmed, &ok);
        if (!ok || !std::isfinite(value))
            continue;
        // Character by character, so that every digit written stays as it was.
        QString written;
        for (const QChar c : trimmed) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                written += locale.toString(c.unicode() - '0');
            else if (c == way.decimalPoint())
                written += locale.decimalPoint();
            else if (c == QLatin1Char('-'))
                written += locale.negativeSign();
            else if (c == QLatin1Char('+'))
                written += locale.positiveSign();
            else
                return std::nullopt;
        }
        return written;
    }
    return std::nullopt;
}
