#include "core/versiontext.h"

#include "version.h"

QString VersionText::text()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(ZELK_VERSION_MAJOR)
        .arg(ZELK_VERSION_MINOR)
        .arg(ZELK_VERSION_PATCH);
}
