#pragma once

#include <QColor>
#include <QLineEdit>

#include <functional>

class QFontMetrics;
class QKeyEvent;
class QToolButton;

// Where a text box's entry list comes from and where its changes go. The box
// only shows the list; whoever keeps it decides what is valid and reports
// its own failures.
class EntryListSource
{
public:
    virtual ~EntryListSource() = default;
    // What the list shows, read afresh each time it opens.
    virtual QStringList entries() const = 0;
    // Whether value may join entries (the list as it is shown).
    virtual bool canAdd(const QString &value, const QStringList &entries) const = 0;
    virtual void add(const QString &value) = 0;
    virtual void remove(const QString &value) = 0;
};

// The program's text box. It may take only some characters, typed or
// inserted, and tells its owner of Enter and Ctrl+C before it handles them
// itself, also while it is locked.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Most characters the user may type; 0 means no limit. Texts set by the
    // program are never cut.
    void setMaxChars(int count);
    int maxChars() const { return m_maxChars; }

    // Which characters the user may put in. A typed character it refuses, and
    // every Ctrl+letter command but Copy as well as Escape, is dropped and
    // inputRejected() emitted at once. Text inserted by pasting (Shift+Insert,
    // the context menu, the middle mouse button) or dropping with any refused
    // character is refused whole: the box keeps its text, and inputRejected()
    // is emitted once, after the inserting event has returned. The context
    // menu keeps its commands but names none of the refused keys.
    void setInputFilter(std::function<bool(QChar)> allowed) { m_inputFilter = std::move(allowed); }

    // Read-only for the user; key presses are still reported.
    void setLocked(bool locked);

    void setFocusBackColor(const QColor &color);
    void setTextColor(const QColor &color);
    void setBalloonTip(const QString &title, const QString &text);

    // The small button inside the box: opens the entry list when one is
    // switched on, otherwise it empties the box.
    void setShowButton(bool show);

    // The width that text has in the box when it is boxWidth wide, between
    // the frame and the side button.
    int textRoom(int boxWidth) const;
    // Makes the font smaller, a quarter point at a time, until count
    // characters, each the widest of alphabet, fit whole.
    void fitFont(int count, const QString &alphabet);
    // Keeps sample whole in the box: whenever the box is shown or resized, its
    // font is made smaller, as fitFont() does, where sample would not fit.
    void setWholeText(const QString &sample);
    QString wholeText() const { return m_wholeText; }

    // The entry list behind the side button, headed by caption; none without
    // a source. The box does not own the source.
    void setEntryList(EntryListSource *source, const QString &caption);
    void showEntryList();

signals:
    // Return or Enter; the box may be gone when the handler returns.
    void enterPressed();
    // Ctrl+C, before the box copies its selection.
    void copyPressed();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void shrinkFontUntilFits(const std::function<int(const QFontMetrics &)> &textWidth);
    void fitWholeText();
    void applyBackground(bool focused);
    void updateSideButton();
    void onTextEdited();
    void rememberText();

    int m_maxChars = 0;
    QColor m_focusBackColor;
    QString m_textBeforeEdit;
    int m_cursorBeforeEdit = 0;
    bool m_showButton = false;
    QAction *m_listAction = nullptr;
    EntryListSource *m_listSource = nullptr;
    QString m_listCaption;
    QString m_wholeText;
    bool refuses(const QKeyEvent *event) const;

    std::function<bool(QChar)> m_inputFilter;
};
