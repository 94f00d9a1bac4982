#include "core/osdescription.h"

#include <QList>

namespace {

QString systemName(quint32 platformId, quint32 major, quint32 minor)
{
    switch (platformId) {
    case 0:
        return QStringLiteral("Windows 16bit mit 32bit-Erweiterung");
    case 1: {
        const QString windows = QStringLiteral("Windows");
        switch (minor) {
        case 0:
            return windows + QStringLiteral(" 95");
        case 10:
            return windows + QStringLiteral(" 98");
        case 90:
            return windows + QStringLiteral(" ME");
        default:
            return windows + QStringLiteral(" (unbekannt)");
        }
    }
    case 2: {
        const QString nt = QStringLiteral("Windows NT");
        if (major == 5 && minor == 0)
            return nt + QStringLiteral("5.0 (Win2000)");
        if (major == 5 && minor == 1)
            return nt + QStringLiteral("5.1 (WinXP)");
        if (major == 6 && minor == 0)
            return nt + QStringLiteral("( Windows Vista )");
        return nt;
    }
    default:
        return QStringLiteral("Betriebssystem unbekannt");
    }
}

} // namespace

QString OsDescription::describe(quint32 platformId, quint32 major, quint32 minor, const QByteArray &csdField)
{
    QString servicePack;
    // The field is 128 characters wide; anything beyond is not part of it.
    const QList<QByteArray> pieces = csdField.left(128).split('\0');
    for (const QByteArray &piece : pieces) {
        if (!piece.isEmpty())
            servicePack += QString::fromLocal8Bit(piece) + QLatin1Char(' ');
    }
    return systemName(platformId, major, minor) + QStringLiteral(" ( Version ") + QString::number(major)
        + QLatin1Char('.') + QString::number(minor) + QStringLiteral(", ") + servicePack + QLatin1Char(')');
}
