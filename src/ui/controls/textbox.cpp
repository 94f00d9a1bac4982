#include "ui/controls/textbox.h"

#include "ui/controls/icons.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

// How QLineEdit lays out its text and side buttons, in pixels.
namespace LineEditMetrics {
constexpr int textMargin = 2;
constexpr int largeIconHeight = 34;
constexpr int smallIcon = 16;
constexpr int largeIcon = 32;
constexpr int iconPadding = 6;
} // namespace LineEditMetrics

// fitFont() shrinks the font in these steps, never below the smallest size.
constexpr qreal fitStep = 0.25;
constexpr qreal smallestFit = 6;

// Ctrl with a letter, not AltGr (which is Ctrl+Alt on Windows) typing a character.
bool isCommand(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    return mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier) && event->key() >= Qt::Key_A
        && event->key() <= Qt::Key_Z;
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &TextBox::onTextEdited);
    connect(this, &QLineEdit::textChanged, this, [this] {
        // A text the program puts into a box the user is not at work in shows
        // its start (an edit, unlike setText(), leaves the box modified).
        if (!isModified() && window()->focusWidget() != this)
            setCursorPosition(0);
    });
}

void TextBox::setMaxChars(int count)
{
    m_maxChars = qMax(0, count);
}

void TextBox::setLocked(bool locked)
{
    setReadOnly(locked);
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

void TextBox::setShowButton(bool show)
{
    m_showButton = show;
    updateSideButton();
}

void TextBox::setEntryList(EntryListSource *source, const QString &caption)
{
    m_listSource = source;
    m_listCaption = caption;
    updateSideButton();
}

void TextBox::updateSideButton()
{
    const bool listButton = m_showButton && m_listSource != nullptr;
    if (listButton && !m_listAction) {
        m_listAction = addAction(Icons::named(QStringLiteral("list")), QLineEdit::TrailingPosition);
        m_listAction->setObjectName(QStringLiteral("entryListButton"));
        m_listAction->setToolTip(QStringLiteral("Gespeicherte Werte"));
        // The list runs its own event loop: opened inside the click, it would
        // hold an assistive tool's Press until the list closes.
        connect(m_listAction, &QAction::triggered, this,
                [this] { QTimer::singleShot(0, this, &TextBox::showEntryList); });
    } else if (!listButton && m_listAction) {
        removeAction(m_listAction);
        delete m_listAction;
        m_listAction = nullptr;
    }
    // Without a list the side button is the familiar one that empties the box.
    setClearButtonEnabled(m_showButton && !listButton && !isReadOnly());
    const auto sideButtons = findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (QToolButton *button : sideButtons) {
        const bool list = m_listAction != nullptr && button->defaultAction() == m_listAction;
        button->setAccessibleName(list ? QStringLiteral("Gespeicherte Werte")
                                       : QStringLiteral("Eingabe löschen"));
    }
}

int TextBox::textRoom(int boxWidth) const
{
    // As QLineEdit lays out: a frame, a margin of 2 px on either side, and a
    // side button whose icon is 16 px in boxes lower than 34 px (32 px else),
    // with 6 px around the icon and a quarter of the icon between buttons.
    using namespace LineEditMetrics;
    const int inset = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + textMargin;
    const int icon = height() < largeIconHeight ? smallIcon : largeIcon;
    const int side = m_showButton && !isReadOnly() ? icon + iconPadding + icon / 4 : 0;
    return boxWidth - 2 * inset - side;
}

void TextBox::fitFont(int count, const QString &alphabet)
{
    shrinkFontUntilFits([&alphabet, count](const QFontMetrics &metrics) {
        int most = 0;
        for (QChar c : alphabet)
            most = qMax(most, metrics.horizontalAdvance(QString(count, c)));
        return most;
    });
}

void TextBox::setWholeText(const QString &sample)
{
    m_wholeText = sample;
    fitWholeText();
}

void TextBox::fitWholeText()
{
    // Only a shown box has the size, font and side button its window gave it.
    if (m_wholeText.isEmpty() || !isVisible())
        return;
    shrinkFontUntilFits(
        [this](const QFontMetrics &metrics) { return metrics.horizontalAdvance(m_wholeText); });
}

void TextBox::shrinkFontUntilFits(const std::function<int(const QFontMetrics &)> &textWidth)
{
    QFont shrunk = font();
    while (shrunk.pointSizeF() > smallestFit && textWidth(QFontMetrics(shrunk)) > textRoom(width()))
        shrunk.setPointSizeF(shrunk.pointSizeF() - fitStep);
    if (shrunk != font())
        setFont(shrunk);
}

void TextBox::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    fitWholeText();
}

