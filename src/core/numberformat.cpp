#include "core/numberformat.h"

#include <cmath>

std::optional<double> NumberFormat::parse(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

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

QString NumberFormat::twoDecimals(double value, const QLocale &locale)
{
    // The few doubles next to the largest one round to a 15-digit number that
    // no double can hold; they are as unusable as infinity.
    const double largestUsable = 1.797693134862315e308;
    if (!std::isfinite(value) || std::fabs(value) >= largestUsable)
        return {};

    // The shortest exact route to "15 significant digits": scientific notation
    // with 14 digits after the point. The rounding at the cents is then done on
    // the decimal digits themselves, so no binary fraction can tip it.
    const QString sci = QString::number(std::fabs(value), 'e', 14);
    const qsizetype ePos = sci.indexOf(QLatin1Char('e'));
    QString digits = sci.left(ePos);
    digits.remove(QLatin1Char('.'));
    const int exponent = sci.mid(ePos + 1).toInt();

    // digits holds d0 d1 ... d14 meaning d0.d1d2... x 10^exponent.
    // Build the integer part and at least three decimals.
    QString intPart;
    QString fracPart;
    if (exponent >= 0) {
        const int intLen = exponent + 1;
        if (digits.size() >= intLen) {
            intPart = digits.left(intLen);
            fracPart = digits.mid(intLen);
        } else {
            intPart = digits + QString(intLen - digits.size(), QLatin1Char('0'));
        }
    } else {
        intPart = QStringLiteral("0");
        fracPart = QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    while (fracPart.size() < 3)
        fracPart += QLatin1Char('0');

    QString kept = intPart + fracPart.left(2);
    if (fracPart.at(2) >= QLatin1Char('5')) {
        // Add one cent to the decimal string, carrying to the left.
        qsizetype i = kept.size() - 1;
        while (i >= 0) {
            if (kept.at(i) == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
                --i;
            } else {
                kept[i] = QChar(kept.at(i).unicode() + 1);
                break;
            }
        }
        if (i < 0)
            kept.prepend(QLatin1Char('1'));
    }

    const QString whole = kept.left(kept.size() - 2);
    const QString cents = kept.right(2);
    const bool isZero = whole.count(QLatin1Char('0')) == whole.size() && cents == QLatin1String("00");
    // A value that rounds to nothing is shown as plain zero, never as "-0,00".
    // The plain "-" reads back in every locale; some locales' own signs
    // (Arabic with its direction mark) do not.
    const QString sign = (value < 0 && !isZero) ? QStringLiteral("-") : QString();
    return sign + whole + locale.decimalPoint() + cents;
}
