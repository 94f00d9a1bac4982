#include "system/helpviewer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

using Outcome = HelpViewer::Result::Outcome;

bool isFile(const QString &file)
{
    return !file.isEmpty() && QFileInfo(file).isFile();
}

#ifdef Q_OS_WIN
// The HTML help viewer's display-topic command. It lives in hhctrl.ocx;
// loading it by hand spares the import library.
bool displayTopic(const QString &helpFile)
{
    using HtmlHelpFn = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static const HMODULE module = LoadLibraryW(L"hhctrl.ocx");
    if (!module)
        return false;
    // (through void (*)(), the one function type every other one may be cast to)
    const auto htmlHelp
        = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "HtmlHelpW")));
    const UINT displayTopicCommand = 0x0000;
    if (htmlHelp)
        htmlHelp(nullptr, reinterpret_cast<LPCWSTR>(helpFile.utf16()), displayTopicCommand, 0);
    return htmlHelp != nullptr;
}
#else
// xdg-open runs the viewer it finds and ends with it, or ends at once with
// this code when it finds none.
const int nothingToOpenWith = 3;

// Hands the file to the desktop's opener. It is not waited for: the viewer it
// starts may run for hours. When it finds nothing, notOpened hears of it while
// the context lives. The opener belongs to the program, not to the context: a
// window closed just as the opener ended would otherwise hear of it halfway
// through its own destruction.
void openWithDesktop(const QString &file, QObject *context,
                     const std::function<void(const QString &)> &notOpened)
{
    auto *opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(opener, &QProcess::finished, context,
                     [file, notOpened](int exitCode, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && exitCode == nothingToOpenWith)
                             notOpened(file);
                     });
    QObject::connect(opener, &QProcess::errorOccurred, context,
                     [file, notOpened](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             notOpened(file);
                     });
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {file});
}
#endif

} // namespace

HelpViewer::Result HelpViewer::showHelp(const QString &helpFile, const QString &htmlIndex, QObject *context,
                                        const std::function<void(const QString &file)> &notOpened)
{
#ifdef Q_OS_WIN
    // HTML Help belongs to Windows, and only the compiled help lies beside the program.
    Q_UNUSED(htmlIndex)
    Q_UNUSED(context)
    Q_UNUSED(notOpened)
    if (!isFile(helpFile))
        return {Outcome::Missing, helpFile};
    return {displayTopic(helpFile) ? Outcome::Opening : Outcome::NotOpened, helpFile};
#else
    const bool chmViewer = hasChmViewer();
    const QString shown = chmViewer && isFile(helpFile) ? helpFile : htmlIndex;
    if (!isFile(shown))
        // What the user needs to look for: the file a viewer would have shown.
        return {Outcome::Missing, chmViewer ? helpFile : htmlIndex};
    openWithDesktop(shown, context, notOpened);
    return {Outcome::Opening, shown};
#endif
}

bool HelpViewer::hasChmViewer()
{
    // xdg-mime answers from the same associations that xdg-open uses to open
    // the file; without xdg-utils there is nothing to ask.
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
