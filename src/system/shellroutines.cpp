#include "system/shellroutines.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

void ShellRoutines::openWebPage(const QString &address)
{
#ifdef Q_OS_WIN
    ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(address.utf16()), nullptr, nullptr,
                  SW_SHOWMAXIMIZED);
#else
    QDesktopServices::openUrl(QUrl(address));
#endif
}

ShellRoutines::Start ShellRoutines::startProgram(const QString &file)
{
    // Checked here on every system, so that a missing file is told apart
    // from one the system refuses.
    const QFileInfo info(file);
    if (!info.isFile())
        return Start::Missing;
#ifdef Q_OS_WIN
    // The shell reports success with a value above 32.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, L"open", reinterpret_cast<LPCWSTR>(file.utf16()), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? Start::Started : Start::Failed;
#else
    const bool started
        = info.isExecutable() && QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
    return started ? Start::Started : Start::Failed;
#endif
}
