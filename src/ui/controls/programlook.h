#pragma once

// What every window of the program shares, set once for the application
// before the first window is made.
namespace ProgramLook {

// The program's lettering, its balloon colours, and Qt's own texts in German.
void apply();

} // namespace ProgramLook
