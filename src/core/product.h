#pragma once

#include <QString>

// What the program calls itself and how its own lettering looks.
namespace Product {

inline QString name()
{
    return QStringLiteral("Zelk. 2010");
}

// The family of the program's fonts; Liberation Sans stands in where it is missing.
inline QString fontFamily()
{
    return QStringLiteral("Arial");
}

} // namespace Product
