#include "ui/setup/autostartwindow.h"

#include "system/autorun.h"
#include "system/windowplacement.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/makers.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/programlook.h"
#include "ui/controls/textbox.h"
#include "ui/controls/twips.h"
#include "ui/controls/windowsetup.h"

#include <QIcon>
#include <QLabel>

namespace Texts {
const QString caption = QStringLiteral("Autostartfunktion");
const QString frame = QStringLiteral(" Autostart des Programms ");
const QString explanation
    = QStringLiteral("Hier haben Sie die Möglichkeit das Programm in den Autostart einzutragen. D. h., dass "
                     "Programm wird dann bei jedem Programmstart automatisch gestartet.");
const QString enter = QStringLiteral("In Autostart &eintragen");
const QString remove = QStringLiteral("&Aus Autostart entfernen");
const QString back = QStringLiteral("&Zurück");
const QString messageTitle = QStringLiteral("Autostart");
const QString entered = QStringLiteral("Der Eintrag war erfolgreich.");
const QString failed = QStringLiteral("Der Eintrag ist fehlgeschlagen!");
const QString removed = QStringLiteral("Der Eintrag wurde entfernt!");
const QString notRemoved = QStringLiteral("Der Eintrag konnte nicht entfernt werden: %1\r\r"
                                          "Das Programm wird weiterhin bei jeder Anmeldung gestartet.");
const QString fileBox = QStringLiteral("Programmdatei");
} // namespace Texts

namespace {
namespace Layout {
const QSize window = Twips::size(5535, 2745);
const QRect frame = Twips::rect(120, 120, 5295, 2055);
const QRect explanation = Twips::rect(120, 300, 4935, 855);
const QRect programPath = Twips::rect(240, 1200, 4815, 285);
const QRect enterButton = Twips::rect(240, 1560, 2295, 375);
const QRect removeButton = Twips::rect(2760, 1560, 2295, 375);
const QRect backButton = Twips::rect(120, 2280, 1455, 375);
} // namespace Layout
} // namespace

AutostartWindow::AutostartWindow(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setUpWindow(this, QStringLiteral("autostartWindow"), Texts::caption, Texts::caption, Layout::window);
    WindowPlacement::centre(this);

    Frame *frame = Make::frame(QStringLiteral("frame"), Texts::frame, this, Layout::frame);
    frame->setCaptionColor(ProgramLook::captionBlue());
    Make::wrappedLabel(QStringLiteral("explanationLabel"), Texts::explanation, frame, Layout::explanation);

    m_programPath = new TextBox(frame);
    m_programPath->setObjectName(QStringLiteral("programPathBox"));
    m_programPath->setAccessibleName(Texts::fileBox);
    m_programPath->setReadOnly(true);
    m_programPath->setGeometry(Layout::programPath);

    auto *enterButton = new CommandButton(Texts::enter, CommandButton::Style::Push, frame);
    enterButton->setObjectName(QStringLiteral("enterButton"));
    enterButton->setIcon(Icons::named(QStringLiteral("autostart")));
    enterButton->setGeometry(Layout::enterButton);
    auto *removeButton = new CommandButton(Texts::remove, CommandButton::Style::Push, frame);
    removeButton->setObjectName(QStringLiteral("removeButton"));
    removeButton->setGeometry(Layout::removeButton);
    auto *backButton = new CommandButton(Texts::back, CommandButton::Style::Push, this);
    backButton->setObjectName(QStringLiteral("backButton"));
    backButton->setGeometry(Layout::backButton);
    for (CommandButton *button : {enterButton, removeButton, backButton})
        button->setAutoDefault(false);

    m_messages = new MessageDialog(this);

    connect(enterButton, &CommandButton::clicked, this, &AutostartWindow::enterAutostart);
    connect(removeButton, &CommandButton::clicked, this, &AutostartWindow::removeAutostart);
    connect(backButton, &CommandButton::clicked, this, &AutostartWindow::accept);

    setTabOrder(enterButton, removeButton);
    setTabOrder(removeButton, backButton);
    setTabOrder(backButton, m_programPath);
    enterButton->setFocus();

    m_programPath->setText(AutoRun::thisProgram());
}

void AutostartWindow::enterAutostart()
{
    const QString path = m_programPath->text();
    const StoreResult result = AutoRun::setAutoRun(AutoRun::entryNameFor(path), path);
    if (result.ok())
        m_messages->inform(Texts::messageTitle, Texts::entered, MessageDialog::Icon::Information);
    else
        m_messages->inform(Texts::messageTitle, Texts::failed + QStringLiteral("\r\r") + result.reason(),
                           MessageDialog::Icon::Stop);
}

void AutostartWindow::removeAutostart()
{
    // Where there was no entry, removing it is no failure.
    const StoreResult result = AutoRun::removeAutoRun(AutoRun::entryNameFor(m_programPath->text()));
    if (result.failed())
        m_messages->inform(Texts::messageTitle, Texts::notRemoved.arg(result.reason()),
                           MessageDialog::Icon::Stop);
    else
        m_messages->inform(Texts::messageTitle, Texts::removed, MessageDialog::Icon::Information);
}
