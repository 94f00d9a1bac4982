#include "core/decimal.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Whole numbers as strings of decimal digits, most significant first, no
// leading zeros ("" is zero). The amounts are short, so the school methods do.
using Digits = std::string;
constexpr int base = 10;

Digits trimmed(const Digits &digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == Digits::npos ? Digits() : digits.substr(first);
}

int compare(const Digits &a, const Digits &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

Digits add(const Digits &a, const Digits &b)
{
    Digits sum;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry != 0; ++i) {
        const int da = i < a.size() ? a[a.size() - 1 - i] - '0' : 0;
        const int db = i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
        const int digit = da + db + carry;
        sum.push_back(char('0' + digit % base));
        carry = digit / base;
    }
    std::reverse(sum.begin(), sum.end());
    return trimmed(sum);
}

// a - b for a >= b.
Digits subtract(const Digits &a, const Digits &b)
{
    Digits difference;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int digit = (a[a.size() - 1 - i] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(char('0' + digit + base * borrow));
    }
    std::reverse(difference.begin(), difference.end());
    return trimmed(difference);
}

Digits multiply(const Digits &a, const Digits &b)
{
    if (a.empty() || b.empty())
        return {};
    std::string product(a.size() + b.size(), 0);
    for (std::size_t i = a.size(); i-- > 0;) {
        int carry = 0;
        for (std::size_t j = b.size(); j-- > 0;) {
            const int digit = product[i + j + 1] + (a[i] - '0') * (b[j] - '0') + carry;
            product[i + j + 1] = char(digit % base);
            carry = digit / base;
        }
        product[i] = char(product[i] + carry);
    }
    for (char &digit : product)
        digit = char(digit + '0');
    return trimmed(product);
}

// Long division: the quotient, and the remainder in remainder.
Digits divide(const Digits &dividend, const Digits &divisor, Digits &remainder)
{
    Digits quotient;
    remainder.clear();
    for (const char digit : dividend) {
        remainder.push_back(digit);
        remainder = trimmed(remainder);
        char times = '0';
        while (compare(remainder, divisor) >= 0) {
            remainder = subtract(remainder, divisor);
            ++times;
        }
        quotient.push_back(times);
    }
    return trimmed(quotient);
}

Digits zeros(int count)
{
    Digits digits;
    digits.assign(std::size_t(std::max(count, 0)), '0');
    return digits;
}

// The number the locale reads in text, written with the C locale's characters
// ("-", digits, "." and "e"), groups left out; nothing for a character that
// is none of these (such as the letters of "inf").
std::optional<std::string> cForm(const QString &text, const QLocale &locale)
{
    const QStringList marks{locale.decimalPoint(),  locale.exponential(),  locale.negativeSign(),
                            QStringLiteral("-"),    locale.positiveSign(), QStringLiteral("+"),
                            locale.groupSeparator()};
    const std::array<char, 7> written = {'.', 'e', '-', '-', '+', '+', '\0'};
    std::string form;
    for (qsizetype at = 0; at < text.size();) {
        if (text.at(at).isDigit()) {
            form.push_back(char('0' + text.at(at++).digitValue()));
            continue;
        }
        const auto mark = std::find_if(marks.begin(), marks.end(), [&](const QString &each) {
            return !each.isEmpty() && QStringView(text).mid(at).startsWith(each, Qt::CaseInsensitive);
        });
        if (mark == marks.end())
            return std::nullopt;
        const char c = written[mark - marks.begin()];
        if (c != '\0' && c != '+')
            form.push_back(c);
        at += mark->size();
    }
    return form;
}

} // namespace

Decimal::Decimal(bool negative, const std::string &digits, int exponent)
    : m_negative(negative)
    , m_digits(trimmed(digits))
    , m_exponent(exponent)
{
    if (m_digits.empty())
        *this = Decimal();
}

Decimal Decimal::whole(int value)
{
    return {value < 0, std::to_string(value < 0 ? -qint64(value) : qint64(value)), 0};
}

