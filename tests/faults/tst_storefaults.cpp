// Every way of storing something the user keeps, against every file-system
// fault a user meets, with real permissions: the test runs as an ordinary
// user (asuser.sh arranges that when the suite runs as root).
#include "settings/settingsstore.h"
#include "support/messagerecorder.h"
#include "support/popups.h"
#include "support/table.h"
#include "support/testenvironment.h"
#include "system/autorun.h"
#include "ui/calculator/calculatorboxes.h"
#include "ui/controls/commandbutton.h"
#include "ui/controls/textbox.h"
#include "ui/main/mainwindow.h"
#include "ui/setup/autostartwindow.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

enum class Operation { RateSave, RateDelete, ListAdd, ListRemove, AutostartEnter, AutostartRemove };
enum class Fault { ReadOnlyFolder, ReadOnlyFile, UnreadableFile, FolderIsFile, FullDisk };

// What a folder holds, as far as the test user can see it: names, sizes,
// times, permissions and the bytes of every readable file. For a file in the
// folder's place, that file alone.
QString snapshot(const QString &path)
{
    QString text;
    const QFileInfoList items = QFileInfo(path).isDir()
        ? QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        : QFileInfoList{QFileInfo(path)};
    for (const QFileInfo &item : items) {
        QFile file(item.absoluteFilePath());
        text += u"%1 %2 %3 %4 "_s.arg(item.fileName())
                    .arg(item.size())
                    .arg(item.lastModified().toMSecsSinceEpoch())
                    .arg(int(item.permissions()))
            + QString::fromLatin1(item.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll().toHex()
                                                                                  : "")
            + u'\n';
    }
    return text;
}

} // namespace

struct Row
{
    Operation operation;
    Fault fault;
    QString message;   // empty: no message; otherwise the icon, "|", the message's start
    QString cause;     // named in the message; the place is checked apart
    QStringList shown; // what the program shows afterwards ("-" where it shows nothing)
    bool changes;      // the operation succeeds and so changes the disk
};

class TestStoreFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString m_filler;
    QString m_lockedFolder;

    // The file that the operation changes, below the test environment, and what it holds before.
    static std::pair<QString, QByteArray> storeOf(Operation operation)
    {
        switch (operation) {
        case Operation::RateSave:
        case Operation::RateDelete:
            return {SettingsStore::location(u"Zelk_2010"_s), "[Zelk_Satz]\nx.Text=16\n"};
        case Operation::ListAdd:
        case Operation::ListRemove:
            return {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/zelk.dat"_s,
                    "# Zelk. 2010 entry list 1\n16\n5,5\n"};
        case Operation::AutostartEnter:
        case Operation::AutostartRemove:
            return {AutoRun::autostartFolder() + u'/'
                        + AutoRun::entryNameFor(QCoreApplication::applicationFilePath()) + u".desktop"_s,
                    "[Desktop Entry]\nType=Application\nExec=/alt/zelk\n"};
        }
        return {};
    }

    // A new main window, as after "Ansicht wechseln" and back: it shows what
    // it reads now. Its list belongs to an installed program, whose folder
    // cannot be written, so the list lives in the user's data folder.
    TextBox *rateBox(MainWindow *window) const
    {
        window->show();
        window->findChild<CalculatorBoxes *>()->useStoredValues(m_env->filePath("program/zelk.dat"));
        return window->findChild<TextBox *>(u"rateBox"_s);
    }

    void run(Operation operation)
    {
        if (operation == Operation::AutostartEnter || operation == Operation::AutostartRemove) {
            AutostartWindow window;
            window.show();
            const char *button = operation == Operation::AutostartEnter ? "enterButton" : "removeButton";
            window.findChild<CommandButton *>(QLatin1String(button))->click();
            return;
        }
        MainWindow window;
        TextBox *box = rateBox(&window);
        box->setText(QLatin1String(operation == Operation::ListAdd ? "12" : "7"));
        if (operation == Operation::RateSave || operation == Operation::RateDelete) {
            const char *command = operation == Operation::RateSave ? "saveRateAction" : "deleteRateAction";
            window.findChild<QAction *>(QLatin1String(command))->trigger();
            QCoreApplication::sendPostedEvents(); // a menu entry's command runs after the menu has returned
        } else {
            // Adding 12, or removing the second entry the list shows (after its caption).
            useStoredValues(box,
                            operation == Operation::ListAdd ? u"add"_s
                                                            : u"remove "_s + useStoredValues(box).value(2));
        }
    }

    QStringList shownAfterwards(Operation operation)
    {
        MainWindow window;
        TextBox *box = rateBox(&window);
        if (operation == Operation::RateSave || operation == Operation::RateDelete)
            return {box->text()};
        return useStoredValues(box).mid(1);
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() == 0)
            QSKIP("Root may write everywhere, so no fault shows: tests/faults/asuser.sh runs it as a user.");
    }
    void cleanup()
    {
        // Give the test environment back its permissions, so that it can be removed.
        if (!m_lockedFolder.isEmpty())
            QFile::setPermissions(m_lockedFolder,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_lockedFolder.clear();
        if (!m_filler.isEmpty())
            QFile::remove(m_filler);
        m_filler.clear();
        m_env.reset();
    }

    void faults_data()
    {
        const QString rateSave = u"stop|Der Mehrwertsteuersatz konnte nicht gespeichert werden: "_s;
        const QString rateDelete
            = u"stop|Der gespeicherte Mehrwertsteuersatz konnte nicht gelöscht werden: "_s;
        const QString listAdd = u"stop|Der Wert „12“ konnte nicht in die Liste aufgenommen werden: "_s;
        const QString listRemove5 = u"stop|Der Wert „5,5“ konnte nicht aus der Liste entfernt werden: "_s;
        const QString listRemove7 = u"stop|Der Wert „7“ konnte nicht aus der Liste entfernt werden: "_s;
        const QString enter = u"stop|Der Eintrag ist fehlgeschlagen!\r\r"_s;
        const QString remove = u"stop|Der Eintrag konnte nicht entfernt werden: "_s;
        const QString removed = u"information|Der Eintrag wurde entfernt!"_s;

        const QString readOnly = u"ist schreibgeschützt."_s;
        const QString unreadable = u"kann nicht gelesen werden."_s;
        const QString notFolder = u"ist kein Ordner, sondern eine Datei."_s;
        const QString full = u"ist kein Platz mehr frei."_s;

        // clang-format off
        table<Row>({
            {"rate save, read-only folder", {Operation::RateSave, Fault::ReadOnlyFolder, rateSave, readOnly, {"16"}, false}},
            {"rate save, read-only file", {Operation::RateSave, Fault::ReadOnlyFile, rateSave, readOnly, {"16"}, false}},
            {"rate save, unreadable file", {Operation::RateSave, Fault::UnreadableFile, rateSave, unreadable, {"19"}, false}},
            {"rate save, folder is a file", {Operation::RateSave, Fault::FolderIsFile, rateSave, notFolder, {"19"}, false}},
            {"rate save, full disk", {Operation::RateSave, Fault::FullDisk, rateSave, full, {"16"}, false}},
            {"rate delete, read-only folder", {Operation::RateDelete, Fault::ReadOnlyFolder, rateDelete, readOnly, {"16"}, false}},
            {"rate delete, read-only file", {Operation::RateDelete, Fault::ReadOnlyFile, rateDelete, readOnly, {"16"}, false}},
            {"rate delete, unreadable file", {Operation::RateDelete, Fault::UnreadableFile, rateDelete, unreadable, {"19"}, false}},
            // Nothing can be stored there, so there is nothing to delete: no message.
            {"rate delete, folder is a file", {Operation::RateDelete, Fault::FolderIsFile, QString(), QString(), {"19"}, false}},
            {"rate delete, full disk", {Operation::RateDelete, Fault::FullDisk, rateDelete, full, {"16"}, false}},
            {"list add, read-only folder", {Operation::ListAdd, Fault::ReadOnlyFolder, listAdd, readOnly, {"16", "5,5"}, false}},
            {"list add, read-only file", {Operation::ListAdd, Fault::ReadOnlyFile, listAdd, readOnly, {"16", "5,5"}, false}},
            {"list add, unreadable file", {Operation::ListAdd, Fault::UnreadableFile, listAdd, unreadable, {"19", "7"}, false}},
            {"list add, folder is a file", {Operation::ListAdd, Fault::FolderIsFile, listAdd, notFolder, {"19", "7"}, false}},
            {"list add, full disk", {Operation::ListAdd, Fault::FullDisk, listAdd, full, {"16", "5,5"}, false}},
            {"list remove, read-only folder", {Operation::ListRemove, Fault::ReadOnlyFolder, listRemove5, readOnly, {"16", "5,5"}, false}},
            {"list remove, read-only file", {Operation::ListRemove, Fault::ReadOnlyFile, listRemove5, readOnly, {"16", "5,5"}, false}},
            {"list remove, unreadable file", {Operation::ListRemove, Fault::UnreadableFile, listRemove7, unreadable, {"19", "7"}, false}},
            {"list remove, folder is a file", {Operation::ListRemove, Fault::FolderIsFile, listRemove7, notFolder, {"19", "7"}, false}},
            {"list remove, full disk", {Operation::ListRemove, Fault::FullDisk, listRemove5, full, {"16", "5,5"}, false}},
            {"autostart enter, read-only folder", {Operation::AutostartEnter, Fault::ReadOnlyFolder, enter, readOnly, {"-"}, false}},
            {"autostart enter, read-only file", {Operation::AutostartEnter, Fault::ReadOnlyFile, enter, readOnly, {"-"}, false}},
            // Replacing it would keep its permissions, and the desktop could not read the new entry either.
            {"autostart enter, unreadable file", {Operation::AutostartEnter, Fault::UnreadableFile, enter, unreadable, {"-"}, false}},
            {"autostart enter, folder is a file", {Operation::AutostartEnter, Fault::FolderIsFile, enter, notFolder, {"-"}, false}},
            {"autostart enter, full disk", {Operation::AutostartEnter, Fault::FullDisk, enter, full, {"-"}, false}},
            {"autostart remove, read-only folder", {Operation::AutostartRemove, Fault::ReadOnlyFolder, remove, readOnly, {"-"}, false}},
            {"autostart remove, read-only file", {Operation::AutostartRemove, Fault::ReadOnlyFile, remove, readOnly, {"-"}, false}},
            // Removing needs neither reading the entry nor room on the disk: these succeed.
            {"autostart remove, unreadable file", {Operation::AutostartRemove, Fault::UnreadableFile, removed, QString(), {"-"}, true}},
            {"autostart remove, folder is a file", {Operation::AutostartRemove, Fault::FolderIsFile, removed, QString(), {"-"}, false}},
            {"autostart remove, full disk", {Operation::AutostartRemove, Fault::FullDisk, removed, QString(), {"-"}, true}},
        });
        // clang-format on
    }
    void faults()
    {
        QFETCH(Row, row);
        const QString base
            = row.fault == Fault::FullDisk ? qEnvironmentVariable("ZELK_SMALL_FS") : QDir::tempPath();
        if (base.isEmpty())
            QSKIP("No small file system to fill: asuser.sh mounts a tmpfs when run as root.");
        m_env = std::make_unique<TestEnvironment>(base);
        QVERIFY(QDir().mkpath(m_env->filePath("program")));
        QVERIFY(QFile::setPermissions(m_env->filePath("program"),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));

        const auto [file, stored] = storeOf(row.operation);
        const QString folder = QFileInfo(file).absolutePath();
        if (row.fault == Fault::FolderIsFile)
            writeFile(folder, QByteArrayLiteral("kein Ordner\n"));
        else
            writeFile(file, stored);
        if (QTest::currentTestFailed())
            return;
        switch (row.fault) {
        case Fault::ReadOnlyFolder:
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            m_lockedFolder = folder;
            break;
        case Fault::ReadOnlyFile:
            QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
            break;
        case Fault::UnreadableFile:
            QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
            break;
        case Fault::FolderIsFile:
            break;
        case Fault::FullDisk:
            m_filler = QDir(base).filePath(u"filler-"_s + QFileInfo(m_env->path()).fileName());
            QFile filler(m_filler);
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'x')) > 0) { }
            QVERIFY2(filler.error() == QFileDevice::ResourceError, qPrintable(filler.errorString()));
            break;
        }
        const QString before = snapshot(folder);

        MessageRecorder messages;
        run(row.operation);

        // The row.message: none, or one that says what failed, why and where.
        if (row.message.isEmpty()) {
            QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.seen().join(u'/')));
        } else {
            QCOMPARE(messages.messages.size(), 1);
            const MessageDialog::Message &shownMessage = messages.messages.constFirst();
            const QString seen
                = QLatin1String(shownMessage.icon == MessageDialog::Icon::Stop ? "stop|" : "information|")
                + shownMessage.text;
            QVERIFY2(seen.startsWith(row.message), qPrintable(seen));
            if (!row.cause.isEmpty()) {
                QVERIFY2(seen.contains(row.cause), qPrintable(seen));
                // The place named is the folder or the file concerned (or, when full, the folder).
                const QString place
                    = row.fault == Fault::ReadOnlyFile || row.fault == Fault::UnreadableFile ? file : folder;
                QVERIFY2(seen.contains(u"„%1“"_s.arg(QDir::toNativeSeparators(place))), qPrintable(seen));
            }
        }

        // The disk: unchanged after every failure.
        if (row.changes)
            QVERIFY(!QFileInfo::exists(file));
        else
            QCOMPARE(snapshot(folder), before);

        // The program: shows what is stored.
        if (row.shown != QStringList{u"-"_s})
            QCOMPARE(shownAfterwards(row.operation), row.shown);
    }
};

QTEST_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
