#include "app/windowmanager.h"
#include "system/singleinstance.h"
#include "system/windowreach.h"
#include "system/windowsystem.h"
#include "ui/controls/preparedpixels.h"
#include "ui/controls/programlook.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    WindowSystem::choosePlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelk"));
    // Docks, overviews and task switchers find the menu entry's name and icon by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELK_DESKTOP_ID));

    // One program per user: a second start (autostart and a manual start, a
    // double click on the menu entry) hands over to the running one and ends,
    // so that two migration wizards can never move the same rate.
    SingleInstance instance;
    if (instance.claim() == SingleInstance::Role::Secondary) {
        instance.wakePrimary();
        return 0;
    }
    ProgramLook::apply();
    QApplication::setWindowIcon(PreparedPixels::windowIcon());
    // The program ends when its last window is closed, not when the last one
    // is hidden: the main window may be waiting in the notification area.
    QApplication::setQuitOnLastWindowClosed(false);
    if (WindowSystem::isNativeWayland()) {
        WindowReach::keepWaylandWindowsReachable();
        qInfo("zelk: Wayland ohne XWayland: Fenster werden nicht zentriert und bleiben nicht im "
              "Vordergrund; mit QT_QPA_PLATFORM=xcb geht beides über XWayland.");
    }

    WindowManager windows;
    QObject::connect(&windows, &WindowManager::allWindowsClosed, &app, &QApplication::quit);
    QObject::connect(&instance, &SingleInstance::wakeRequested, &windows, &WindowManager::bringToFront);
    windows.start();
    return QApplication::exec();
}
