#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

// What the splash window shows: name, year, picture, a line and the version on
// white. The running program shows it as a picture prepared at build time
// (packaging/iconrender draws it with build()), so that its first frame needs
// no font and no SVG; where no prepared picture fits the screen it is built
// live from the program's controls.
namespace SplashFace {

QSize size();
// The name a screen reader reads for the whole window.
QString accessibleName();

// Gives the window its white background and the controls that draw the face.
void build(QWidget *window);

// Gives the window, whose face is the picture face, children that carry each
// part's name and place for assistive tools and draw the face unchanged.
void nameParts(QWidget *window, const QImage &face);

} // namespace SplashFace
