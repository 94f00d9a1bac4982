#pragma once

#include <QHash>
#include <QToolButton>
#include <QWidget>

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

// A toolbar of keyed buttons, some with a drop-down menu of keyed entries.
// A click on a button reports the button's key; a click on a menu entry the
// entry's key. Both are reported after the click has returned, so that an
// assistive tool that pressed the button is not held while a modal window
// opened by the command runs.
class ToolBar : public QWidget
{
    Q_OBJECT

public:
    explicit ToolBar(QWidget *parent = nullptr);

    QToolButton *addButton(const QString &key, const QString &caption, const QString &toolTip,
                           const QIcon &icon, int width);
    QToolButton *addMenuButton(const QString &key, const QString &caption, const QString &toolTip,
                               const QIcon &icon, int width);
    // A caption of "-" adds a separator line.
    QAction *addMenuEntry(const QString &buttonKey, const QString &caption, const QString &key = QString());
    void addSeparator(int width);

    QToolButton *button(const QString &key) const { return m_buttons.value(key); }
    // Every menu entry's action by its key, for keyboard access and tests.
    QAction *menuEntry(const QString &key) const { return m_entries.value(key); }

signals:
    void buttonClicked(const QString &key);
    void menuEntryClicked(const QString &key);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QToolButton *makeButton(const QString &key, const QString &caption, const QString &toolTip,
                            const QIcon &icon, int width);

    QHBoxLayout *m_layout;
    QHash<QString, QToolButton *> m_buttons;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, QAction *> m_entries;
};
