#include "ui/info/splashwindow.h"

#include "core/product.h"
#include "core/versiontext.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "system/windowplacement.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/line3d.h"
#include "ui/controls/twips.h"

#include <QLabel>
#include <QTimer>

namespace Texts {
const QString name = QStringLiteral("Zelk.");
const QString year = QStringLiteral("2010");
const QString designVersion = QStringLiteral("Version x.x.x");
} // namespace Texts

namespace {

Label3D *makeLabel(const QString &objectName, const QString &caption, qreal pointSize, QWidget *parent,
                   const QRect &geometry)
{
    auto *label = new Label3D(caption, parent);
    label->setObjectName(objectName);
    QFont font(Product::fontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(true);
    label->setFont(font);
    label->setShadowColor(BgrColor::toColor(0xC0C0C0));
    label->setGeometry(geometry);
    return label;
}

} // namespace

SplashWindow::SplashWindow(int intervalMs, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("screenfrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QStringLiteral("Zelk. 2010 wird gestartet"));
    setFixedSize(Twips::size(3135, 2295));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *frames1 = new Frame(QString(), this);
    frames1->setObjectName(QStringLiteral("Frames1"));
    frames1->setBackgroundColor(Qt::white);
    frames1->setGeometry(Twips::rect(0, 0, 3135, 2295));

    makeLabel(QStringLiteral("Label3D1"), Texts::name, 24, frames1, Twips::rect(120, 120, 1455, 495));
    Label3D *yearLabel
        = makeLabel(QStringLiteral("Label3D2"), Texts::year, 15.75, frames1, Twips::rect(840, 720, 735, 375));
    yearLabel->setTextColor(BgrColor::toColor(0xFF0000));

    auto *image1 = new QLabel(frames1);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setAccessibleName(QStringLiteral("Bild: Tischrechner mit Prozenttaste"));
    image1->setPixmap(Icons::named(QStringLiteral("bild")).pixmap(QSize(100, 85)));
    image1->setGeometry(Twips::rect(1560, 120, 1500, 1275));
    image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *line = new Line3D(frames1);
    line->setObjectName(QStringLiteral("Line3D1"));
    line->setGeometry(Twips::rect(120, 1200, 2865, 30));

    m_label3D3 = makeLabel(QStringLiteral("Label3D3"), Texts::designVersion, 8.25, frames1,
                           Twips::rect(1920, 1320, 1095, 255));

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the splash stays its full time.
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setInterval(intervalMs);
    connect(m_timer1, &QTimer::timeout, this, &SplashWindow::onTimer1Tick);
}

void SplashWindow::load()
{
    const auto labels = findChildren<Label3D *>();
    for (Label3D *label : labels)
        label->setBackgroundColor(Qt::white);
    m_label3D3->setCaption(VersionText::text());

    WindowPlacement::centre(this);
    show();
    m_timer1->start();
}

void SplashWindow::onTimer1Tick()
{
    int year = 0;
    // The older version first: its wizard runs, and the next start finds 2009.
    for (int candidate : {2008, 2009}) {
        if (SettingsStore::hasApplication(RateSetting::oldApplication(candidate))) {
            year = candidate;
            break;
        }
    }
    m_timer1->stop();
    close();
    emit handOver(year);
}
