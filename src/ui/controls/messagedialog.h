#pragma once

#include <QColor>
#include <QDialog>

class QLabel;
class QPushButton;

// The program's message and question dialog. Style codes follow the Windows
// message-box numbering: buttons in the low four bits (0 OK, 4 Yes/No), icon
// 16 stop, 32 question, 48 exclamation, 64 information. The show operation
// answers 1 (OK), 6 (Yes), 7 (No) or 2 (cancelled).
class MessageDialog : public QDialog
{
    Q_OBJECT

public:
    enum Result { Ok = 1, Cancelled = 2, Yes = 6, No = 7 };

    explicit MessageDialog(QWidget *parent = nullptr);

    void setTitle(const QString &title) { m_title = title; }
    // A single CR breaks the line; two make an empty line.
    void setText(const QString &text) { m_text = text; }
    QString text() const { return m_text; }
    void setStyleCode(qint32 style) { m_style = style; }
    qint32 styleCode() const { return m_style; }
    // On: Escape and the close box answer a Yes/No question with No.
    void setYesNoSwitch(bool on) { m_yesNoSwitch = on; }
    void setBackColor(const QColor &color) { m_backColor = color; }
    QColor backColor() const { return m_backColor; }
    void setOkCaption(const QString &caption) { m_okCaption = caption; }
    void setYesCaption(const QString &caption) { m_yesCaption = caption; }
    // Caption of the No button.
    void setThirdCaption(const QString &caption) { m_thirdCaption = caption; }
    // The widest the dialog may grow, in percent of the screen width.
    void setNumericSetting(qint16 value) { m_numericSetting = value; }
    qint16 numericSetting() const { return m_numericSetting; }

    // Shows the dialog modally and returns the answer code.
    int showModal();

    // Fills this dialog with the program's fixed look and shows it; returns the
    // answer as decimal text. Every window's message routine comes here.
    QString ShowMessage(const QString &text, const QString &style, const QString &title, bool flag = true,
                        const QString &extra = QString());

protected:
    void reject() override;

private:
    void finish(int result);

    QString m_title;
    QString m_text;
    qint32 m_style = 0;
    bool m_yesNoSwitch = false;
    QColor m_backColor;
    QString m_okCaption = QStringLiteral("OK");
    QString m_yesCaption = QStringLiteral("Ja");
    QString m_thirdCaption = QStringLiteral("Nein");
    qint16 m_numericSetting = 50;
    int m_result = Cancelled;

    QLabel *m_icon;
    QLabel *m_message;
    QPushButton *m_okButton;
    QPushButton *m_yesButton;
    QPushButton *m_noButton;
};
