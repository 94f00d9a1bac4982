#pragma once

#include <QRect>

// Window designs are given in twips; 15 twips are one pixel at 96 dpi.
class Twips
{
public:
    static constexpr int perPixel = 15;
    static constexpr int px(int twips) { return twips / perPixel; }
    static QRect rect(int left, int top, int width, int height);
    static QSize size(int width, int height);
};
