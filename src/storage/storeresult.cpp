#include "storage/storeresult.h"

#include <QDir>

QString StoreResult::reason() const
{
    const QString place = QStringLiteral("„%1“").arg(QDir::toNativeSeparators(m_place));
    switch (m_status) {
    case Status::Done:
    case Status::NotFound:
        return {};
    case Status::FolderReadOnly:
        return QStringLiteral("Der Ordner %1 ist schreibgeschützt.").arg(place);
    case Status::FileReadOnly:
        return QStringLiteral("Die Datei %1 ist schreibgeschützt.").arg(place);
    case Status::FileUnreadable:
        return QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(place);
    case Status::FolderIsFile:
        return QStringLiteral("%1 ist kein Ordner, sondern eine Datei.").arg(place);
    case Status::DiskFull:
        return QStringLiteral("Auf dem Datenträger von %1 ist kein Platz mehr frei.").arg(place);
    case Status::WriteError:
        break;
    }
    if (m_detail.isEmpty())
        return QStringLiteral("%1 konnte nicht geschrieben werden.").arg(place);
    return QStringLiteral("%1 konnte nicht geschrieben werden (%2).").arg(place, m_detail);
}
