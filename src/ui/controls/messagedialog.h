#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The program's message window: a text beside an icon, answered with "OK" or
// with "JA" / "NEIN", on the light cyan background every message shares.
// Tests put a stand-in in place of the window, so that no test has to find
// and answer a modal window.
class MessageDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Icon { None, Information, Question, Warning, Stop };
    Q_ENUM(Icon)
    enum class Answer { Ok, Yes, No };
    Q_ENUM(Answer)

    struct Message
    {
        QString title;
        // A CR breaks the line; two make an empty line.
        QString text;
        Icon icon = Icon::None;
        bool question = false;
    };

    class StandIn
    {
    public:
        virtual ~StandIn() = default;
        virtual Answer answer(const Message &message) = 0;
    };
    // While set, every message goes to the stand-in instead of a window.
    static void setStandIn(StandIn *replacement);

    explicit MessageDialog(QWidget *parent = nullptr);

    // Shows the text with an "OK" button and returns once it is closed.
    void inform(const QString &title, const QString &text, Icon icon);
    // Asks with "JA" and "NEIN"; Escape and the close box answer No.
    Answer ask(const QString &title, const QString &text, Icon icon);

    // The window system's plain message box, for windows that do not carry
    // the program's own look.
    static void informPlain(QWidget *parent, const QString &title, const QString &text, Icon icon);

private:
    Answer present(const Message &message);
    void prepare(const Message &message);

    Answer m_answer = Answer::Ok;
    QLabel *m_icon;
    QLabel *m_message;
    QPushButton *m_okButton;
    QPushButton *m_yesButton;
    QPushButton *m_noButton;
};
