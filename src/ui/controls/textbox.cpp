#include "ui/controls/textbox.h"

#include "ui/controls/charactervalidator.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

namespace {

// fitFont() shrinks the font in these steps, never below the smallest size.
constexpr qreal fitStep = 0.25;
constexpr qreal smallestFit = 6;
// QLineEdit keeps this many pixels between its contents' edge and its text, on either side.
constexpr int lineEditTextMargin = 2;

bool typesCharacter(const QKeyEvent *event)
{
    const bool command
        = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    return !command && !event->text().isEmpty() && event->text().at(0).isPrint();
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        // A text the program puts into a box the user is not at work in shows
        // its start (an edit, unlike setText(), leaves the box modified).
        if (!isModified() && window()->focusWidget() != this)
            setCursorPosition(0);
        fitFont();
    });
}

void TextBox::setFocusBackColor(const QColor &color)
{
    m_focusBackColor = color;
    applyBackground(hasFocus());
}

void TextBox::setTextColor(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Text, color);
    setPalette(pal);
}

void TextBox::setBalloonTip(const QString &title, const QString &text)
{
    setToolTip(QStringLiteral("<p style='white-space:pre'><b>%1</b><br/>%2</p>")
                   .arg(title.toHtmlEscaped(), text.toHtmlEscaped()));
    // Assistive tools would read the tooltip's markup aloud.
    setAccessibleDescription(QStringLiteral("%1: %2").arg(title, text));
}

void TextBox::showClearButton()
{
    setClearButtonEnabled(true);
    for (QAction *action : actions()) {
        if (action->objectName() == QLatin1String("_q_qlineeditclearaction"))
            action->setToolTip(QStringLiteral("Eingabe löschen"));
    }
    const auto buttons = findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (QToolButton *button : buttons) {
        if (button->accessibleName().isEmpty())
            button->setAccessibleName(QStringLiteral("Eingabe löschen"));
    }
}

void TextBox::keepTextWhole(int count, const QString &alphabet)
{
    m_keepsWhole = true;
    m_wholeCount = count;
    m_wholeAlphabet = alphabet;
    fitFont();
}

int TextBox::textRoom() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    int room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).width()
        - textMargins().left() - textMargins().right();
    const int iconMargin = style()->pixelMetric(QStyle::PM_LineEditIconMargin, nullptr, this);
    const auto sideButtons = findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QToolButton *button : sideButtons) {
        if (button->isVisibleTo(this))
            room -= button->width() + iconMargin;
    }
    return room - 2 * lineEditTextMargin;
}

void TextBox::fitFont()
{
    // Only a shown box has the size, font and side buttons its window gave it.
    if (!m_keepsWhole || !isVisible())
        return;
    const auto needed = [this](const QFontMetrics &metrics) {
        int widest = metrics.horizontalAdvance(text());
        for (const QChar c : std::as_const(m_wholeAlphabet))
            widest = qMax(widest, metrics.horizontalAdvance(QString(m_wholeCount, c)));
        return widest;
    };
    if (m_givenPointSize <= 0)
        m_givenPointSize = font().pointSizeF();
    QFont fitted = font();
    fitted.setPointSizeF(m_givenPointSize);
    const int room = textRoom();
    while (fitted.pointSizeF() > smallestFit && needed(QFontMetrics(fitted)) > room)
        fitted.setPointSizeF(fitted.pointSizeF() - fitStep);
    if (fitted == font())
        return;
    m_fitting = true;
    setFont(fitted);
    m_fitting = false;
}

void TextBox::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    // The size the window (or the application) gives is the one to grow back to.
    if (event->type() == QEvent::FontChange && !m_fitting) {
        m_givenPointSize = font().pointSizeF();
        fitFont();
    }
}

void TextBox::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    fitFont();
}

void TextBox::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    fitFont();
}

bool TextBox::refusesCommand(int key, Qt::KeyboardModifiers modifiers) const
{
    const auto *rule = qobject_cast<const CharacterValidator *>(validator());
    return rule != nullptr && rule->refusesCommand(key, modifiers);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    if (refusesCommand(event->key(), modifiers)) {
        event->accept();
        emit inputRejected();
        return;
    }
    // A full box takes no further character the rule allows, as QLineEdit's
    // own maximum length would do; one it refuses goes on to the validator,
    // which says so. A text that comes in whole is judged by the validator.
    const auto *rule = qobject_cast<const CharacterValidator *>(validator());
    if (rule != nullptr && typesCharacter(event) && !hasSelectedText() && text().size() >= rule->maxChars()
        && rule->allows(event->text().at(0))) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        emit copyPressed();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QPointer<TextBox> guard(this);
        emit enterPressed();
        // The handler may have shown a message during which the window went away.
        if (!guard)
            return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Qt writes each command's key after a tab; a command stays, its refused key goes.
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        const QString text = action->text();
        const QKeySequence key(text.section(QLatin1Char('\t'), 1), QKeySequence::NativeText);
        if (!key.isEmpty() && refusesCommand(key[0].key(), key[0].keyboardModifiers()))
            action->setText(text.section(QLatin1Char('\t'), 0, 0));
    }
    menu->popup(event->globalPos());
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    applyBackground(true);
    QLineEdit::focusInEvent(event);
    // Tab selects the whole text and a click puts the cursor where it points;
    // when the program or an assistive tool gives the focus back, the user
    // goes on at the end of the text, not at its start where leaving put it.
    if (event->reason() == Qt::OtherFocusReason)
        end(false);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    applyBackground(false);
    QLineEdit::focusOutEvent(event);
    // Left for another control, the box shows the start of a text longer than
    // itself, which is the part that is misread when it is out of sight. The
    // user who comes back from another window or a menu goes on where they were.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        setCursorPosition(0);
}

void TextBox::applyBackground(bool focused)
{
    if (!m_focusBackColor.isValid())
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, focused ? m_focusBackColor : QPalette().color(QPalette::Base));
    setPalette(pal);
}