void TextBox::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    fitWholeText();
}

void TextBox::showEntryList()
{
    if (!m_listSource)
        return;
    const QStringList entries = m_listSource->entries();
    const QString current = text().trimmed();

    QMenu menu(this);
    menu.setObjectName(QStringLiteral("entryListMenu"));
    if (!m_listCaption.isEmpty())
        menu.addSection(m_listCaption);
    for (const QString &entry : entries) {
        menu.addAction(entry, this, [this, entry] {
            setText(entry);
            setFocus();
        });
    }
    menu.addSeparator();
    QAction *add = menu.addAction(QStringLiteral("Aktuellen Wert &hinzufügen"));
    add->setObjectName(QStringLiteral("addEntry"));
    add->setEnabled(m_listSource->canAdd(current, entries));
    QMenu *remove = menu.addMenu(QStringLiteral("Eintrag &entfernen"));
    remove->setObjectName(QStringLiteral("removeEntry"));
    remove->setEnabled(!entries.isEmpty());

    // The list is changed, and a failure told, only after the menu has closed.
    std::function<void(EntryListSource *)> change;
    connect(add, &QAction::triggered, &menu,
            [&change, current] { change = [current](EntryListSource *source) { source->add(current); }; });
    for (const QString &entry : entries) {
        remove->addAction(entry, &menu, [&change, entry] {
            change = [entry](EntryListSource *source) { source->remove(entry); };
        });
    }
    QPointer<TextBox> guard(this);
    menu.exec(mapToGlobal(QPoint(width() - menu.sizeHint().width(), height())));
    if (guard && m_listSource && change)
        change(m_listSource);
}

bool TextBox::event(QEvent *event)
{
    // Every way the user changes the text starts with one of these events;
    // the text before it is the one a refused change goes back to.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::InputMethod:
        rememberText();
        break;
    default:
        break;
    }
    return QLineEdit::event(event);
}

void TextBox::rememberText()
{
    m_textBeforeEdit = text();
    m_cursorBeforeEdit = cursorPosition();
}

bool TextBox::refuses(const QKeyEvent *event) const
{
    if (!m_inputFilter)
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    // Ctrl with a letter is a command, which types a control character on
    // some platforms only; of these the box takes Copy alone.
    if (isCommand(event))
        return event->key() != Qt::Key_C;
    const QString typed = event->text();
    return !typed.isEmpty() && !m_inputFilter(typed.at(0));
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (refuses(event)) {
        event->accept();
        emit inputRejected();
        return;
    }
    if (isCommand(event) && event->key() == Qt::Key_C) {
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
        if (key.isEmpty())
            continue;
        const QKeyEvent press(QEvent::KeyPress, key[0].key(), key[0].keyboardModifiers());
        if (refuses(&press))
            action->setText(text.section(QLatin1Char('\t'), 0, 0));
    }
    menu->popup(event->globalPos());
}

void TextBox::onTextEdited()
{
    const QString now = text();
    // Typing, pasting and dropping never grow the text past the limit; a longer
    // text set by the program (a large result) stays as it is.
    const bool tooLong = m_maxChars > 0 && now.size() > m_maxChars && now.size() > m_textBeforeEdit.size();

    // What the edit put in: the text between the parts it left alone.
    const QString &before = m_textBeforeEdit;
    qsizetype head = 0;
    while (head < before.size() && head < now.size() && before[head] == now[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < now.size() - head
           && before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    const QString inserted = now.mid(head, now.size() - head - tail);
    const bool refused = m_inputFilter
        && std::any_of(inserted.begin(), inserted.end(), [this](QChar c) { return !m_inputFilter(c); });

    if (tooLong || refused) {
        setText(m_textBeforeEdit);
        setCursorPosition(m_cursorBeforeEdit);
        if (refused)
            QTimer::singleShot(0, this, &QLineEdit::inputRejected);
        return;
    }
    // A drop that moves text within the box edits twice in one event.
    rememberText();
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    applyBackground(true);
    QLineEdit::focusInEvent(event);
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
