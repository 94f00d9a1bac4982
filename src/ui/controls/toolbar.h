#pragma once

#include <QToolButton>
#include <QWidget>

class QAction;
class QHBoxLayout;
class QMenu;

// A toolbar button: Enter and keypad Enter press it like Space. A button with
// a menu is a split button: its face does nothing, its arrow (and Enter,
// Space, Down) opens the menu, and so does the accessible "ShowMenu" action,
// which returns before the menu runs.
class ToolBarButton : public QToolButton
{
    Q_OBJECT

public:
    explicit ToolBarButton(QWidget *parent = nullptr);
    // Opens the menu once the caller has returned.
    void showMenuLater();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A toolbar with a button for each of its window's commands. A plain button
// triggers its action, a split button opens the menu it was given. The action
// is triggered after the click has returned, so that an assistive tool that
// pressed the button is not held while a modal window opened by the command
// runs. A button is found by its action's object name.
class ToolBar : public QWidget
{
    Q_OBJECT

public:
    // Whether the action's text is written beside the icon; without it the
    // action's tool tip names the button.
    enum class Caption { Hidden, Shown };

    explicit ToolBar(QWidget *parent = nullptr);

    QToolButton *addButton(QAction *action, int width, Caption caption = Caption::Hidden);
    // The button takes over the menu.
    QToolButton *addMenuButton(QAction *action, QMenu *menu, int width, Caption caption = Caption::Hidden);
    void addSeparator(int width);

    QToolButton *button(const QString &name) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QToolButton *makeButton(QAction *action, int width, Caption caption);

    QHBoxLayout *m_layout;
};
