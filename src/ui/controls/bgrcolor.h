#pragma once

#include <QColor>

// Colours of the window designs are written blue-green-red (0xFF0000 is blue).
namespace BgrColor {

QColor toColor(quint32 bgr);

} // namespace BgrColor
