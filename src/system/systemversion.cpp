#include "system/systemversion.h"

#include <QString>
#include <QStringList>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

SystemVersion::Info SystemVersion::query()
{
    Info info;
#ifdef Q_OS_WIN
    // GetVersionEx reports 6.2 to programs without a compatibility manifest;
    // RtlGetVersion tells the truth.
    using RtlGetVersionFn = LONG(WINAPI *)(PRTL_OSVERSIONINFOW);
    RTL_OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        if (const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion"))))
            rtlGetVersion(&version);
    }
    info.platformId = version.dwPlatformId;
    info.major = version.dwMajorVersion;
    info.minor = version.dwMinorVersion;
    info.servicePack = QString::fromWCharArray(version.szCSDVersion, 128).toLocal8Bit();
#else
    info.platformId = 3;
    const QStringList kernel = QSysInfo::kernelVersion().split(QLatin1Char('.'));
    info.major = kernel.value(0).toUInt();
    // "6.1.0-18-amd64": the minor number ends at the first non-digit.
    QString minor = kernel.value(1);
    qsizetype digits = 0;
    while (digits < minor.size() && minor.at(digits).isDigit())
        ++digits;
    info.minor = minor.left(digits).toUInt();
    // The Windows field's width, with its closing zero.
    const int servicePackField = 128;
    info.servicePack = QSysInfo::prettyProductName().toLocal8Bit().left(servicePackField - 1);
    info.servicePack.resize(servicePackField, '\0');
#endif
    return info;
}
