#pragma once

#include <QDialog>

class MessageDialog;
class TextBox;

// Enters the program into the user's list of programs started at logon, or removes it.
class AutostartWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AutostartWindow(QWidget *parent = nullptr);

public slots:
    void enterAutostart();
    void removeAutostart();

private:
    TextBox *m_programPath;
    MessageDialog *m_messages;
};
