#pragma once

#include <QWidget>

class QAction;
class QHBoxLayout;
class QMenu;
class QToolButton;

// A toolbar with a button for each of its window's commands. A plain button
// triggers its action, a split button opens the menu it was given. A button
// is found by its action's object name.
class ToolBar : public QWidget
{
    Q_OBJECT

public:
    // Whether the action's text is written beside the icon; without it the
    // action's tool tip names the button.
    enum class Caption { Hidden, Shown };

    explicit ToolBar(QWidget *parent = nullptr);

    // With a menu, the button takes the menu over and is a split button.
    QToolButton *addButton(QAction *action, int width, Caption caption, QMenu *menu = nullptr);
    void addSeparator(int width);

    QToolButton *button(const QString &name) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QHBoxLayout *m_layout;
};
