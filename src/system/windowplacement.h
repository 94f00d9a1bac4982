#pragma once

class QAbstractButton;
class QWidget;

class WindowPlacement
{
public:
    // Keeps the window above all others, or returns it to normal stacking,
    // without moving or resizing it.
    static void setTopmost(QWidget *window, bool topmost);
    static bool isTopmost(const QWidget *window);
    // False where the desktop gives programs no way to keep a window on top
    // (a native Wayland connection).
    static bool canKeepOnTop();
    // A switch that keeps its window on top says so honestly where that is
    // not possible: it is disabled, and its tooltip tells why.
    static void offerTopmost(QAbstractButton *toggle);

    // Centres the window, frame included, on the available area of the screen
    // that shows it, and keeps it wholly on that area (the title bar first
    // where the screen is too small). The window manager adds the frame only
    // once the window is on screen, so the window is placed again then.
    static void centre(QWidget *window);

    // Moves the window just enough to lie fully on the available screen area;
    // a window larger than that area keeps its title bar and left edge on it.
    static void keepOnScreen(QWidget *window);

    // Brings the window to the front with the keyboard focus. A window that is
    // being mapped again takes no activation until it is on screen: it is
    // asked again until it is active, for at most a second.
    static void activate(QWidget *window);

    // For windows without a minimise button and without a task-bar button: a
    // window manager that minimises them anyway would leave nothing to click,
    // so such a window shows itself again at once, with its modal window on top.
    static void keepReachable(QWidget *window);

    // A Wayland client hears of a minimise only when its own window
    // decoration asks for one, and cannot undo one: a window without a
    // minimise button of its own that the decoration minimises anyway (a
    // modal window, the compact window, the wizard) would leave nothing to
    // click. Such windows are mapped anew at once. Once per program, on a
    // native Wayland connection.
    static void keepWaylandWindowsReachable();
};
