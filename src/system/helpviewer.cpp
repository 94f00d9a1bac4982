#include "system/helpviewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

void HelpViewer::displayTopic(const QString &helpFile)
{
#ifdef Q_OS_WIN
    // The viewer lives in hhctrl.ocx; loading it by hand spares the import library.
    using HtmlHelpFn = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static const HMODULE module = LoadLibraryW(L"hhctrl.ocx");
    if (!module)
        return;
    // (through void (*)(), the one function type every other one may be cast to)
    const auto htmlHelp
        = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "HtmlHelpW")));
    const UINT displayTopic = 0x0000;
    if (htmlHelp)
        htmlHelp(nullptr, reinterpret_cast<LPCWSTR>(helpFile.utf16()), displayTopic, 0);
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
#endif
}

bool HelpViewer::showHelp(const QString &helpFile, const QString &htmlIndex)
{
#ifdef Q_OS_WIN
    Q_UNUSED(htmlIndex)
    displayTopic(helpFile);
    return true;
#else
    if (QFileInfo::exists(helpFile) && hasChmViewer()
        && QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile)))
        return true;
    return QFileInfo::exists(htmlIndex) && QDesktopServices::openUrl(QUrl::fromLocalFile(htmlIndex));
#endif
}

bool HelpViewer::hasChmViewer()
{
    // xdg-mime answers from the same associations that xdg-open, and through it
    // Qt, uses to open the file; without xdg-utils there is nothing to ask.
    QProcess query;
    query.start(
        QStringLiteral("xdg-mime"),
        {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/vnd.ms-htmlhelp")});
    const int answerMilliseconds = 5000;
    const int endMilliseconds = 1000;
    if (!query.waitForFinished(answerMilliseconds)) {
        query.kill();
        query.waitForFinished(endMilliseconds);
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
        && !query.readAllStandardOutput().trimmed().isEmpty();
}
