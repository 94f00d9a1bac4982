#include "ui/controls/twips.h"

QRect Twips::rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QSize Twips::size(int width, int height)
{
    return QSize(px(width), px(height));
}
