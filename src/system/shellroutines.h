#pragma once

#include <QString>

// Hands addresses and program files to the system. Neither routine shows a message.
class ShellRoutines
{
public:
    // Opens the address with the user's default handler (a web page in the browser).
    static void OpenWebPage(const QString &address);

    // Carries out verb on file. On Windows through the shell (true for a result
    // above 32); elsewhere "open" starts an existing executable file detached.
    static bool ExecuteFile(const QString &file, int showMode, const QString &verb);
};
