#include "core/clipboardtext.h"

QString ClipboardText::allAmounts(const QString &net, const QString &vat, const QString &rate,
                                  const QString &gross)
{
    const QString crlf = QStringLiteral("\r\n");
    return net + QStringLiteral(" (Netto)") + crlf + vat + QStringLiteral(" (") + rate + QStringLiteral(" %)")
        + crlf + gross + QStringLiteral(" (Brutto)") + crlf;
}
