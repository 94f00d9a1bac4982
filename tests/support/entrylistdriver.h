#pragma once

#include <QStringList>

class TextBox;

// Opens the box's entry list as the user does and returns the entries it
// shows; then chooses "add" (the box's text), "choose
// <entry>", the removal of an entry, or closes the list when command is empty.
QStringList useEntryList(TextBox *box, const QString &command);
