#pragma once

#include <QValidator>

#include <functional>

class QKeyEvent;
class QLineEdit;

// What the user may put into a text box, typed, pasted or dropped: at most
// maxChars characters, each one the rule allows (any without a rule). Text
// that comes in more than one character at a time (a paste, a drop) first
// loses the blanks around it and one line end after it, as a cell copied
// from a spreadsheet brings them. What is refused leaves the box as it was,
// and the box emits inputRejected(). Texts the program puts in are never
// judged, so a result longer than maxChars stays whole.
class CharacterValidator : public QValidator
{
    Q_OBJECT

public:
    CharacterValidator(QLineEdit *box, int maxChars, std::function<bool(QChar)> allowed = {});

    State validate(QString &text, int &cursor) const override;

    int maxChars() const { return m_maxChars; }
    bool allows(QChar character) const { return !m_allowed || m_allowed(character); }
    // A box with a rule for its characters takes none of the commands that
    // type or change text behind the rule's back (Ctrl with a letter but
    // Copy, and Escape).
    bool refusesCommand(int key, Qt::KeyboardModifiers modifiers) const;

private:
    QLineEdit *m_box;
    int m_maxChars;
    std::function<bool(QChar)> m_allowed;
    // The box's text before the change being judged.
    QString m_before;
};
