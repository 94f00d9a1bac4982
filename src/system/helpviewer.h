#pragma once

#include <QString>

class HelpViewer
{
public:
    // Shows the compiled help file: on Windows in the HTML help viewer, elsewhere
    // with the system's default handler for the file. Nothing is checked or reported.
    static void displayTopic(const QString &helpFile);

    // Shows the program's help. Windows: the compiled help file in the HTML help
    // viewer. Elsewhere a CHM viewer is rarely installed, so the compiled file is
    // handed to the desktop only where a handler for it is registered, otherwise
    // the HTML pages' index goes to the browser. False when nothing could be opened.
    static bool showHelp(const QString &helpFile, const QString &htmlIndex);

    // Whether the desktop names a default application for CHM files.
    static bool hasChmViewer();
};
