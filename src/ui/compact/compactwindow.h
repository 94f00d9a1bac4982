#pragma once

#include <QWidget>

class CalculatorFields;
class CommandButton;
class IconButton;
class MessageDialog;
class TextBox;

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
    void onButton1Clicked(bool checked);

    TextBox *m_netto;
    TextBox *m_x;
    TextBox *m_zelkanteil;
    TextBox *m_brutto;
    IconButton *m_button4;
    IconButton *m_button5;
    IconButton *m_button6;
    CommandButton *m_button3;
    CommandButton *m_button2;
    CommandButton *m_button1;
    MessageDialog *m_messages;
    CalculatorFields *m_fields;
};
