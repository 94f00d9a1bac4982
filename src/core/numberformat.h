#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace NumberFormat {

// A number written the German or the English way ("7,5", "7.5", " -16 ";
// no grouping, no exponent), rewritten character for character (sign,
// digits, decimal separator) as the locale writes them. Nothing for any
// other text. A stored rate is read with it, whichever locale stored it.
std::optional<QString> localForm(const QString &text, const QLocale &locale);

} // namespace NumberFormat
