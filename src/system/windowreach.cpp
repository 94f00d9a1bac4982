#include "system/windowreach.h"

#include "core/later.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

void unminimise(QWidget *window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
}

// The window, and its modal window with it, comes back when a window
// manager minimises it.
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
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowStateChange && window->isMinimized())
            runAfterThisEvent(window, [window] { WindowReach::restore(window); });
        return false;
    }
};

// Asks again every 50 ms, for at most a second, until the window has been
// active once; then the user may go elsewhere without the window following.
class ActivationRetry : public QTimer
{
public:
    explicit ActivationRetry(QWidget *window)
        : QTimer(window)
        , m_window(window)
    {
        window->installEventFilter(this);
        const int retryMilliseconds = 50;
        setInterval(retryMilliseconds);
        connect(this, &QTimer::timeout, this, &ActivationRetry::askAgain);
        start();
    }

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate)
            finish();
        return false;
    }

private:
    void askAgain()
    {
        const int tries = 20;
        if (m_window->isActiveWindow() || !m_window->isVisible() || ++m_tries > tries) {
            finish();
            return;
        }
        QWindow *handle = m_window->windowHandle();
        if (!handle || !handle->isExposed())
            return;
        // The window system may hand the focus over while the window is still
        // hidden to the widgets (a restore right after a minimise): the window
        // has the focus, but the widgets never heard of it, and asking again
        // changes nothing. Then the widgets are told.
        if (QGuiApplication::focusWindow() == handle)
            QApplication::setActiveWindow(m_window);
        else
            m_window->activateWindow();
        m_window->raise();
    }

    // Stopped at once: a tick already due must not ask again.
    void finish()
    {
        stop();
        m_window->removeEventFilter(this);
        deleteLater();
    }

    QWidget *m_window;
    int m_tries = 0;
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
    WindowReach::activate(modal ? modal : window);
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
        // The mark lives and dies with the native window, so that a window shown again is watched once.
        const char *watchedMark = "zelkMinimiseWatched";
        QWindow *handle = window->windowHandle();
        if (!window->isWindow() || window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)
            || handle->property(watchedMark).toBool())
            return false;
        handle->setProperty(watchedMark, true);
        connect(handle, &QWindow::windowStateChanged, window, [window](Qt::WindowState state) {
            if (state == Qt::WindowMinimized)
                runAfterThisEvent(window, [window] { mapAnew(window); });
        });
        return false;
    }
};

} // namespace

void WindowReach::restore(QWidget *window)
{
    unminimise(window);
    QWidget *modal = QApplication::activeModalWidget();
    if (modal)
        unminimise(modal);
    activate(modal ? modal : window);
}

void WindowReach::activate(QWidget *window)
{
    window->raise();
    window->activateWindow();
    if (!window->isActiveWindow())
        new ActivationRetry(window);
}

void WindowReach::keepReachable(QWidget *window)
{
    new ReachableWindow(window);
}

void WindowReach::keepWaylandWindowsReachable()
{
    qApp->installEventFilter(new WaylandMinimiseWatcher(qApp));
}
