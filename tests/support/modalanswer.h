#pragma once

#include <QList>
#include <QString>

#include <functional>

class TextBox;

// What a modal dialog showed before the test answered it.
struct SeenDialog
{
    bool shown = false;
    QString title;
    QString text;
    int styleCode = -1;
};

// Waits for the next modal dialog, records its title and text, then clicks the
// button whose object name or caption (without "&") is buttonName. An empty
// buttonName closes the dialog with Escape. The returned object stays valid
// until the dialog has been answered and the test reads it.
SeenDialog *answerNextModal(const QString &buttonName);

// Runs action and records every modal dialog that it opens, closing each one
// with its default answer. Modal dialogs run while action runs, so when it
// returns the list is complete: no waiting for a dialog that may not come.
QList<SeenDialog> dialogsDuring(const std::function<void()> &action);

// Opens the box's entry list as the user does and returns the entries it
// shows; then chooses "add" (the box's text) or the removal of an entry, or
// closes the list when command is empty.
QStringList useEntryList(TextBox *box, const QString &command);
