#pragma once

class QWidget;

class WindowPlacement
{
public:
    // Keeps the window above all others, or returns it to normal stacking,
    // without moving or resizing it.
    static void setTopmost(QWidget *window, bool topmost);
    static bool isTopmost(const QWidget *window);

    // Centres the window on the available area of the primary screen.
    static void centre(QWidget *window);

    // Moves the window just enough to lie fully on the available screen area.
    static void keepOnScreen(QWidget *window);
};
