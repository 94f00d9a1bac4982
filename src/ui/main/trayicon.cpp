#include "ui/main/trayicon.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace {

// How often and how long a balloon waits for its icon to be taken in.
const int balloonWaitInterval = 50;
const int balloonWaitTicks = 60;

} // namespace

TrayIcon::TrayIcon(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
    , m_icon(new QSystemTrayIcon(this))
    , m_menu(new QMenu(owner))
    , m_balloonWait(new QTimer(this))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    // Queued: the icon's window must outlive the mouse event it is handling.
    connect(
        m_icon, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
            // A user who already clicked the icon needs no hint where it is.
            m_balloonWait->stop();
            switch (reason) {
            // A click within the double-click time of the one before comes as
            // a double click only (a quick minimise and click again, or a
            // double click out of habit): it is a click all the same.
            case QSystemTrayIcon::Trigger:
            case QSystemTrayIcon::DoubleClick:
                emit clicked();
                break;
            case QSystemTrayIcon::Context:
                m_menu->clear();
                emit mouseDown(2);
                break;
            default:
                break;
            }
        },
        Qt::QueuedConnection);
    m_balloonWait->setInterval(balloonWaitInterval);
    connect(m_balloonWait, &QTimer::timeout, this, &TrayIcon::showPendingBalloon);
}

bool TrayIcon::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setIcon(const QIcon &icon)
{
    m_icon->setIcon(icon);
}

void TrayIcon::setTipText(const QString &text)
{
    m_icon->setToolTip(text);
}

void TrayIcon::addToTray()
{
    m_icon->show();
}

void TrayIcon::removeFromTray()
{
    m_balloonWait->stop();
    m_menu->hide();
    m_icon->hide();
}

bool TrayIcon::isInTray() const
{
    return m_icon->isVisible();
}

void TrayIcon::showBalloon(const QString &title, const QString &text, int iconKind)
{
    QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::NoIcon;
    switch (iconKind) {
    case 1:
        icon = QSystemTrayIcon::Information;
        break;
    case 2:
        icon = QSystemTrayIcon::Warning;
        break;
    case 3:
        icon = QSystemTrayIcon::Critical;
        break;
    default:
        break;
    }
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
                        m_numericSetting > 0 ? m_numericSetting : 10000);
}

void TrayIcon::setWindowShown(bool shown)
{
    m_owner->setVisible(shown);
}

void TrayIcon::addMenuItem(const QString &caption, const QString &key)
{
    if (caption == QLatin1String("-")) {
        m_menu->addSeparator();
        return;
    }
    QAction *action = m_menu->addAction(caption);
    action->setObjectName(key);
    // Handed on once the menu has finished with its mouse event.
    connect(action, &QAction::triggered, this, [this, key] { emit menuItemClicked(key); }, Qt::QueuedConnection);
}

void TrayIcon::popupMenu()
{
    // Not exec(): a nested event loop inside the icon's notification would let
    // the chosen entry delete the icon while its event is still running.
    m_menu->popup(QCursor::pos());
}
