#include "ui/controls/icons.h"

QIcon Icons::named(const QString &name)
{
#ifdef ZELK_PNG_ICONS
    // Rendered at the drawing's own size and at twice that; Qt picks the closer one.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/%1.png").arg(name));
    icon.addFile(QStringLiteral(":/icons/%1@2x.png").arg(name));
    return icon;
#else
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
#endif
}
