#include "core/makeraddresses.h"

namespace {
// Hosts under the reserved example domain: no address points at a stranger's site.
const QString homeHost = QStringLiteral("www.zelk.example");
const QString softwareHost = QStringLiteral("software.zelk.example");
const QString shopHost = QStringLiteral("shop.zelk.example");
const QString supportAddress = QStringLiteral("support@zelk.example");
} // namespace

QString MakerAddresses::homePage()
{
    return QStringLiteral("http://%1/").arg(homeHost);
}

QString MakerAddresses::ratingPage()
{
    return QStringLiteral("http://%1/portal3/pages/kontakt/bewertung.php").arg(softwareHost);
}

QString MakerAddresses::errorReportPage()
{
    return QStringLiteral("http://%1/portal3/pages/kontakt/fehlermeldung.php").arg(softwareHost);
}

QString MakerAddresses::shopPage()
{
    return QStringLiteral("http://%1/").arg(shopHost);
}

QString MakerAddresses::donationPage()
{
    return QStringLiteral("http://%1/sonstiges/zelk_spenden.php").arg(softwareHost);
}

QString MakerAddresses::supportMail()
{
    return QStringLiteral("mailto:%1").arg(supportAddress);
}

QString MakerAddresses::homePageLabel()
{
    return homeHost;
}

QString MakerAddresses::supportMailLabel()
{
    return supportAddress;
}
