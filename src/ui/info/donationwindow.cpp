#include "ui/info/donationwindow.h"

#include "core/makeraddresses.h"
#include "system/shellroutines.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/label3d.h"
#include "ui/controls/makers.h"
#include "ui/controls/programlook.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"

#include <QIcon>

namespace Texts {
const QString caption = QStringLiteral("Spende / Anerkennung");
const QString request = QStringLiteral(
    "Da die Entwicklung von Software sehr viel Zeit in Anspruch nimmt, würden wir uns, wenn Sie "
    "die Software regelmäßig nutzen, über eine kleine Anerkennung sehr freuen. Wenn Sie uns eine "
    "kleine Spende zukommen lassen wollen, dann klicken Sie auf den Button „Spenden“. Es wird Ihr "
    "Internetbrowser aufgerufen. Dort erfahren Sie mehr über die weitere Vorgehensweise.");
const QString thanks = QStringLiteral("Vielen Dank!");
const QString back = QStringLiteral("&Zurück");
const QString donate = QStringLiteral("&Spenden");
} // namespace Texts

namespace {

namespace Layout {
const QSize window = Twips::size(6375, 3120);
const QRect frame = Twips::rect(120, 120, 6135, 2415);
const QRect request = Twips::rect(120, 240, 5775, 1695);
const QRect thanks = Twips::rect(4680, 2040, 1215, 255);
const qreal labelPointSize = 9.75;
const QRect backButton = Twips::rect(120, 2640, 1455, 375);
const QRect donateButton = Twips::rect(4800, 2640, 1455, 375);
} // namespace Layout

Label3D *makeLabel(const QString &name, const QString &caption, QWidget *parent, const QRect &geometry)
{
    return Make::label3D(name, caption, ProgramLook::font(Layout::labelPointSize, true), parent, geometry);
}

} // namespace

DonationWindow::DonationWindow(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setUpWindow(this, QStringLiteral("donationWindow"), Texts::caption, Texts::caption, Layout::window);
    WindowPlacement::centre(this);

    Frame *frame = Make::frame(QStringLiteral("frame"), QString(), this, Layout::frame);
    Label3D *request = makeLabel(QStringLiteral("requestLabel"), Texts::request, frame, Layout::request);
    request->setWordWrap(true);
    Label3D *thanks = makeLabel(QStringLiteral("thanksLabel"), Texts::thanks, frame, Layout::thanks);
    thanks->setTextColor(ProgramLook::captionBlue());
    thanks->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto *backButton = new CommandButton(Texts::back, CommandButton::Style::Push, this);
    backButton->setObjectName(QStringLiteral("backButton"));
    backButton->setIcon(Icons::named(QStringLiteral("zurueck")));
    backButton->setGeometry(Layout::backButton);
    connect(backButton, &CommandButton::clicked, this, &DonationWindow::accept);

    auto *donateButton = new CommandButton(Texts::donate, CommandButton::Style::Push, this);
    donateButton->setObjectName(QStringLiteral("donateButton"));
    donateButton->setIcon(Icons::named(QStringLiteral("spenden")));
    donateButton->setGeometry(Layout::donateButton);
    donateButton->setDefault(true);
    connect(donateButton, &CommandButton::clicked, this,
            [] { ShellRoutines::openWebPage(MakerAddresses::donationPage()); });
}
