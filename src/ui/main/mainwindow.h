#pragma once

#include <QWidget>

class CalculatorBoxes;
class MessageDialog;
class QAction;
class TrayIcon;

// The main window: toolbar, the three framed areas for net amount, rate with
// VAT amount, and gross amount, and a bottom row with the product label, the
// link to the maker's home page and the always-on-top switch. Made, it is
// ready: amounts empty, the rate read, the net box waiting for the keyboard.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

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
    void createCommands();
    QAction *command(const QString &name) const;
    void createToolBar();
    void createTrayIcon();

    void switchToCompact();
    void showHelp();
    void confirmQuit();
    void moveToTray();
    void restoreFromTray();

    MessageDialog *m_messages;
    CalculatorBoxes *m_boxes;
    TrayIcon *m_trayIcon = nullptr;
};
