#pragma once

#include <QtGlobal>

class QColor;
class QFont;

// What every window of the program shares, set once for the application
// before the first window is made.
namespace ProgramLook {

// The program's lettering, its balloon colours, and Qt's own texts in German.
void apply();

// The program's lettering at pointSize: Arial, or its metric twin Liberation
// Sans where Arial is missing.
QFont font(qreal pointSize, bool bold = false, bool italic = false);

// The colours the window designs share.
// Frame captions and the words set apart in blue.
QColor captionBlue();
// The shadow under the 3-D labels.
QColor labelShadow();
// The background of a box with the keyboard focus, and the lighter one of
// the compact window's amounts.
QColor focusYellow();
QColor lightFocusYellow();

} // namespace ProgramLook
