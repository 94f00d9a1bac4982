#pragma once

#include <QWidget>

class CalculatorPanel;
class CommandButton;
class IconButton;
class MessageDialog;

// The small calculator that replaces the main window while it is open: the
// same boxes and arithmetic, one copy button per amount, and a switch that
// keeps it above all other windows.
class CompactWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CompactWindow(QWidget *parent = nullptr);

    // Empties the amounts, binds the entry list, fills the rate, shows the window.
    void load();

signals:
    // Emitted after the window has been unloaded: the main window is to be shown.
    void mainWindowRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void onAlwaysOnTopToggled(bool checked);

    MessageDialog *m_messages;
    CalculatorPanel *m_panel;
    IconButton *m_copyNetButton;
    IconButton *m_copyVatButton;
    IconButton *m_copyGrossButton;
    CommandButton *m_newButton;
    CommandButton *m_mainWindowButton;
    CommandButton *m_alwaysOnTop;
};
