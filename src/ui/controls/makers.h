#pragma once

#include <Qt>

class CommandButton;
class Frame;
class Label3D;
class Line3D;
class QFont;
class QIcon;
class QLabel;
class QRect;
class QSize;
class QString;
class QWidget;

// The controls every window places the same way: each named (tests and
// assistive tools find it by that name) and put at its place in parent.
namespace Make {

QLabel *label(const QString &name, const QString &text, QWidget *parent, const QRect &geometry,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A label whose text breaks into lines from the top left.
QLabel *wrappedLabel(const QString &name, const QString &text, QWidget *parent, const QRect &geometry);
Label3D *label3D(const QString &name, const QString &caption, const QFont &font, QWidget *parent,
                 const QRect &geometry);
// The program's icon named icon, drawn at size.
QLabel *picture(const QString &name, const QString &accessibleName, const QIcon &icon, const QSize &size,
                QWidget *parent, const QRect &geometry);
Frame *frame(const QString &name, const QString &caption, QWidget *parent, const QRect &geometry);
Line3D *line(const QString &name, QWidget *parent, const QRect &geometry);
// A link: shown in blue, flat on its window, named by what it shows and
// described by tip. What a click opens is the caller's.
CommandButton *link(const QString &name, const QString &shown, const QString &tip, QWidget *parent,
                    const QRect &geometry);
// A window's "always on top" switch ("alwaysOnTopButton"), unchecked; what
// it does is WindowPlacement::offerTopmost's.
CommandButton *onTopToggle(const QString &caption, QWidget *parent, const QRect &geometry);

} // namespace Make
