#pragma once

#include <QToolButton>

// A small flat button that shows only an icon; its tooltip is its name.
class IconButton : public QToolButton
{
    Q_OBJECT

public:
    IconButton(const QIcon &icon, const QString &toolTip, QWidget *parent = nullptr);

protected:
    // Enter and keypad Enter press the button like Space.
    void keyPressEvent(QKeyEvent *event) override;
};
