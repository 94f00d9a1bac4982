#include "ui/setup/migrationwizard.h"

#include "system/windowplacement.h"
#include "system/windowreach.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/line3d.h"
#include "ui/controls/makers.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/programlook.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"

#include <QIcon>
#include <QLabel>
#include <QLocale>

#include <array>

namespace Texts {
const QString caption = QStringLiteral("Zelk. 2010 Datenübernahme");
const QString title = QStringLiteral("Aus Zelk. %1 wird Zelk. 2010");
const QString subtitle = QStringLiteral("Datenabgleich zur Vorversion.");
const QString start = QStringLiteral(
    "Sie haben bisher Zelk. %1 verwendet.\r\n\r\n"
    "Ihre alten Einstellungen werden nun übernommen und alte Systemeintragungen von Zelk. %1 "
    "werden gelöscht um Ihr System zu bereinigen.\r\n\r\n"
    "Bitte klicken Sie auf WEITER.");
const QString found
    = QStringLiteral("Es wurden folgende Eintragungen gefunden: \r\n\r\n"
                     "Zelk-Satz : %2\r\n\r\n"
                     "Klicken Sie nun auf <ÜBERNEHMEN> um die alten Daten zu übernehmen und den Bestand von "
                     "Zelk. %1 aus der Registrierung zu löschen.");
const QString done
    = QStringLiteral("Die alten Daten wurden übernommen und der Datenbestand des Zelk. %1 wurde aus der "
                     "Registrierung entfernt.\r\n\r\n"
                     "Klicken Sie nun auf <FERTIG> um den Assistenten zu beenden und Zelk. 2010 zu öffnen.");
const std::array<QString, 4> buttons = {QStringLiteral("&Weiter"), QStringLiteral("&Übernehmen"),
                                        QStringLiteral("&Abbrechen"), QStringLiteral("&Fertig")};
const QString errorTitle = QStringLiteral("Fehler - Error");
const QString errorText = QStringLiteral("Fehlernummer: %1\r\rBeschreibung:\r%2");
} // namespace Texts

namespace {
namespace Layout {
// Of the two versions that can be taken over, the older one's wizard has a
// form name of its own; every other year gets the newer one's.
const int olderVersionYear = 2008;
const QSize window = Twips::size(4695, 3960);
const QRect band = Twips::rect(0, 0, 4695, 975);
const QRect icon = Twips::rect(120, 120, 480, 480);
const QSize iconSize(32, 32);
const QRect title = Twips::rect(840, 120, 3735, 300);
const qreal titlePointSize = 12;
// A sunken line is two pixels high; its top twip marks the boundary between them.
const QRect bandLine(Twips::px(840), Twips::px(480) - 1, Twips::px(4560 - 840), 2);
const QRect subtitle = Twips::rect(2280, 600, 2295, 255);
const qreal textPointSize = 8.25;
const QRect frame = Twips::rect(120, 1080, 4455, 2295);
const QRect page = Twips::rect(120, 240, 4215, 1935);
const QRect forwardButton = Twips::rect(3120, 3480, 1455, 375);
const QRect cancelButton = Twips::rect(120, 3480, 1455, 375);
const std::array<QString, 4> buttonNames = {QStringLiteral("nextButton"), QStringLiteral("takeOverButton"),
                                            QStringLiteral("cancelButton"), QStringLiteral("finishButton")};
} // namespace Layout
} // namespace

MigrationWizard::MigrationWizard(int year, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_migration(year)
{
    setUpWindow(
        this, year == Layout::olderVersionYear ? QStringLiteral("wizard2008") : QStringLiteral("wizard2009"),
        Texts::caption, Texts::caption, Layout::window);
    setWindowIcon(Icons::named(QStringLiteral("zelk")));
    // No minimise button and no task-bar button: never minimised out of reach.
    WindowReach::keepReachable(this);

    auto *band = new QWidget(this);
    band->setObjectName(QStringLiteral("band"));
    band->setAccessibleName(QStringLiteral("Kopfleiste"));
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    band->setPalette(white);
    band->setGeometry(Layout::band);

    Make::picture(QStringLiteral("programIcon"), QStringLiteral("Programmsymbol"),
                  Icons::named(QStringLiteral("zelk")), Layout::iconSize, band, Layout::icon);
    Make::label(QStringLiteral("titleLabel"), Texts::title.arg(year), band, Layout::title)
        ->setFont(ProgramLook::font(Layout::titlePointSize, true));
    Make::line(QStringLiteral("line"), band, Layout::bandLine);
    Make::label(QStringLiteral("subtitleLabel"), Texts::subtitle, band, Layout::subtitle,
                Qt::AlignRight | Qt::AlignVCenter)
        ->setFont(ProgramLook::font(Layout::textPointSize, false, true));

    Frame *frame = Make::frame(QStringLiteral("frame"), QString(), this, Layout::frame);
    m_page = Make::wrappedLabel(QStringLiteral("pageLabel"), QString(), frame, Layout::page);
    m_page->setFont(ProgramLook::font(Layout::textPointSize, true));

    // Only one of the forward buttons is shown at a time, so they share a place.
    const std::array<QRect, ButtonCount> positions
        = {Layout::forwardButton, Layout::forwardButton, Layout::cancelButton, Layout::forwardButton};
    for (int index = 0; index < ButtonCount; ++index) {
        auto *button = new CommandButton(Texts::buttons[index], CommandButton::Style::Push, this);
        button->setObjectName(Layout::buttonNames[index]);
        button->setGeometry(positions[index]);
        m_buttons[index] = button;
    }
    connect(m_buttons[Next], &CommandButton::clicked, this, &MigrationWizard::takeOver);
    connect(m_buttons[TakeOver], &CommandButton::clicked, this, &MigrationWizard::showDonePage);
    connect(m_buttons[Cancel], &CommandButton::clicked, this, &MigrationWizard::quitRequested);
    connect(m_buttons[Finish], &CommandButton::clicked, this, &MigrationWizard::finish);

    showPage(Next);
    m_page->setText(Texts::start.arg(m_migration.year()));
    WindowPlacement::centre(this);
}

void MigrationWizard::showPage(Button visibleButton)
{
    for (Button button : {Next, TakeOver, Finish})
        m_buttons[button]->setVisible(button == visibleButton);
    m_buttons[visibleButton]->setDefault(true);
    // Hiding the focused button would leave Enter with nobody to press.
    m_buttons[visibleButton]->setFocus();
}

// "&Weiter" already takes the rate over; the page then shows what was taken.
void MigrationWizard::takeOver()
{
    showPage(TakeOver);
    const RateMigration::Outcome outcome = m_migration.takeOver(QLocale());
    m_page->setText(Texts::found.arg(QString::number(m_migration.year()), outcome.oldRate));
    // A failure is this wizard's run-time error, told in the plain system
    // message box; the page stays where the click left it.
    if (outcome.failure != RateMigration::Failure::None)
        MessageDialog::informPlain(
            this, Texts::errorTitle,
            Texts::errorText.arg(QString::number(outcome.errorNumber), outcome.description),
            MessageDialog::Icon::Stop);
}

void MigrationWizard::showDonePage()
{
    showPage(Finish);
    m_page->setText(Texts::done.arg(m_migration.year()));
}

void MigrationWizard::finish()
{
    close();
    emit finished();
}
