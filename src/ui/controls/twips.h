#pragma once

#include <QRect>
#include <QSize>

// The windows' fixed layouts are measured in twips; 15 twips are one pixel
// at 96 dpi. Everything here is constexpr, so that a layout can be a table of
// named constants.
namespace Twips {

constexpr int perPixel = 15;
constexpr int px(int twips)
{
    return twips / perPixel;
}
constexpr QRect rect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}
constexpr QSize size(int width, int height)
{
    return {px(width), px(height)};
}

} // namespace Twips
