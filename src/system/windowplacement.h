#pragma once

class QAbstractButton;
class QWidget;

// Where a window lies and how it stacks.
namespace WindowPlacement {

// Keeps the window above all others, or returns it to normal stacking,
// without moving or resizing it.
void setTopmost(QWidget *window, bool topmost);
// False where the desktop gives programs no way to keep a window on top
// (a native Wayland connection).
bool canKeepOnTop();
// Makes toggle the switch that keeps window on top while it is checked
// (also when an assistive tool toggles it). Where that is not possible the
// switch says so honestly: it is disabled, and its tooltip tells why.
void offerTopmost(QAbstractButton *toggle, QWidget *window);

// Centres the window, frame included, on the available area of the screen
// that shows it, and keeps it wholly on that area (the title bar first
// where the screen is too small). The window manager adds the frame only
// once the window is on screen, so the window is placed again then.
void centre(QWidget *window);

// Moves the window just enough to lie fully on the available screen area;
// a window larger than that area keeps its title bar and left edge on it.
void keepOnScreen(QWidget *window);

} // namespace WindowPlacement
