#pragma once

#include <QIcon>
#include <QObject>

class QMenu;
class QSystemTrayIcon;
class QWidget;

// Notification-area icon of a window, with a balloon and a keyed popup menu.
// The menu is emptied after each popup, so the owner adds its entries afresh.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(QWidget *owner);

    // False on desktops without a notification area.
    static bool isAvailable();

    void setIcon(const QIcon &icon);
    // How long a balloon stays, in milliseconds; 0 leaves it to the system.
    void setNumericSetting(qint32 value) { m_numericSetting = value; }
    void setTipText(const QString &text);

    void addToTray();
    void removeFromTray();

    // iconKind: 0 none, 1 information, 2 warning, 3 error.
    void showBalloon(const QString &title, const QString &text, int iconKind);

    // Shows or hides the owning window.
    void setWindowShown(bool shown);

    // A caption of "-" adds a separator.
    void addMenuItem(const QString &caption, const QString &key = QString());
    void popupMenu();

signals:
    void clicked();
    void mouseDown(int button);
    void menuItemClicked(const QString &key);

private:
    QWidget *m_owner;
    QSystemTrayIcon *m_icon;
    QMenu *m_menu;
    qint32 m_numericSetting = 0;
};
