#include "app/windowmanager.h"
#include "core/product.h"
#include "system/singleinstance.h"
#include "ui/controls/preparedpixels.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPalette>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelk"));

    // One program per user: a second start (autostart and a manual start, a
    // double click on the menu entry) hands over to the running one and ends,
    // so that two migration wizards can never move the same rate.
    SingleInstance instance;
    if (instance.claim() == SingleInstance::Role::Secondary) {
        instance.wakePrimary();
        return 0;
    }
    // The window designs were laid out for a small sans-serif face; Arial (or
    // its metric twin Liberation Sans) at 8 pt keeps every German label whole.
    const qreal basePointSize = 8.25;
    QFont font(Product::fontFamily());
    font.setPointSizeF(basePointSize);
    QApplication::setFont(font);
    // Tooltips in the light yellow of notification balloons.
    QPalette palette = QApplication::palette();
    const QColor balloonYellow(0xFF, 0xFF, 0xE1);
    palette.setColor(QPalette::ToolTipBase, balloonYellow);
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QApplication::setPalette(palette);
    QApplication::setWindowIcon(PreparedPixels::windowIcon());
    // The program ends when its last window is unloaded, not when the last one
    // is hidden: the main window may be waiting in the notification area.
    QApplication::setQuitOnLastWindowClosed(false);

    WindowManager windows;
    QObject::connect(&windows, &WindowManager::allWindowsClosed, &app, &QApplication::quit);
    QObject::connect(&instance, &SingleInstance::wakeRequested, &windows, &WindowManager::bringToFront);
    windows.start();
    return QApplication::exec();
}
