#pragma once

#include <functional>

class QAction;
class QWidget;

// How the program's buttons, menu entries and keys run what they stand for:
// once the press that asked has returned, and never behind a modal window.
// A command run inside the press would hold an assistive tool's call until a
// window it opens is closed; a command behind a modal window would open a
// second one, or take away the window the open one belongs to.
namespace Commands {

// True while a modal window is open that widget is not part of: then neither
// the mouse nor the keyboard nor an assistive tool may make it do anything.
bool blockedByModal(const QWidget *widget);

// Runs command once the current press is over, unless a modal window blocks
// from by then (or from is gone).
void runAfterPress(QWidget *from, const std::function<void()> &command);

// Triggering action (a click on its button, its menu entry, its shortcut)
// runs command as runAfterPress does on behalf of owner.
void bind(QAction *action, QWidget *owner, const std::function<void()> &command);

// Gives the program's buttons (command, tool and the boxes' side buttons) the
// interface that assistive tools drive them through: Press, Toggle and
// ShowMenu do what a click does, return at once, and do nothing while
// blockedByModal(). Once per program; every button calls it when made.
void makeButtonsAccessible();

} // namespace Commands
