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


    // The entry's name: the file name after the last path separator, cut
    // before its last "." when it has one.
    static QString valueName(const QString &path);

private:
    void onCommand1Clicked();
    void onCommand3Clicked();

    TextBox *m_txtFilename;
    MessageDialog *m_messages;
};
