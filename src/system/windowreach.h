#pragma once

class QWidget;

// That the user can always reach the program's windows: brought back from
// minimised, shown, and given the keyboard.
namespace WindowReach {

// Un-minimises and shows the window, and the modal window open over the
// program if there is one, then activates the modal window or this one.
void restore(QWidget *window);

// Brings the window to the front with the keyboard focus. A window that is
// being mapped again takes no activation until it is on screen: it is asked
// again until it is active, for at most a second.
void activate(QWidget *window);

// For windows without a minimise button and without a task-bar button: a
// window manager that minimises them anyway would leave nothing to click,
// so such a window is restored at once, with its modal window on top.
void keepReachable(QWidget *window);

// A Wayland client hears of a minimise only when its own window decoration
// asks for one, and cannot undo one: a window without a minimise button of
// its own that the decoration minimises anyway (a modal window, the compact
// window, the wizard) would leave nothing to click. Such windows are mapped
// anew at once. Once per program, on a native Wayland connection.
void keepWaylandWindowsReachable();

} // namespace WindowReach
