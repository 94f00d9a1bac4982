#include "ui/info/splashface.h"

#include "core/versiontext.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/line3d.h"
#include "ui/controls/makers.h"
#include "ui/controls/programlook.h"
#include "ui/controls/twips.h"

#include <QLabel>

namespace {

namespace Layout {
const QSize window = Twips::size(3135, 2295);
const QRect frame = Twips::rect(0, 0, 3135, 2295);
const QRect name = Twips::rect(120, 120, 1455, 495);
const qreal namePointSize = 24;
const QRect year = Twips::rect(840, 720, 735, 375);
const qreal yearPointSize = 15.75;
const QRect picture = Twips::rect(1560, 120, 1500, 1275);
const QSize pictureSize(100, 85);
const QRect line = Twips::rect(120, 1200, 2865, 30);
const QRect version = Twips::rect(1920, 1320, 1095, 255);
const qreal versionPointSize = 8.25;
} // namespace Layout

namespace Texts {
const QString window = QStringLiteral("Zelk. 2010 wird gestartet");
const QString name = QStringLiteral("Zelk.");
const QString year = QStringLiteral("2010");
const QString picture = QStringLiteral("Bild: Tischrechner mit Prozenttaste");
} // namespace Texts

Label3D *makeLabel(const QString &objectName, const QString &caption, qreal pointSize, QWidget *parent,
                   const QRect &geometry)
{
    Label3D *label = Make::label3D(objectName, caption, ProgramLook::font(pointSize, true), parent, geometry);
    label->setBackgroundColor(Qt::white);
    return label;
}

// A part that draws nothing of its own: a QFrame without a shape, a QLabel
// until it is given a pixmap.
template<typename Part = QWidget>
Part *standIn(const QString &objectName, const QString &accessibleName, QWidget *parent,
              const QRect &geometry)
{
    auto *part = new Part(parent);
    part->setObjectName(objectName);
    part->setAccessibleName(accessibleName);
    part->setAttribute(Qt::WA_TransparentForMouseEvents);
    part->setGeometry(geometry);
    return part;
}

} // namespace

QSize SplashFace::size()
{
    return Layout::window;
}

QString SplashFace::accessibleName()
{
    return Texts::window;
}

void SplashFace::build(QWidget *window)
{
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Qt::white);
    window->setPalette(pal);

    Frame *frame = Make::frame(QStringLiteral("frame"), QString(), window, Layout::frame);
    frame->setBackgroundColor(Qt::white);

    makeLabel(QStringLiteral("nameLabel"), Texts::name, Layout::namePointSize, frame, Layout::name);
    makeLabel(QStringLiteral("yearLabel"), Texts::year, Layout::yearPointSize, frame, Layout::year)
        ->setTextColor(ProgramLook::captionBlue());

    Make::picture(QStringLiteral("picture"), Texts::picture, Icons::named(QStringLiteral("bild")),
                  Layout::pictureSize, frame, Layout::picture)
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Make::line(QStringLiteral("line"), frame, Layout::line);

    makeLabel(QStringLiteral("versionLabel"), VersionText::text(), Layout::versionPointSize, frame,
              Layout::version);
}

void SplashFace::nameParts(QWidget *window, const QImage &face)
{
    // Each of the kind that assistive tools knew it as: the picture an image
    // (showing its own part of the face again), the line a frame.
    QWidget *frame = standIn(QStringLiteral("frame"), QStringLiteral("Rahmen"), window, Layout::frame);
    standIn(QStringLiteral("nameLabel"), Texts::name, frame, Layout::name);
    standIn(QStringLiteral("yearLabel"), Texts::year, frame, Layout::year);
    standIn<QLabel>(QStringLiteral("picture"), Texts::picture, frame, Layout::picture)
        ->setPixmap(QPixmap::fromImage(face.copy(Layout::picture)));
    standIn<QFrame>(QStringLiteral("line"), QStringLiteral("Trennlinie"), frame, Layout::line);
    standIn(QStringLiteral("versionLabel"), VersionText::text(), frame, Layout::version);
    frame->show();
}
