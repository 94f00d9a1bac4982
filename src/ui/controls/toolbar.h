#pragma once

#include <QHash>
#include <QWidget>

class QHBoxLayout;
class QMenu;
class QToolButton;

// A toolbar of keyed buttons, some with a drop-down menu of keyed entries.
// A click on a button reports the button's key; a click on a menu entry the
// entry's key. A menu button itself only opens its menu.
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
