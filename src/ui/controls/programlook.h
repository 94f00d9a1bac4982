#pragma once

#include <QtGlobal>

class QFont;

// What every window of the program shares, set once for the application
// before the first window is made.
namespace ProgramLook {

// The program's lettering, its balloon colours, and Qt's own texts in German.
void apply();

// The program's lettering at pointSize: Arial, or its metric twin Liberation
// Sans where Arial is missing.
QFont font(qreal pointSize, bool bold = false, bool italic = false);

} // namespace ProgramLook
