#include "system/windowplacement.h"

#include "system/windowsystem.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
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

bool WindowPlacement::canKeepOnTop()
{
    return !WindowSystem::isNativeWayland();
}

void WindowPlacement::offerTopmost(QAbstractButton *toggle, QWidget *window)
{
    if (canKeepOnTop()) {
        // toggled, not clicked: an assistive tool's "Toggle" emits only toggled.
        QObject::connect(toggle, &QAbstractButton::toggled, window,
                         [window](bool checked) { setTopmost(window, checked); });
        return;
    }
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
