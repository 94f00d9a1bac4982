#pragma once

#include <QColor>
#include <QLineEdit>

class QKeyEvent;
class QToolButton;

// The program's text box. A key-press hook sees the character code of every
// typed character before the box does and may replace it (0 discards the key);
// the hook also runs while the box is locked.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Most characters the user may type; 0 means no limit. Texts set by the
    // program are never cut.
    void setMaxChars(int count);

    // Read-only for the user; key presses are still reported.
    void setLocked(bool locked);

    void setFocusBackColor(const QColor &color);
    void setTextColor(const QColor &color);
    void setBalloonTip(const QString &title, const QString &text);

    // The small button inside the box: opens the entry list when one is
    // switched on, otherwise it empties the box.
    void setShowButton(bool show);

    // The entry-list facility: file, switch and caption.
    void setEntryListFile(const QString &path) { m_listFile = path; }
    QString entryListFile() const { return m_listFile; }
    void setEntryListEnabled(bool enabled);
    void setEntryListCaption(const QString &caption) { m_listCaption = caption; }
    void showEntryList();
    // What the list shows: the stored entries, read afresh.
    QStringList entryListEntries() const;
    // Store the change at once; a failure is reported through entryListFailed.
    bool addToEntryList(const QString &value);
    bool removeFromEntryList(const QString &value);

    // The character code a key event types, or -1 for keys that type nothing
    // (arrows, Delete, function keys, modifiers alone).
    static int characterCode(const QKeyEvent *event);

signals:
    void keyPress(int &keyAscii);
    // A change of the entry list could not be stored; message says what and why, in German.
    void entryListFailed(const QString &message);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void applyBackground(bool focused);
    void updateSideButton();
    void onTextEdited();

    int m_maxChars = 0;
    QColor m_focusBackColor;
    QString m_textBeforeEdit;
    int m_cursorBeforeEdit = 0;
    bool m_showButton = false;
    QAction *m_listAction = nullptr;
    QString m_listFile;
    QString m_listCaption;
    bool m_listEnabled = false;
};
