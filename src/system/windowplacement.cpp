#include "system/windowplacement.h"

#include "system/windowsystem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

QRect availableArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect clampedTo(QRect frame, const QRect &area)
{
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    if (frame.left() < area.left())
        frame.moveLeft(area.left());
    if (frame.top() < area.top())
        frame.moveTop(area.top());
    return frame;
}

void centreNow(QWidget *window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(clampedTo(frame, area).topLeft());
}

// Centres a window again the first time it is on screen, when its frame is known.
class CentreWhenExposed : public QObject
{
public:
    explicit CentreWhenExposed(QWidget *window)
        : QObject(window->windowHandle())
        , m_window(window)
    {
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            if (!m_window.isNull() && m_window->frameGeometry() != m_window->geometry())
                centreNow(m_window);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
};

class ReachableWindow : public QObject
{
public:
    explicit ReachableWindow(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange) {
            auto *window = static_cast<QWidget *>(watched);
            if (window->isMinimized()) {
                // Not from inside the state change: the window manager is still
                // telling us about it.
                QTimer::singleShot(0, window, [window] {
                    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
                    window->show();
                    QWidget *modal = QApplication::activeModalWidget();
                    WindowPlacement::activate(modal ? modal : window);
                });
            }
        }
        return false;
    }
};

// Shows a window again that the compositor hid: a window mapped anew is not
// minimised. The native window alone is hidden and shown, so that a modal
// window's exec() goes on.
void mapAnew(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    handle->setVisible(false);
    handle->setVisible(true);
    QWidget *modal = QApplication::activeModalWidget();
    WindowPlacement::activate(modal ? modal : window);
}

class WaylandMinimiseWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!window->isWindow() || window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)
            || m_watched.contains(window->windowHandle()))
            return false;
        QWindow *handle = window->windowHandle();
        m_watched.insert(handle);
        connect(handle, &QObject::destroyed, this, [this, handle] { m_watched.remove(handle); });
        connect(handle, &QWindow::windowStateChanged, window, [window](Qt::WindowState state) {
            if (state == Qt::WindowMinimized)
                QTimer::singleShot(0, window, [window] { mapAnew(window); });
        });
        return false;
    }

private:
    QSet<QWindow *> m_watched;
};

} // namespace

void WindowPlacement::setTopmost(QWidget *window, bool topmost)
{
#ifdef Q_OS_WIN
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
#else
    // QWidget::setWindowFlag would recreate the native window, which some
    // window managers then place anew; the QWindow flag keeps id and place.
    window->winId();
    window->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topmost);
#endif
}

bool WindowPlacement::isTopmost(const QWidget *window)
{
#ifdef Q_OS_WIN
    return GetWindowLongPtrW(reinterpret_cast<HWND>(window->winId()), GWL_EXSTYLE) & WS_EX_TOPMOST;
#else
    const QWindow *handle = window->windowHandle();
    return handle != nullptr && handle->flags().testFlag(Qt::WindowStaysOnTopHint);
#endif
}

bool WindowPlacement::canKeepOnTop()
{
    return !WindowSystem::isNativeWayland();
}

void WindowPlacement::offerTopmost(QAbstractButton *toggle)
{
    if (canKeepOnTop())
        return;
    toggle->setEnabled(false);
    toggle->setToolTip(QStringLiteral("Ihre Arbeitsoberfläche (Wayland) erlaubt Programmen nicht, "
                                      "ein Fenster im Vordergrund zu halten."));
}

void WindowPlacement::centre(QWidget *window)
{
    centreNow(window);
    window->winId();
    if (!window->windowHandle()->isExposed())
        new CentreWhenExposed(window);
}

void WindowPlacement::keepOnScreen(QWidget *window)
{
    const QRect area = availableArea(window);
    if (!area.isEmpty())
        window->move(clampedTo(window->frameGeometry(), area).topLeft());
}

void WindowPlacement::activate(QWidget *window)
{
    window->raise();
    window->activateWindow();
    if (window->isActiveWindow())
        return;
    auto *retry = new QTimer(window);
    const int retryMilliseconds = 50;
    retry->setInterval(retryMilliseconds);
    const int tries = 20;
    QObject::connect(retry, &QTimer::timeout, window, [window, retry, count = 0]() mutable {
        if (window->isActiveWindow() || !window->isVisible() || ++count > tries) {
            retry->deleteLater();
            return;
        }
        QWindow *handle = window->windowHandle();
        if (!handle || !handle->isExposed())
            return;
        // The window system may hand the focus over while the window is still
        // hidden to the widgets (a restore right after a minimise): the window
        // has the focus, but the widgets never heard of it, and asking again
        // changes nothing. Then the widgets are told.
        if (QGuiApplication::focusWindow() == handle)
            QApplication::setActiveWindow(window);
        else
            window->activateWindow();
        window->raise();
    });
    retry->start();
}

void WindowPlacement::keepReachable(QWidget *window)
{
    new ReachableWindow(window);
}

void WindowPlacement::keepWaylandWindowsReachable()
{
    qApp->installEventFilter(new WaylandMinimiseWatcher(qApp));
}
