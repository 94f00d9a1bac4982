#pragma once

#include <QPushButton>

// Push, toggle or link button. A link button shows its address in blue (red
// under the mouse) and opens it with the system's default handler when clicked.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    enum class Style { Push, Toggle, Link };

    explicit CommandButton(const QString &caption, Style style = Style::Push, QWidget *parent = nullptr);

    void setUrl(const QString &url);
    QString url() const { return m_url; }

    // The tip is also the accessible description, and the name of a button without caption.
    void setBalloonTip(const QString &text);

protected:
    // Enter and keypad Enter press the button like Space, in every window.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onClicked();

    Style m_style;
    QString m_url;
};
