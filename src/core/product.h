#pragma once

#include <QString>

// What the program calls itself.
namespace Product {

inline QString name()
{
    return QStringLiteral("Zelk. 2010");
}

} // namespace Product
