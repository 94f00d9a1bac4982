#include "ui/controls/preparedpixels.h"

#include "ui/controls/icons.h"

#include <QPixmap>

namespace {

#ifdef ZELK_PREPARED_PIXELS
// The pixels stay where they are compiled in; nothing is decoded or copied.
QImage imageOf(const PreparedPicture &picture)
{
    return {reinterpret_cast<const uchar *>(picture.pixels), picture.width, picture.height,
            qsizetype(picture.width) * qsizetype(sizeof(quint32)), picture.format};
}
#endif

} // namespace

QImage PreparedPixels::splashFace()
{
#ifdef ZELK_PREPARED_PIXELS
    return imageOf(PreparedPictures::splashFace);
#else
    return {};
#endif
}

QIcon PreparedPixels::windowIcon()
{
#ifdef ZELK_PREPARED_PIXELS
    QIcon icon;
    for (const PreparedPicture &picture : PreparedPictures::windowIcon)
        icon.addPixmap(QPixmap::fromImage(imageOf(picture)));
    return icon;
#else
    return Icons::named(QStringLiteral("zelk"));
#endif
}
