#include "ui/info/splashwindow.h"

#include "core/product.h"
#include "core/versiontext.h"
#include "settings/ratemigration.h"
#include "system/windowplacement.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/line3d.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"

#include <QLabel>
#include <QTimer>

namespace Texts {
const QString name = QStringLiteral("Zelk.");
const QString year = QStringLiteral("2010");
const QString designVersion = QStringLiteral("Version x.x.x");
} // namespace Texts

namespace {

namespace Layout {
const QSize window = Twips::size(3135, 2295);
const QRect frame = Twips::rect(0, 0, 3135, 2295);
const QColor labelShadow = BgrColor::toColor(0xC0C0C0);
const QRect name = Twips::rect(120, 120, 1455, 495);
const qreal namePointSize = 24;
const QRect year = Twips::rect(840, 720, 735, 375);
const qreal yearPointSize = 15.75;
const QColor yearText = BgrColor::toColor(0xFF0000);
const QRect picture = Twips::rect(1560, 120, 1500, 1275);
const QSize pictureSize(100, 85);
const QRect line = Twips::rect(120, 1200, 2865, 30);
const QRect version = Twips::rect(1920, 1320, 1095, 255);
const qreal versionPointSize = 8.25;
} // namespace Layout

Label3D *makeLabel(const QString &objectName, const QString &caption, qreal pointSize, QWidget *parent,
                   const QRect &geometry)
{
    auto *label = new Label3D(caption, parent);
    label->setObjectName(objectName);
    QFont font(Product::fontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(true);
    label->setFont(font);
    label->setShadowColor(Layout::labelShadow);
    label->setGeometry(geometry);
    return label;
}

} // namespace

SplashWindow::SplashWindow(int intervalMs, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_timer(new QTimer(this))
{
    setUpWindow(this, QStringLiteral("screenfrm"), QString(), QStringLiteral("Zelk. 2010 wird gestartet"),
                Layout::window);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *frame = new Frame(QString(), this);
    frame->setObjectName(QStringLiteral("Frames1"));
    frame->setBackgroundColor(Qt::white);
    frame->setGeometry(Layout::frame);

    makeLabel(QStringLiteral("Label3D1"), Texts::name, Layout::namePointSize, frame, Layout::name);
    Label3D *yearLabel
        = makeLabel(QStringLiteral("Label3D2"), Texts::year, Layout::yearPointSize, frame, Layout::year);
    yearLabel->setTextColor(Layout::yearText);

    auto *picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAccessibleName(QStringLiteral("Bild: Tischrechner mit Prozenttaste"));
    picture->setPixmap(Icons::named(QStringLiteral("bild")).pixmap(Layout::pictureSize));
    picture->setGeometry(Layout::picture);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *line = new Line3D(frame);
    line->setObjectName(QStringLiteral("Line3D1"));
    line->setGeometry(Layout::line);

    m_version = makeLabel(QStringLiteral("Label3D3"), Texts::designVersion, Layout::versionPointSize, frame,
                          Layout::version);

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the splash stays its full time.
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(intervalMs);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::handOver);
}

void SplashWindow::load()
{
    const auto labels = findChildren<Label3D *>();
    for (Label3D *label : labels)
        label->setBackgroundColor(Qt::white);
    m_version->setCaption(VersionText::text());

    WindowPlacement::centre(this);
    show();
    m_timer->start();
}

void SplashWindow::handOver()
{
    const std::optional<int> oldYear = RateMigration::storedOldVersion();
    m_timer->stop();
    close();
    if (oldYear)
        emit migrationRequested(*oldYear);
    else
        emit mainWindowRequested();
}
