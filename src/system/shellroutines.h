#pragma once

#include <QString>

// Hands addresses and program files to the system. Neither routine shows a message.
class ShellRoutines
{
public:
    // Opens the address with the user's default handler (a web page in the browser).
    static void OpenWebPage(const QString &address);

    // Starts the program file in a normal window, detached from this program.
    // False when it could not be started: on Windows when the shell refuses
    // it, elsewhere also when the file is missing or not executable.
    static bool startProgram(const QString &file);
};
