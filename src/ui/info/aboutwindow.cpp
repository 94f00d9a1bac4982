#include "ui/info/aboutwindow.h"

#include "core/makeraddresses.h"
#include "core/osdescription.h"
#include "core/product.h"
#include "core/versiontext.h"
#include "system/systemversion.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"

#include <QIcon>
#include <QLabel>

namespace Texts {
const QString caption = QStringLiteral("Copyright");
const QString product = Product::name();
const QString date = QStringLiteral("Stand: 01.12.2009");
const QString frameLine1 = QStringLiteral("Mehrwertsteuer-Rechner");
const QString frameLine2 = QStringLiteral("Copyright © 2009 Zelk. Software");
const QString design = QStringLiteral("Design und Entwicklung:");
// The maker's block: clearly fictitious.
const QString owners = QStringLiteral("Erika Mustermann & Max Mustermann");
const QString street = QStringLiteral("Musterstraße 1");
const QString town = QStringLiteral("12345 Musterstadt");
const QString phone = QStringLiteral("Telefon: 01234 / 56 78 90");
const QString fax = QStringLiteral("Telefax: 01234 / 56 78 91");
const QString internet = QStringLiteral("Sie erreichen uns im Internet:");
const QString support = QStringLiteral("Support (eMail):");
const QString homeTip = QStringLiteral("Zur Internetseite");
const QString mailTip = QStringLiteral("eMail schreiben");
const QString okay = QStringLiteral("&Okay");
} // namespace Texts

namespace {

QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent, const QRect &geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, bool bold = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QFrame *makeLine(QWidget *parent, int top)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setAccessibleName(QStringLiteral("Trennlinie"));
    line->setGeometry(0, Twips::px(top) - 1, Twips::px(6120), 2);
    return line;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setUpWindow(this, QStringLiteral("copyright1"), Texts::caption, QStringLiteral("Über Zelk. 2010"),
                Twips::size(6105, 6600));
    WindowPlacement::centre(this);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image12"));
    picture->setAccessibleName(QStringLiteral("Bild: Tischrechner mit Prozenttaste"));
    picture->setPixmap(Icons::named(QStringLiteral("bild")).pixmap(QSize(100, 85)));
    picture->setGeometry(Twips::rect(120, 120, 1500, 1275));

    auto *title = new Label3D(Texts::product, this);
    title->setObjectName(QStringLiteral("Label3D1"));
    QFont titleFont(Product::fontFamily());
    titleFont.setPointSizeF(20.25);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    title->setShadowColor(QColor(0xC0, 0xC0, 0xC0));
    title->setGeometry(Twips::rect(1920, 120, 2535, 495));
    title->setBackgroundColor(Qt::white);

    makeLabel(QStringLiteral("Label1"), VersionText::text(), this, Twips::rect(4320, 0, 1695, 255),
              Qt::AlignRight | Qt::AlignVCenter);
    makeLabel(QStringLiteral("Label14"), Texts::date, this, Twips::rect(4320, 240, 1695, 255),
              Qt::AlignRight | Qt::AlignVCenter);

    auto *frame = new Frame(QString(), this);
    frame->setObjectName(QStringLiteral("Frames1"));
    frame->setGeometry(Twips::rect(1920, 960, 3975, 855));
    makeLabel(QStringLiteral("Label3"), Texts::frameLine1, frame, Twips::rect(120, 120, 3735, 285));
    makeLabel(QStringLiteral("Label4"), Texts::frameLine2, frame, Twips::rect(120, 450, 3735, 285));

    makeLine(this, 2040);
    makeLabel(QStringLiteral("Label5"), Texts::design, this, Twips::rect(120, 2160, 2295, 255),
              Qt::AlignLeft | Qt::AlignVCenter, true);

    auto *programIcon = new QLabel(this);
    programIcon->setObjectName(QStringLiteral("Image1"));
    programIcon->setAccessibleName(QStringLiteral("Programmsymbol"));
    programIcon->setPixmap(Icons::named(QStringLiteral("zelk")).pixmap(QSize(48, 48)));
    programIcon->setAlignment(Qt::AlignCenter);
    programIcon->setGeometry(Twips::rect(1575, 2520, 2940, 765));

    const QStringList block = {Texts::owners, Texts::street, Texts::town, Texts::phone, Texts::fax};
    for (int i = 0; i < block.size(); ++i) {
        makeLabel(QStringLiteral("Label%1").arg(6 + i), block.at(i), this,
                  Twips::rect(120, 3360 + 270 * i, 5865, 255), Qt::AlignCenter, true);
    }

    makeLabel(QStringLiteral("Label11"), Texts::internet, this, Twips::rect(120, 4920, 2655, 255),
              Qt::AlignLeft | Qt::AlignVCenter, true);
    auto *homepageLink = new CommandButton(MakerAddresses::homePageLabel(), CommandButton::Style::Link, this);
    homepageLink->setObjectName(QStringLiteral("Command2"));
    homepageLink->setUrl(MakerAddresses::homePage());
    homepageLink->setToolTip(Texts::homeTip);
    homepageLink->setAccessibleName(Texts::homeTip);
    homepageLink->setGeometry(Twips::rect(2760, 4920, 1815, 255));

    makeLabel(QStringLiteral("Label12"), Texts::support, this, Twips::rect(120, 5280, 2295, 255),
              Qt::AlignLeft | Qt::AlignVCenter, true);
    auto *supportMailLink
        = new CommandButton(MakerAddresses::supportMailLabel(), CommandButton::Style::Link, this);
    supportMailLink->setObjectName(QStringLiteral("Command3"));
    supportMailLink->setUrl(MakerAddresses::supportMail());
    supportMailLink->setToolTip(Texts::mailTip);
    supportMailLink->setAccessibleName(Texts::mailTip);
    supportMailLink->setGeometry(Twips::rect(2760, 5280, 1935, 255));

    makeLine(this, 5640);

    const SystemVersion::Info os = SystemVersion::query();
    auto *systemLine = makeLabel(QStringLiteral("windowsversion"),
                                 OsDescription::describe(os.platformId, os.major, os.minor, os.servicePack),
                                 this, Twips::rect(120, 6000, 3735, 495), Qt::AlignLeft | Qt::AlignTop);
    systemLine->setWordWrap(true);
    systemLine->setAccessibleName(systemLine->text());

    auto *okayButton = new CommandButton(Texts::okay, CommandButton::Style::Push, this);
    okayButton->setObjectName(QStringLiteral("Command1"));
    okayButton->setGeometry(Twips::rect(4560, 6120, 1455, 375));
    okayButton->setDefault(true);
    connect(okayButton, &CommandButton::clicked, this, &AboutWindow::accept);
}
