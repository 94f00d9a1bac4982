#include "ui/system/migrationwizard.h"

#include "core/numberformat.h"
#include "core/product.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/twips.h"

#include <QIcon>
#include <QLabel>

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
const QString buttons[4] = {QStringLiteral("&Weiter"), QStringLiteral("&Übernehmen"),
                            QStringLiteral("&Abbrechen"), QStringLiteral("&Fertig")};
const QString errorTitle = QStringLiteral("Fehler - Error");
const QString errorText = QStringLiteral("Fehlernummer: %1\r\rBeschreibung:\r%2");
const QString writeFailed
    = QStringLiteral("Die Einstellungen von Zelk. 2010 konnten nicht gespeichert werden (%1).");
const QString deleteFailed
    = QStringLiteral("Die Einstellungen von Zelk. %1 konnten nicht gelöscht werden (%2).");
} // namespace Texts

namespace {

enum Button { Next = 0, Take = 1, Cancel = 2, Finish = 3 };

// Run-time error numbers as the old versions reported them.
const int errorPathAccess = 75;
const int errorInvalidCall = 5;

} // namespace

MigrationWizard::MigrationWizard(int year, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_year(year)
    , m_oldApplication(RateSetting::oldApplication(year))
{
    setObjectName(year == 2008 ? QStringLiteral("aus_neu08") : QStringLiteral("aus_neu09"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Texts::caption);
    setAccessibleName(Texts::caption);
    setWindowIcon(Icons::named(QStringLiteral("zelk")));
    setFixedSize(Twips::size(4695, 3960));
    // No minimise button and no task-bar button: never minimised out of reach.
    WindowPlacement::keepReachable(this);

    auto *picture1 = new QWidget(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setAccessibleName(QStringLiteral("Kopfleiste"));
    picture1->setAutoFillBackground(true);
    QPalette band = picture1->palette();
    band.setColor(QPalette::Window, Qt::white);
    picture1->setPalette(band);
    picture1->setGeometry(Twips::rect(0, 0, 4695, 975));

    auto *image1 = new QLabel(picture1);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setAccessibleName(QStringLiteral("Programmsymbol"));
    image1->setPixmap(Icons::named(QStringLiteral("zelk")).pixmap(QSize(32, 32)));
    image1->setGeometry(Twips::rect(120, 120, 480, 480));

    auto *label1 = new QLabel(Texts::title.arg(year), picture1);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(Product::fontFamily());
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    label1->setFont(titleFont);
    label1->setGeometry(Twips::rect(840, 120, 3735, 300));

    auto *line1 = new QFrame(picture1);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setAccessibleName(QStringLiteral("Trennlinie"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    line1->setGeometry(Twips::px(840), Twips::px(480) - 1, Twips::px(4560 - 840), 2);

    auto *label2 = new QLabel(Texts::subtitle, picture1);
    label2->setObjectName(QStringLiteral("Label2"));
    QFont subtitleFont(Product::fontFamily());
    subtitleFont.setPointSizeF(8.25);
    subtitleFont.setItalic(true);
    label2->setFont(subtitleFont);
    label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label2->setGeometry(Twips::rect(2280, 600, 2295, 255));

    auto *frames1 = new Frame(QString(), this);
    frames1->setObjectName(QStringLiteral("Frames1"));
    frames1->setGeometry(Twips::rect(120, 1080, 4455, 2295));
    m_label3 = new QLabel(frames1);
    m_label3->setObjectName(QStringLiteral("Label3"));
    QFont pageFont(Product::fontFamily());
    pageFont.setPointSizeF(8.25);
    pageFont.setBold(true);
    m_label3->setFont(pageFont);
    m_label3->setWordWrap(true);
    m_label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label3->setGeometry(Twips::rect(120, 240, 4215, 1935));

    const QRect positions[4] = {Twips::rect(3120, 3480, 1455, 375), Twips::rect(3120, 3480, 1455, 375),
                                Twips::rect(120, 3480, 1455, 375), Twips::rect(3120, 3480, 1455, 375)};
    for (int index = 0; index < 4; ++index) {
        auto *button = new CommandButton(Texts::buttons[index], CommandButton::Style::Push, this);
        button->setObjectName(QStringLiteral("Command1_%1").arg(index));
        button->setGeometry(positions[index]);
        connect(button, &CommandButton::clicked, this, [this, index] { onCommand1Clicked(index); });
        m_command1[index] = button;
    }
}

void MigrationWizard::load()
{
    showPage(Next);
    m_label3->setText(Texts::start.arg(m_year));
    WindowPlacement::centre(this);
    show();
    m_command1[Next]->setFocus();
}

void MigrationWizard::showPage(int visibleButton)
{
    for (int index : {Next, Take, Finish})
        m_command1[index]->setVisible(index == visibleButton);
    m_command1[visibleButton]->setDefault(true);
    // Hiding the focused button would leave Enter with nobody to press.
    m_command1[visibleButton]->setFocus();
}

void MigrationWizard::onCommand1Clicked(int index)
{
    switch (index) {
    case Next: {
        showPage(Take);
        // Read once: what the page shows is what is taken over. A store that
        // has vanished since the splash window found it (another start of the
        // program took it over) leaves nothing to take over or delete.
        const bool oldStoreFound = SettingsStore::hasApplication(m_oldApplication);
        const QString oldRate
            = SettingsStore::get(m_oldApplication, RateSetting::section(), RateSetting::key(), QString());
        m_label3->setText(Texts::found.arg(QString::number(m_year), oldRate));
        if (!oldStoreFound)
            break;
        // An empty or unreadable old rate never replaces a rate: without one
        // the main window falls back to its default, as it would with the empty one.
        const bool readable = NumberFormat::parse(oldRate, QLocale::system()).has_value();
        // A store that cannot be written or emptied is this wizard's run-time
        // error: the rest of the click is skipped and the system message box
        // tells why. What was done before stays done.
        if (readable && !RateSetting::save(oldRate)) {
            reportError(errorPathAccess,
                        Texts::writeFailed.arg(SettingsStore::location(RateSetting::application())));
            return;
        }
        if (!SettingsStore::deleteApplication(m_oldApplication)) {
            reportError(
                errorInvalidCall,
                Texts::deleteFailed.arg(QString::number(m_year), SettingsStore::location(m_oldApplication)));
            return;
        }
        break;
    }
    case Take:
        showPage(Finish);
        m_label3->setText(Texts::done.arg(m_year));
        break;
    case Finish:
        close();
        emit finished();
        break;
    case Cancel:
        emit quitRequested();
        break;
    }
}

void MigrationWizard::reportError(int number, const QString &description)
{
    QString text = Texts::errorText.arg(QString::number(number), description);
    MessageDialog::informPlain(this, Texts::errorTitle, text, MessageDialog::Icon::Stop);
}
