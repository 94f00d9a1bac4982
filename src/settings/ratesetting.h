#pragma once

#include "storage/storeresult.h"

#include <QString>

// Where the program keeps its one setting, the VAT rate, and the same place
// in the stores of the 2008 and 2009 versions.
namespace RateSetting {

inline QString application()
{
    return QStringLiteral("Zelk_2010");
}
inline QString oldApplication(int year)
{
    return QStringLiteral("Zelk_%1").arg(year);
}
inline QString section()
{
    return QStringLiteral("Zelk_Satz");
}
inline QString key()
{
    return QStringLiteral("x.Text");
}
// The rate shown while none is stored.
inline QString defaultRate()
{
    return QStringLiteral("19");
}

// The stored rate of this version, or an empty text.
QString read();
StoreResult save(const QString &rate);
// Deletes the whole section; NotFound when there was none.
StoreResult remove();

} // namespace RateSetting
