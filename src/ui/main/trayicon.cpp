#include "ui/main/trayicon.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

TrayIcon::TrayIcon(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
    , m_icon(new QSystemTrayIcon(this))
    , m_menu(new QMenu(owner))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            emit clicked();
            break;
        case QSystemTrayIcon::Context:
            emit mouseDown(2);
            break;
        default:
            break;
        }
    });
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
    m_icon->hide();
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
    m_icon->showMessage(title, text, icon, m_numericSetting > 0 ? m_numericSetting : 10000);
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
    connect(action, &QAction::triggered, this, [this, key] { emit menuItemClicked(key); });
}

void TrayIcon::popupMenu()
{
    m_menu->exec(QCursor::pos());
    m_menu->clear();
}
