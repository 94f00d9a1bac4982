#pragma once

#include <QStringList>

#include <functional>

class TextBox;

// Opens the box's entry list as the user does and returns the entries it
// shows; then chooses "add" (the box's text), "choose
// <entry>", the removal of an entry, or closes the list when command is empty.
QStringList useEntryList(TextBox *box, const QString &command);

// Runs open, which opens a popup (a menu, an entry list) that runs its own
// event loop, closes the popup and returns its object name; "opened inside"
// when it opened before open had returned, which would hold an assistive tool.
QString popupOpenedBy(const std::function<void()> &open);
