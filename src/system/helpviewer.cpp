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

HelpViewer::Result HelpViewer::showHelp(const QString &helpFile, const QString &htmlIndex)
{
    using Outcome = Result::Outcome;
#ifdef Q_OS_WIN
    // HTML Help belongs to Windows, and only the compiled help lies beside the program.
    Q_UNUSED(htmlIndex)
    const bool chmViewer = true;
    const QString pages;
    const auto open = [](const QString &file) {
        displayTopic(file);
        return true;
    };
#else
    const bool chmViewer = hasChmViewer();
    const QString &pages = htmlIndex;
    const auto open
        = [](const QString &file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
#endif
    const auto isFile = [](const QString &file) { return !file.isEmpty() && QFileInfo(file).isFile(); };
    if (chmViewer && isFile(helpFile) && open(helpFile))
        return {Outcome::Shown, helpFile};
    if (isFile(pages))
        return open(pages) ? Result{Outcome::Shown, pages} : Result{Outcome::NotOpened, pages};
    if (chmViewer && isFile(helpFile))
        return {Outcome::NotOpened, helpFile};
    // What the user needs to look for: the file a viewer would have shown.
    return {Outcome::Missing, chmViewer ? helpFile : pages};
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
