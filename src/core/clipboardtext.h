#pragma once

#include <QString>

// Texts that the program puts on the clipboard.
class ClipboardText
{
public:
    // "Alles kopieren": three labelled lines, each ended by CR LF.
    static QString allAmounts(const QString &net, const QString &vat, const QString &rate,
                              const QString &gross);
};
