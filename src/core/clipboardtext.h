#pragma once

#include <QString>

// Texts that the program puts on the clipboard.
namespace ClipboardText {

// "Alles kopieren": three labelled lines, each ended by CR LF.
QString allAmounts(const QString &net, const QString &vat, const QString &rate, const QString &gross);

} // namespace ClipboardText
