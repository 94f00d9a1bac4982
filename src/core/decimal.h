#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <string>

// A number exactly as written: a whole number of decimal digits times a power
// of ten. Amounts are computed with these rather than with binary fractions,
// so that every amount the boxes take gives exact cents.
class Decimal
{
public:
    enum class Grouping { Allowed, Refused };

    Decimal() = default;
    static Decimal whole(int value);

    // Reads text the way the locale writes numbers: blanks around it, a sign,
    // the decimal separator, an exponent, and (where allowed) the group
    // separator. Nothing for anything else, and for what the locale cannot
    // read either (beyond the largest double).
    static std::optional<Decimal> parse(const QString &text, const QLocale &locale, Grouping grouping);

    Decimal operator+(const Decimal &other) const;
    Decimal operator-(const Decimal &other) const;
    Decimal operator*(const Decimal &other) const;
    // This times ten to the power.
    Decimal shifted(int power) const;
    // Rounded to places decimals, halves away from zero.
    Decimal rounded(int places) const;
    // The quotient rounded to places decimals, halves away from zero; nothing
    // for a divisor of zero.
    std::optional<Decimal> dividedBy(const Decimal &divisor, int places) const;
    bool isZero() const { return m_digits.empty(); }

    // "0.00" for two places: rounded, at least one digit before the locale's
    // decimal separator, no grouping, a plain "-" for a negative amount (it
    // reads back in every locale), never "-0,00".
    QString toText(int places, const QLocale &locale) const;

private:
    Decimal(bool negative, const std::string &digits, int exponent);

    bool m_negative = false;
    // Most significant first, no leading zeros; empty for zero.
    std::string m_digits;
    // The value is m_digits times ten to this power.
    int m_exponent = 0;
};
