#pragma once

#include <QByteArray>

// Which of Qt's ways to reach the desktop the program asks for, and what the
// one it got allows.
namespace WindowSystem {

// The platform plug-ins to ask Qt for, given the user's QT_QPA_PLATFORM and
// WAYLAND_DISPLAY; empty to leave Qt's own choice. In a Wayland session the
// program prefers XWayland: there it can place its windows, keep one on top
// and hear of a minimise, which Wayland does not allow clients. Native
// Wayland follows only where there is no X server, or where the user asked.
QByteArray platformRequest(const QByteArray &userChoice, const QByteArray &waylandDisplay);

// Applies platformRequest to this process; before the QApplication exists.
void choosePlatform();

// True when the program talks to a Wayland compositor directly.
bool isNativeWayland();

} // namespace WindowSystem
