#include "ui/main/trayicon.h"

#include "core/later.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace {

// How often and how long a balloon waits for its icon to be taken in.
const int balloonWaitInterval = 50;
const int balloonWaitTicks = 60;
// How long a balloon stays.
const int balloonMilliseconds = 10000;
// How often a shown icon looks whether its notification area is still there.
const int hostWatchInterval = 500;

} // namespace

TrayIcon::TrayIcon(QWidget *owner)
    : QObject(owner)
    , m_icon(new QSystemTrayIcon(this))
    , m_menu(new QMenu(owner))
    , m_balloonWait(new QTimer(this))
    , m_hostWatch(new QTimer(this))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // After the icon's own mouse event: its window must outlive the event it is handling.
        runAfterThisEvent(this, [this, reason] { answer(reason); });
    });
    m_balloonWait->setInterval(balloonWaitInterval);
    connect(m_balloonWait, &QTimer::timeout, this, &TrayIcon::showPendingBalloon);
    // Qt tells only its own X11 tray code, through an interface of the
    // platform plug-in, that the notification area has gone; asking while
    // the icon is shown serves every platform.
    m_hostWatch->setInterval(hostWatchInterval);
    connect(m_hostWatch, &QTimer::timeout, this, [this] {
        if (isAvailable())
            return;
        m_hostWatch->stop();
        emit hostLost();
    });
}

void TrayIcon::answer(QSystemTrayIcon::ActivationReason reason)
{
    // A user who already clicked the icon needs no hint where it is.
    m_balloonWait->stop();
    switch (reason) {
    // A click within the double-click time of the one before comes as a
    // double click only (a quick minimise and click again, or a double click
    // out of habit): it is a click all the same.
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        emit activated();
        break;
    case QSystemTrayIcon::Context:
        emit contextMenuRequested();
        // Not exec(): a nested event loop here would let the chosen entry
        // delete the icon while its event is still running.
        m_menu->popup(QCursor::pos());
        break;
    default:
        break;
    }
}

bool TrayIcon::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setIcon(const QIcon &icon)
{
    m_icon->setIcon(icon);
}

void TrayIcon::setToolTip(const QString &text)
{
    m_icon->setToolTip(text);
}

void TrayIcon::setMenuActions(const QList<QAction *> &actions)
{
    m_menu->clear();
    m_menu->addActions(actions);
}

void TrayIcon::show()
{
    m_icon->show();
    m_hostWatch->start();
}

void TrayIcon::hide()
{
    m_hostWatch->stop();
    m_balloonWait->stop();
    m_menu->hide();
    m_icon->hide();
}

bool TrayIcon::isShown() const
{
    return m_icon->isVisible();
}

void TrayIcon::showBalloon(const QString &title, const QString &text, QSystemTrayIcon::MessageIcon icon)
{
    m_pendingBalloon = {title, text, icon};
    m_balloonWaitTicks = 0;
    m_balloonWait->start();
    showPendingBalloon();
}

void TrayIcon::showPendingBalloon()
{
    // Before a notification area has taken the icon in, the icon window sits
    // unmapped at the screen's origin, and a balloon would point there.
    // Platforms that do not place the icon themselves report no geometry.
    const QRect place = m_icon->geometry();
    const bool placed = place.isNull() || place.topLeft() != QPoint(0, 0);
    if (!placed && ++m_balloonWaitTicks <= balloonWaitTicks)
        return;
    m_balloonWait->stop();
    m_icon->showMessage(m_pendingBalloon.title, m_pendingBalloon.text, m_pendingBalloon.icon,
                        balloonMilliseconds);
}
