#pragma once

#include <QColor>
#include <QLineEdit>

// The program's text box. It tells its owner of Enter and Ctrl+C before it
// handles them itself, also while it is read-only. With a CharacterValidator
// that has a rule for its characters, it also refuses the commands that
// would change its text behind the rule's back (Escape, Ctrl with a letter
// but Copy) with inputRejected(), and drops a key typed into a full box.
// An Alt combination types nothing: it belongs to the window's access keys.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    void setFocusBackColor(const QColor &color);
    void setTextColor(const QColor &color);
    void setBalloonTip(const QString &title, const QString &text);
    // The small button inside the box that empties it.
    void showClearButton();

    // Keeps the text whole, and room for count of the widest characters of
    // alphabet: the font shrinks as far as needed (a quarter point at a
    // time, never below 6 pt) and grows back to the size the window gave it.
    void keepTextWhole(int count = 0, const QString &alphabet = QString());
    // The width the text has between the frame and the side buttons, as the
    // box lays them out now.
    int textRoom() const;

signals:
    // Return or Enter; the box may be gone when the handler returns.
    void enterPressed();
    // Ctrl+C, before the box copies its selection.
    void copyPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool refusesCommand(int key, Qt::KeyboardModifiers modifiers) const;
    void fitFont();
    void applyBackground(bool focused);

    QColor m_focusBackColor;
    bool m_keepsWhole = false;
    int m_wholeCount = 0;
    QString m_wholeAlphabet;
    qreal m_givenPointSize = 0;
    bool m_fitting = false;
};
