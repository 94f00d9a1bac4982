#pragma once

#include <QString>

#include <functional>

class QObject;

namespace HelpViewer {

struct Result
{
    // Missing: neither help file is there; NotOpened: nothing opens it.
    // Opening: handed to the desktop, which may still find nothing to show it with.
    enum class Outcome { Opening, Missing, NotOpened };
    Outcome outcome;
    // The file handed over, the one looked for, or the one nothing opened.
    QString file;
};

// Shows the program's help: the compiled help file where a viewer for it is
// there (on Windows always; elsewhere rarely, so that the HTML pages' index
// goes to the browser instead). Elsewhere the desktop's opener (xdg-open)
// tells only later whether it found anything to show the file with: when it
// found nothing, notOpened is called with the file, as long as context lives.
Result showHelp(const QString &helpFile, const QString &htmlIndex, QObject *context,
                const std::function<void(const QString &file)> &notOpened);

// Whether the desktop names a default application for CHM files.
bool hasChmViewer();

} // namespace HelpViewer
