#include "app/windowmanager.h"

#include "ui/compact/compactwindow.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/donationwindow.h"
#include "ui/info/splashwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/setup/autostartwindow.h"
#include "ui/setup/migrationwizard.h"

#include "core/later.h"
#include "settings/ratemigration.h"
#include "system/windowreach.h"

#include <optional>

WindowManager::WindowManager(int splashInterval, QObject *parent)
    : QObject(parent)
    , m_splashInterval(splashInterval)
{
}

void WindowManager::start()
{
    auto *splash = new SplashWindow(m_splashInterval);
    track(splash);
    connect(splash, &SplashWindow::done, this, &WindowManager::showAfterSplash);
    splash->show();
}

void WindowManager::showAfterSplash()
{
    // An earlier version's rate waiting to be taken over comes before everything else.
    if (const std::optional<int> oldYear = RateMigration::storedOldVersion())
        showWizard(*oldYear);
    else
        showMain();
}

void WindowManager::showMain()
{
    auto *window = new MainWindow;
    track(window);
    connect(window, &MainWindow::compactModeRequested, this, &WindowManager::showCompact);
    connect(window, &MainWindow::aboutRequested, this, [this, window] { showAbout(window); });
    connect(window, &MainWindow::donationRequested, this, [this, window] { showDonation(window); });
    connect(window, &MainWindow::autostartRequested, this, [this, window] { showAutostart(window); });
    connect(window, &MainWindow::quitRequested, this, &WindowManager::closeAll);
    window->show();
}

void WindowManager::showCompact()
{
    auto *window = new CompactWindow;
    track(window);
    connect(window, &CompactWindow::mainWindowRequested, this, &WindowManager::showMain);
    window->show();
}

void WindowManager::showWizard(int year)
{
    auto *wizard = new MigrationWizard(year);
    track(wizard);
    connect(wizard, &MigrationWizard::finished, this, &WindowManager::showMain);
    connect(wizard, &MigrationWizard::quitRequested, this, &WindowManager::closeAll);
    wizard->show();
}

void WindowManager::bringToFront(const QString &activationToken)
{
    // Qt's Wayland platform presents the token at the next activation.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    for (const QPointer<QWidget> &window : std::as_const(m_windows)) {
        if (auto *main = qobject_cast<MainWindow *>(window.data())) {
            main->bringToFront();
            return;
        }
    }
    for (const QPointer<QWidget> &window : std::as_const(m_windows)) {
        if (window && window->isVisible()) {
            WindowReach::restore(window);
            return;
        }
    }
}

void WindowManager::closeAll()
{
    // A copy: closing a window deletes it, which changes the list.
    const QList<QPointer<QWidget>> windows = m_windows;
    for (const QPointer<QWidget> &window : windows) {
        if (window)
            window->close();
    }
}

void WindowManager::showAbout(QWidget *owner)
{
    (new AboutWindow(owner))->exec();
}

void WindowManager::showDonation(QWidget *owner)
{
    (new DonationWindow(owner))->exec();
}

void WindowManager::showAutostart(QWidget *owner)
{
    (new AutostartWindow(owner))->exec();
}

void WindowManager::track(QWidget *window)
{
    m_windows.append(window);
    connect(window, &QObject::destroyed, this, [this] {
        // Checked once the event that closed the window is over, so that a
        // hand-off to the next window counts.
        runAfterThisEvent(this, [this] { quitWhenNoWindowIsLeft(); });
    });
}

void WindowManager::quitWhenNoWindowIsLeft()
{
    const bool hadWindows = !m_windows.isEmpty();
    m_windows.removeAll(nullptr);
    if (hadWindows && m_windows.isEmpty())
        emit allWindowsClosed();
}
