#pragma once

#include <QString>

// Hands addresses and program files to the system. Neither routine shows a message.
class ShellRoutines
{
public:
    // Opens the address with the user's default handler (a web page in the browser).
    static void OpenWebPage(const QString &address);

    enum class Start { Started, Missing, Failed };
    // Starts the program file in a normal window, detached from this program.
    // Missing when there is no such file; Failed when it could not be started:
    // on Windows when the shell refuses it, elsewhere when it is not executable.
    static Start startProgram(const QString &file);
};
