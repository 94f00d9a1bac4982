#include "system/windowsystem.h"

#include <QGuiApplication>

QByteArray WindowSystem::platformRequest(const QByteArray &userChoice, const QByteArray &waylandDisplay)
{
    if (!userChoice.isEmpty() || waylandDisplay.isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

void WindowSystem::choosePlatform()
{
    const QByteArray request = platformRequest(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"));
    if (!request.isEmpty())
        qputenv("QT_QPA_PLATFORM", request);
}

bool WindowSystem::isNativeWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
