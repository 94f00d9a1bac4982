#pragma once

#include <QWidget>

#include <functional>

class CalculatorPanel;
class CommandButton;
class Label3D;
class MessageDialog;
class QAction;
class ToolBar;
class TrayIcon;

// The main window: toolbar, the three framed areas for net amount, rate with
// VAT amount, and gross amount, and a bottom row with the product label, the
// link to the maker's home page and the always-on-top switch.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Empties the amounts, shows the window, binds the entry list and fills the rate.
    void load();

    // Asks, then starts the update program beside the program and asks to end the program.
    void launchUpdate();

    // Shows the window at the front, from the notification area if it is
    // there, or the modal window that is open over it.
    void bringToFront();

signals:
    // Hand-offs that belong to other windows; the application carries them out.
    void compactModeRequested();
    void aboutRequested();
    void autostartRequested();
    void donationRequested();
    // The user chose to end the program.
    void quitRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void createActions();
    // Every command runs through here.
    void onTriggered(QAction *action, const std::function<void()> &command,
                     Qt::ConnectionType type = Qt::AutoConnection);
    void createToolBar();
    void createTrayIcon();

    void switchToCompact();
    void showHelp();
    void confirmQuit();
    void onAlwaysOnTopToggled(bool checked);
    void moveToTray();
    void restoreFromTray();

    MessageDialog *m_messages;
    CalculatorPanel *m_panel;
    ToolBar *m_toolBar;
    Label3D *m_productLabel;
    CommandButton *m_homepageLink;
    CommandButton *m_alwaysOnTop;
    TrayIcon *m_trayIcon;

    QAction *m_newAction;
    QAction *m_saveAction;
    QAction *m_saveRateAction;
    QAction *m_deleteRateAction;
    QAction *m_copyAction;
    QAction *m_copyNetAction;
    QAction *m_copyVatAction;
    QAction *m_copyGrossAction;
    QAction *m_copyAllAction;
    QAction *m_compactAction;
    QAction *m_aboutAction;
    QAction *m_helpAction;
    QAction *m_linksAction;
    QAction *m_homepageAction;
    QAction *m_rateUsAction;
    QAction *m_reportErrorAction;
    QAction *m_shopAction;
    QAction *m_donateAction;
    QAction *m_updateAction;
    QAction *m_autostartAction;
    QAction *m_exitAction;
    QAction *m_trayOpenAction;
    QAction *m_trayExitAction;
};
