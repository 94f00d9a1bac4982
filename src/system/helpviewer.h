#pragma once

#include <QString>

class HelpViewer
{
public:
    // Shows the compiled help file: on Windows in the HTML help viewer, elsewhere
    // with the system's default handler for the file. Nothing is checked or reported.
    static void displayTopic(const QString &helpFile);
};
