#pragma once

#include <QString>

// Hands addresses and program files to the system. Neither routine shows a message.
namespace ShellRoutines {

// Opens the address with the user's default handler (a web page in the browser,
// maximised where the system lets a program ask for that).
void openWebPage(const QString &address);

enum class Start { Started, Missing, Failed };
// Starts the program file in a normal window, detached from this program.
// Missing when there is no such file; Failed when it could not be started:
// the system refused it, it is not executable, or it is no program at all.
Start startProgram(const QString &file);

} // namespace ShellRoutines
