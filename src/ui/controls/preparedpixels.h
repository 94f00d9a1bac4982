#pragma once

#include <QIcon>
#include <QImage>

#include <array>

// Pictures that the program shows before it has loaded any font or SVG
// support: drawn at build time by packaging/iconrender with the program's own
// controls and artwork, and compiled in as plain pixels.
namespace PreparedPixels {

// The splash window's face at a device pixel ratio of 1, or a null image in a
// build that could not draw it (a cross build, or one without Qt SVG).
QImage splashFace();

// The program's icon at 16, 32, 64 and 128 pixels, the sizes a window manager
// is offered; without prepared pixels the icon drawn from its artwork.
QIcon windowIcon();

} // namespace PreparedPixels

// What packaging/iconrender writes: one picture as 32-bit pixels in the
// machine's byte order, row after row.
struct PreparedPicture
{
    int width;
    int height;
    QImage::Format format;
    const quint32 *pixels;
};

namespace PreparedPictures {
extern const PreparedPicture splashFace;
// 16, 32, 64 and 128 pixels.
extern const std::array<PreparedPicture, 4> windowIcon;
} // namespace PreparedPictures
