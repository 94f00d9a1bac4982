#pragma once

#include <QString>

class HelpViewer
{
public:
    // Shows the compiled help file: on Windows in the HTML help viewer, elsewhere
    // with the system's default handler for the file. Nothing is checked or reported.
    static void displayTopic(const QString &helpFile);

    struct Result
    {
        // Missing: neither help file is there; NotOpened: nothing would open it.
        enum class Outcome { Shown, Missing, NotOpened };
        Outcome outcome;
        // The file shown, the one looked for, or the one nothing opened.
        QString file;
    };

    // Shows the program's help: the compiled help file where a viewer for it
    // is there (on Windows always; elsewhere rarely, so that the HTML pages'
    // index goes to the browser instead).
    static Result showHelp(const QString &helpFile, const QString &htmlIndex);

    // Whether the desktop names a default application for CHM files.
    static bool hasChmViewer();
};
