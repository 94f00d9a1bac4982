#include "app/windowmanager.h"
#include "ui/controls/icons.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPalette>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelk"));
    // The window designs were laid out for a small sans-serif face; Arial (or
    // its metric twin Liberation Sans) at 8 pt keeps every German label whole.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    // Tooltips in the light yellow of notification balloons.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QApplication::setPalette(palette);
    QApplication::setWindowIcon(Icons::named(QStringLiteral("zelk")));
    // The program ends when its last window is unloaded, not when the last one
    // is hidden: the main window may be waiting in the notification area.
    QApplication::setQuitOnLastWindowClosed(false);

    WindowManager windows;
    QObject::connect(&windows, &WindowManager::allWindowsClosed, &app, &QApplication::quit);
    windows.start();
    return app.exec();
}
