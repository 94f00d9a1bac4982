#pragma once

#include <QPushButton>

// Push, toggle or link button. A link button shows its text in blue (red
// under the mouse), flat on its window; what it opens is its owner's.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    enum class Style { Push, Toggle, Link };

    explicit CommandButton(const QString &caption, Style style = Style::Push, QWidget *parent = nullptr);

    // The tip is also the accessible description, and the name of a button without caption.
    void setBalloonTip(const QString &text);

protected:
    // Enter and keypad Enter press the button like Space, in every window.
    void keyPressEvent(QKeyEvent *event) override;
};
