#pragma once

#include <QWidget>

class CalculatorFields;
class CommandButton;
class Label3D;
class MessageDialog;
class TextBox;
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


    void LaunchUpdateModule();

    // Shows the window at the front, from the notification area if it is
    // there, or the modal window that is open over it.
    void bringToFront();

    // Runs what a toolbar button or menu entry stands for.
    void onToolbarButtonClicked(const QString &key);
    void onToolbarMenuEntryClicked(const QString &key);

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
    void buildToolbar();
    void onButton1Clicked(bool checked);
    void moveToTray();
    void restoreFromTray();

    ToolBar *m_coolbar1;
    TextBox *m_netto;
    TextBox *m_x;
    TextBox *m_zelkanteil;
    TextBox *m_brutto;
    Label3D *m_label3D2;
    CommandButton *m_command1;
    CommandButton *m_button1;
    TrayIcon *m_trayIcon;
    MessageDialog *m_messages;
    CalculatorFields *m_fields;
};
