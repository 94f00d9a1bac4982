#include "system/helpviewer.h"

#include <QDesktopServices>
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
