#include "system/shellroutines.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

void ShellRoutines::OpenWebPage(const QString &address)
{
#ifdef Q_OS_WIN
    ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(address.utf16()), nullptr, nullptr,
                  SW_SHOWMAXIMIZED);
#else
    QDesktopServices::openUrl(QUrl(address));
#endif
}

bool ShellRoutines::ExecuteFile(const QString &file, int showMode, const QString &verb)
{
#ifdef Q_OS_WIN
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, verb.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(verb.utf16()),
                      reinterpret_cast<LPCWSTR>(file.utf16()), nullptr, nullptr, showMode));
    return result > 32;
#else
    Q_UNUSED(showMode);
    if (verb != QLatin1String("open"))
        return false;
    const QFileInfo info(file);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
#endif
}
