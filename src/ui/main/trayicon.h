#pragma once

#include <QList>
#include <QObject>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
class QTimer;
class QWidget;

// The notification-area icon that stands for the minimised main window, with
// a balloon and a right-button menu. Its signals reach the owner after the
// icon's own mouse event is over: the owner may take the icon away in its
// handler, and that deletes the icon's window.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(QWidget *owner);

    // False on desktops without a notification area.
    static bool isAvailable();

    void setIcon(const QIcon &icon);
    void setToolTip(const QString &text);
    // The right-button menu's entries, in their order.
    void setMenuActions(const QList<QAction *> &actions);

    void show();
    void hide();
    bool isShown() const;

    // An icon that the notification area has not taken in yet has no place on
    // the screen, so the balloon waits for it (a few seconds at most).
    void showBalloon(const QString &title, const QString &text, QSystemTrayIcon::MessageIcon icon);

signals:
    // A click (or a double click) with the left button.
    void activated();
    // The right-button menu is about to open.
    void contextMenuRequested();
    // The notification area went away while the icon was shown (its host
    // ended or restarts), and the icon with it.
    void hostLost();

private:
    void answer(QSystemTrayIcon::ActivationReason reason);
    void showPendingBalloon();

    QSystemTrayIcon *m_icon;
    QMenu *m_menu;

    struct Balloon
    {
        QString title;
        QString text;
        QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::NoIcon;
    };
    Balloon m_pendingBalloon;
    QTimer *m_balloonWait;
    int m_balloonWaitTicks = 0;
    QTimer *m_hostWatch;
};
