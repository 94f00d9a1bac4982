#include "ui/controls/bgrcolor.h"

namespace {

constexpr quint32 channelMask = 0xFF;
constexpr int greenShift = 8;
constexpr int blueShift = 16;

} // namespace

QColor BgrColor::toColor(quint32 bgr)
{
    return {int(bgr & channelMask), int((bgr >> greenShift) & channelMask),
            int((bgr >> blueShift) & channelMask)};
}
