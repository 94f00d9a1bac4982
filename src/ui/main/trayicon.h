#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QMenu;
class QTimer;
class QWidget;

// Notification-area icon of a window, with a balloon and a keyed popup menu.
// The menu is emptied before each right-button notification, so the owner adds
// its entries afresh. Every notification reaches the owner after the icon's own
// mouse event is over: the owner may take the icon away in its handler, and
// that deletes the icon's window.
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
    bool isInTray() const;

    // iconKind: 0 none, 1 information, 2 warning, 3 error. An icon that the
    // notification area has not taken in yet has no place on the screen, so
    // the balloon waits for it (a few seconds at most).
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
    void showPendingBalloon();

    QWidget *m_owner;
    QSystemTrayIcon *m_icon;
    QMenu *m_menu;
    qint32 m_numericSetting = 0;

    struct Balloon
    {
        QString title;
        QString text;
        QSystemTrayIcon::MessageIcon icon;
    };
    Balloon m_pendingBalloon;
    QTimer *m_balloonWait;
    int m_balloonWaitTicks = 0;
};
