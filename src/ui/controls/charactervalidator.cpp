#include "ui/controls/charactervalidator.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>

CharacterValidator::CharacterValidator(QLineEdit *box, int maxChars, std::function<bool(QChar)> allowed)
    : QValidator(box)
    , m_box(box)
    , m_maxChars(maxChars)
    , m_allowed(std::move(allowed))
    , m_before(box->text())
{
    connect(box, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text; });
}

QValidator::State CharacterValidator::validate(QString &text, int &cursor) const
{
    // An edit leaves the box modified, a text the program sets does not.
    if (!m_box->isModified())
        return Acceptable;
    // What the edit put in: the part between what it left alone before and after.
    qsizetype head = 0;
    while (head < m_before.size() && head < text.size() && m_before[head] == text[head])
        ++head;
    qsizetype tail = 0;
    while (tail < m_before.size() - head && tail < text.size() - head
           && m_before[m_before.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    QString inserted = text.mid(head, text.size() - head - tail);
    if (inserted.size() > 1) {
        // Blanks before it, and blanks around one line end after it.
        static const QRegularExpression surroundings(
            QStringLiteral("^[ \\t\\x{a0}]+|[ \\t\\x{a0}]*(\\r\\n|\\n|\\r)?[ \\t\\x{a0}]*\\z"));
        inserted.remove(surroundings);
    }
    if (m_allowed && !std::all_of(inserted.begin(), inserted.end(), m_allowed))
        return Invalid;
    const QString result = text.left(head) + inserted + text.right(tail);
    if (result.size() > m_maxChars && result.size() > m_before.size())
        return Invalid;
    if (result != text) {
        text = result;
        cursor = int(head + inserted.size());
    }
    return Acceptable;
}

bool CharacterValidator::refusesCommand(int key, Qt::KeyboardModifiers modifiers) const
{
    if (!m_allowed)
        return false;
    if (key == Qt::Key_Escape)
        return true;
    // Ctrl with a letter, not AltGr (which is Ctrl+Alt on Windows) typing a character.
    const bool command = modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
    return command && key >= Qt::Key_A && key <= Qt::Key_Z && key != Qt::Key_C;
}
