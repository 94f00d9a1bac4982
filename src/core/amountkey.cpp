#include "core/amountkey.h"

bool AmountKey::isAmountChar(QChar c)
{
    // , - . / and the digits lie together in the character table.
    return c >= QLatin1Char(',') && c <= QLatin1Char('9');
}
