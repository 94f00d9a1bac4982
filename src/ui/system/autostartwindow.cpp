#include "ui/system/autostartwindow.h"

#include "system/autorun.h"
#include "system/programfolder.h"
#include "system/windowplacement.h"
#include "ui/controls/bgrcolor.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/icons.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"
#include "ui/controls/twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

AutostartWindow::AutostartWindow(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("autostart1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Texts::caption);
    setAccessibleName(Texts::caption);
    setFixedSize(Twips::size(5535, 2745));
    WindowPlacement::centre(this);

    auto *frames1 = new Frame(Texts::frame, this);
    frames1->setObjectName(QStringLiteral("Frames1"));
    frames1->setCaptionColor(BgrColor::toColor(0xFF0000));
    frames1->setGeometry(Twips::rect(120, 120, 5295, 2055));

    auto *label1 = new QLabel(Texts::explanation, frames1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1->setGeometry(Twips::rect(120, 300, 4935, 855));

    m_txtFilename = new TextBox(frames1);
    m_txtFilename->setObjectName(QStringLiteral("txtFilename"));
    m_txtFilename->setAccessibleName(Texts::fileBox);
    m_txtFilename->setLocked(true);
    m_txtFilename->setGeometry(Twips::rect(240, 1200, 4815, 285));

    auto *command1 = new CommandButton(Texts::enter, CommandButton::Style::Push, frames1);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setIcon(Icons::named(QStringLiteral("autostart")));
    command1->setGeometry(Twips::rect(240, 1560, 2295, 375));
    auto *command3 = new CommandButton(Texts::remove, CommandButton::Style::Push, frames1);
    command3->setObjectName(QStringLiteral("Command3"));
    command3->setGeometry(Twips::rect(2760, 1560, 2295, 375));
    auto *command2 = new CommandButton(Texts::back, CommandButton::Style::Push, this);
    command2->setObjectName(QStringLiteral("Command2"));
    command2->setGeometry(Twips::rect(120, 2280, 1455, 375));
    for (CommandButton *button : {command1, command3, command2})
        button->setAutoDefault(false);

    m_messages = new MessageDialog(this);

    connect(command1, &CommandButton::clicked, this, &AutostartWindow::onCommand1Clicked);
    connect(command3, &CommandButton::clicked, this, &AutostartWindow::onCommand3Clicked);
    connect(command2, &CommandButton::clicked, this, &AutostartWindow::accept);

    setTabOrder(command1, command3);
    setTabOrder(command3, command2);
    setTabOrder(command2, m_txtFilename);
    command1->setFocus();

    // The program's folder, the separator and the executable's name; on Windows
    // the name always ends in ".exe", whatever the file was started as.
    const QFileInfo program(QCoreApplication::applicationFilePath());
#ifdef Q_OS_WIN
    const QString executable = program.completeBaseName() + QStringLiteral(".exe");
#else
    const QString executable = program.fileName();
#endif
    m_txtFilename->setText(QDir::toNativeSeparators(ProgramFolder::path()) + QDir::separator() + executable);
}

QString AutostartWindow::valueName(const QString &path)
{
    const QString fileName = path.mid(path.lastIndexOf(QDir::separator()) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

void AutostartWindow::onCommand1Clicked()
{
    const QString path = m_txtFilename->text();
    const StoreResult result = AutoRun::SetAutoRun(valueName(path), path);
    if (result.ok())
        m_messages->inform(Texts::messageTitle, Texts::entered, MessageDialog::Icon::Information);
    else
        m_messages->inform(Texts::messageTitle, Texts::failed + QStringLiteral("\r\r") + result.reason(),
                           MessageDialog::Icon::Stop);
}

void AutostartWindow::onCommand3Clicked()
{
    // Where there was no entry, removing it is no failure.
    const StoreResult result = AutoRun::RemoveAutoRun(valueName(m_txtFilename->text()));
    if (result.failed())
        m_messages->inform(Texts::messageTitle, Texts::notRemoved.arg(result.reason()), MessageDialog::Icon::Stop);
    else
        m_messages->inform(Texts::messageTitle, Texts::removed, MessageDialog::Icon::Information);
}
