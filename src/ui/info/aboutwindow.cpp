#include "ui/info/aboutwindow.h"

#include "core/makeraddresses.h"
#include "core/osdescription.h"
#include "core/product.h"
#include "core/versiontext.h"
#include "system/shellroutines.h"
#include "system/systemversion.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/line3d.h"
#include "ui/controls/makers.h"
#include "ui/controls/programlook.h"
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

namespace Layout {
const QSize window = Twips::size(6105, 6600);
const QRect picture = Twips::rect(120, 120, 1500, 1275);
const QSize pictureSize(100, 85);
const QRect title = Twips::rect(1920, 120, 2535, 495);
const qreal titlePointSize = 20.25;
const QRect version = Twips::rect(4320, 0, 1695, 255);
const QRect date = Twips::rect(4320, 240, 1695, 255);
const QRect frame = Twips::rect(1920, 960, 3975, 855);
const QRect frameLine1 = Twips::rect(120, 120, 3735, 285);
const QRect frameLine2 = Twips::rect(120, 450, 3735, 285);
// Separators span the whole window; their tops are in twips.
const int separatorWidth = Twips::px(6120);
const int upperSeparatorTop = 2040;
const int lowerSeparatorTop = 5640;
const QRect design = Twips::rect(120, 2160, 2295, 255);
const QRect programIcon = Twips::rect(1575, 2520, 2940, 765);
const QSize programIconSize(48, 48);
// The maker's block: one label a line.
const QRect blockFirstLine = Twips::rect(120, 3360, 5865, 255);
const int blockLineStep = 270;
const QRect internet = Twips::rect(120, 4920, 2655, 255);
const QRect homepageLink = Twips::rect(2760, 4920, 1815, 255);
const QRect support = Twips::rect(120, 5280, 2295, 255);
const QRect supportMailLink = Twips::rect(2760, 5280, 1935, 255);
const QRect systemLine = Twips::rect(120, 6000, 3735, 495);
const QRect okayButton = Twips::rect(4560, 6120, 1455, 375);
} // namespace Layout

QLabel *makeBoldLabel(const QString &name, const QString &text, QWidget *parent, const QRect &geometry,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    QLabel *label = Make::label(name, text, parent, geometry, alignment);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A sunken line is two pixels high; its top twip marks the boundary between them.
QRect separator(int top)
{
    return {0, Twips::px(top) - 1, Layout::separatorWidth, 2};
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setUpWindow(this, QStringLiteral("aboutWindow"), Texts::caption, QStringLiteral("Über Zelk. 2010"),
                Layout::window);
    WindowPlacement::centre(this);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Make::picture(QStringLiteral("picture"), QStringLiteral("Bild: Tischrechner mit Prozenttaste"),
                  Icons::named(QStringLiteral("bild")), Layout::pictureSize, this, Layout::picture);

    Label3D *title
        = Make::label3D(QStringLiteral("titleLabel"), Texts::product,
                        ProgramLook::font(Layout::titlePointSize, true, true), this, Layout::title);
    title->setBackgroundColor(Qt::white);

    Make::label(QStringLiteral("versionLabel"), VersionText::text(), this, Layout::version,
                Qt::AlignRight | Qt::AlignVCenter);
    Make::label(QStringLiteral("dateLabel"), Texts::date, this, Layout::date,
                Qt::AlignRight | Qt::AlignVCenter);

    Frame *frame = Make::frame(QStringLiteral("frame"), QString(), this, Layout::frame);
    Make::label(QStringLiteral("productLine"), Texts::frameLine1, frame, Layout::frameLine1);
    Make::label(QStringLiteral("copyrightLine"), Texts::frameLine2, frame, Layout::frameLine2);

    Make::line(QStringLiteral("upperLine"), this, separator(Layout::upperSeparatorTop));
    makeBoldLabel(QStringLiteral("designLabel"), Texts::design, this, Layout::design);

    Make::picture(QStringLiteral("programIcon"), QStringLiteral("Programmsymbol"),
                  Icons::named(QStringLiteral("zelk")), Layout::programIconSize, this, Layout::programIcon)
        ->setAlignment(Qt::AlignCenter);

    const QStringList block = {Texts::owners, Texts::street, Texts::town, Texts::phone, Texts::fax};
    for (int i = 0; i < block.size(); ++i) {
        makeBoldLabel(QStringLiteral("makerLine%1").arg(i + 1), block.at(i), this,
                      Layout::blockFirstLine.translated(0, Twips::px(Layout::blockLineStep * i)),
                      Qt::AlignCenter);
    }

    makeBoldLabel(QStringLiteral("internetLabel"), Texts::internet, this, Layout::internet);
    connect(Make::link(QStringLiteral("homepageLink"), MakerAddresses::homePageLabel(), Texts::homeTip, this,
                       Layout::homepageLink),
            &CommandButton::clicked, this, [] { ShellRoutines::openWebPage(MakerAddresses::homePage()); });

    makeBoldLabel(QStringLiteral("supportLabel"), Texts::support, this, Layout::support);
    connect(Make::link(QStringLiteral("supportMailLink"), MakerAddresses::supportMailLabel(), Texts::mailTip,
                       this, Layout::supportMailLink),
            &CommandButton::clicked, this, [] { ShellRoutines::openWebPage(MakerAddresses::supportMail()); });

    Make::line(QStringLiteral("lowerLine"), this, separator(Layout::lowerSeparatorTop));

    const SystemVersion::Info os = SystemVersion::query();
    QLabel *systemLine = Make::wrappedLabel(
        QStringLiteral("systemLine"),
        OsDescription::describe(os.platformId, os.major, os.minor, os.servicePack), this, Layout::systemLine);
    systemLine->setAccessibleName(systemLine->text());

    auto *okayButton = new CommandButton(Texts::okay, CommandButton::Style::Push, this);
    okayButton->setObjectName(QStringLiteral("okayButton"));
    okayButton->setGeometry(Layout::okayButton);
    okayButton->setDefault(true);
    connect(okayButton, &CommandButton::clicked, this, &AboutWindow::accept);
}
