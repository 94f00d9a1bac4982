#pragma once

// What every window of the program shares, set once for the application
// before the first window is made.
namespace ProgramLook {

// The program's lettering and its balloon colours.
void apply();

} // namespace ProgramLook
