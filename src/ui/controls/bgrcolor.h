#pragma once

#include <QColor>

// Colours of the window designs are written blue-green-red (0xFF0000 is blue).
class BgrColor
{
public:
    static QColor toColor(quint32 bgr);
};