std::optional<Decimal> Decimal::parse(const QString &text, const QLocale &locale, Grouping grouping)
{
    const QString number = text.trimmed();
    QLocale reader(locale);
    if (grouping == Grouping::Refused)
        reader.setNumberOptions(reader.numberOptions() | QLocale::RejectGroupSeparator);
    bool readable = false;
    reader.toDouble(number, &readable);
    if (number.isEmpty() || !readable)
        return std::nullopt;
    // The locale judged the form (where signs and separators may stand); what
    // is left is to take its characters exactly, written the C way.
    const std::optional<std::string> written = cForm(number, locale);
    if (!written || written->empty())
        return std::nullopt;
    const std::size_t mark = written->find('e');
    const std::string mantissa = written->substr(0, mark);
    const std::size_t start = mantissa[0] == '-' ? 1 : 0;
    const std::size_t point = mantissa.find('.');
    const std::string whole = mantissa.substr(start, point == std::string::npos ? point : point - start);
    const std::string digits = whole + (point == std::string::npos ? "" : mantissa.substr(point + 1));
    const int fractionDigits = point == std::string::npos ? 0 : int(mantissa.size() - point - 1);
    // The locale reads no number beyond the doubles' range of about 1e-308 to
    // 1e308; beyond that lie only zeros written long and numbers far below a cent.
    const int widest = 1000;
    const std::string exponent = mark == std::string::npos ? "0" : written->substr(mark + 1);
    const std::size_t exponentStart = exponent.find_first_not_of("-0");
    const std::string exponentDigits
        = exponentStart == std::string::npos ? "0" : exponent.substr(exponentStart);
    if (exponentDigits.size() > std::to_string(widest).size() || std::stoi(exponentDigits) > widest
        || fractionDigits > widest)
        return std::nullopt;
    const int power = (exponent[0] == '-' ? -1 : 1) * std::stoi(exponentDigits) - fractionDigits;
    return Decimal{start == 1, digits, power};
}

Decimal Decimal::operator+(const Decimal &other) const
{
    const int exponent = std::min(m_exponent, other.m_exponent);
    const Digits a = trimmed(m_digits + zeros(m_exponent - exponent));
    const Digits b = trimmed(other.m_digits + zeros(other.m_exponent - exponent));
    if (m_negative == other.m_negative)
        return {m_negative, add(a, b), exponent};
    // Opposite signs: the larger magnitude keeps its sign.
    if (compare(a, b) >= 0)
        return {m_negative, subtract(a, b), exponent};
    return {other.m_negative, subtract(b, a), exponent};
}

Decimal Decimal::operator-(const Decimal &other) const
{
    return *this + Decimal(!other.m_negative, other.m_digits, other.m_exponent);
}

Decimal Decimal::operator*(const Decimal &other) const
{
    return {m_negative != other.m_negative, multiply(m_digits, other.m_digits),
            m_exponent + other.m_exponent};
}

Decimal Decimal::shifted(int power) const
{
    return {m_negative, m_digits, m_exponent + power};
}

Decimal Decimal::rounded(int places) const
{
    const int dropped = -places - m_exponent;
    if (dropped <= 0)
        return *this;
    const auto size = int(m_digits.size());
    Digits kept = dropped < size ? m_digits.substr(0, std::size_t(size - dropped)) : Digits();
    // The first digit dropped decides; beyond the digits there are only zeros.
    const char first = dropped <= size ? m_digits[std::size_t(size - dropped)] : '0';
    if (first >= '5')
        kept = add(kept, "1");
    return {m_negative, kept, -places};
}

std::optional<Decimal> Decimal::dividedBy(const Decimal &divisor, int places) const
{
    if (divisor.isZero())
        return std::nullopt;
    // this / divisor * 10^places as a quotient of whole numbers.
    const int shift = m_exponent - divisor.m_exponent + places;
    const Digits dividend = m_digits + zeros(shift);
    const Digits by = divisor.m_digits + zeros(-shift);
    Digits remainder;
    Digits quotient = divide(dividend, by, remainder);
    if (compare(add(remainder, remainder), by) >= 0)
        quotient = add(quotient, "1");
    return Decimal{m_negative != divisor.m_negative, quotient, -places};
}

QString Decimal::toText(int places, const QLocale &locale) const
{
    const Decimal shown = rounded(places);
    Digits digits = shown.m_digits + zeros(shown.m_exponent + places);
    if (digits.size() <= std::size_t(places))
        digits = zeros(places + 1 - int(digits.size())) + digits;
    const std::size_t whole = digits.size() - std::size_t(places);
    QString text = QString::fromLatin1(digits.substr(0, whole));
    if (places > 0)
        text += locale.decimalPoint() + QString::fromLatin1(digits.substr(whole));
    return shown.m_negative ? QLatin1Char('-') + text : text;
}
