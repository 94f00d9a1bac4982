#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// The one place that knows every window: it carries out the hand-offs between
// them (splash to wizard or main window, main window to compact window and
// back, wizard to main window, the modal windows of the toolbar) and ends the
// program when the last window is gone.
class WindowManager : public QObject
{
    Q_OBJECT

public:
    // How long the splash window stays, in milliseconds.
    static constexpr int splashMilliseconds = 3000;

    explicit WindowManager(int splashInterval = splashMilliseconds, QObject *parent = nullptr);

    void start();

    void showMain();
    void showCompact();
    void showWizard(int year);

    // A second start of the program asked for it: the window the user works
    // with comes to the front (the main window also from the notification area).
    void bringToFront(const QString &activationToken = QString());

    // Closes every window of the program, and so ends it.
    void closeAll();

signals:
    // The last window of the program has closed.
    void allWindowsClosed();

private:
    // The wizard when an earlier version's rate waits, else the main window.
    void showAfterSplash();
    void showAbout(QWidget *owner);
    void showDonation(QWidget *owner);
    void showAutostart(QWidget *owner);
    void track(QWidget *window);
    void quitWhenNoWindowIsLeft();

    int m_splashInterval;
    QList<QPointer<QWidget>> m_windows;
};
