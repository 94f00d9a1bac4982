#pragma once

#include <QToolButton>

// A flat button that shows an icon; its tooltip names it. Enter and keypad
// Enter press it like Space. Given a menu it is a split button: its face
// does nothing, its arrow (and Enter, Space, Down) opens the menu, once the
// key press has returned.
class ToolButton : public QToolButton
{
    Q_OBJECT

public:
    ToolButton(const QIcon &icon, const QString &toolTip, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
