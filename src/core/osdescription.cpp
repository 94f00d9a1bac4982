#include "core/osdescription.h"

#include <QList>

#include <array>

namespace {

// The platform numbers of the Windows version call.
enum Platform : quint32 { Win32s = 0, Windows9x = 1, WindowsNt = 2 };

struct KnownVersion
{
    quint32 platform;
    quint32 major;
    quint32 minor;
    const char *name;
};

// Windows 9x tells its versions apart by the minor number alone.
const std::array<KnownVersion, 6> knownVersions = {{
    {Windows9x, 4, 0, "Windows 95"},
    {Windows9x, 4, 10, "Windows 98"},
    {Windows9x, 4, 90, "Windows ME"},
    {WindowsNt, 5, 0, "Windows NT5.0 (Win2000)"},
    {WindowsNt, 5, 1, "Windows NT5.1 (WinXP)"},
    {WindowsNt, 6, 0, "Windows NT( Windows Vista )"},
}};

QString systemName(quint32 platformId, quint32 major, quint32 minor)
{
    for (const KnownVersion &known : knownVersions) {
        if (known.platform == platformId && known.minor == minor
            && (platformId == Windows9x || known.major == major))
            return QString::fromLatin1(known.name);
    }
    switch (platformId) {
    case Win32s:
        return QStringLiteral("Windows 16bit mit 32bit-Erweiterung");
    case Windows9x:
        return QStringLiteral("Windows (unbekannt)");
    case WindowsNt:
        return QStringLiteral("Windows NT");
    default:
        return QStringLiteral("Betriebssystem unbekannt");
    }
}

} // namespace

QString OsDescription::describe(quint32 platformId, quint32 major, quint32 minor, const QByteArray &csdField)
{
    QString servicePack;
    // The field is 128 characters wide; anything beyond is not part of it.
    const int fieldWidth = 128;
    const QList<QByteArray> pieces = csdField.left(fieldWidth).split('\0');
    for (const QByteArray &piece : pieces) {
        if (!piece.isEmpty())
            servicePack += QString::fromLocal8Bit(piece) + QLatin1Char(' ');
    }
    return systemName(platformId, major, minor) + QStringLiteral(" ( Version ") + QString::number(major)
        + QLatin1Char('.') + QString::number(minor) + QStringLiteral(", ") + servicePack + QLatin1Char(')');
}
