// What the program asks of the system: the autostart entry, the help, one
// running program per user, and its windows' reach.
#include "support/table.h"
#include "support/testenvironment.h"
#include "system/autorun.h"
#include "system/helpviewer.h"
#include "system/singleinstance.h"
#include "system/windowreach.h"
#include "system/windowsystem.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using Outcome = HelpViewer::Result::Outcome;

struct Help
{
    QString chmViewer; // where the association is kept, none when empty
    bool xdgUtils;     // xdg-mime and xdg-open are there
    bool chmBuilt;
    bool pages;     // the HTML pages beside the program
    int openerExit; // xdg-open: 0 shows the file, 3 finds nothing to show it with
    QString file;   // opened, or (when missing) named
    Outcome outcome;
    bool notOpened; // told later that nothing showed it
};

struct Claim
{
    QString before;    // "files" of an earlier run, a "crash" holding the lock, "home" not writable
    QStringList first; // the places of the running program; none: the usual ones
    QStringList later; // the places of a later start
    bool found;        // the later start finds the running program
};

class TestSystem : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString m_systemPath;

    // A program named name in folder that notes how it was started in name.started, then ends with code.
    static QString standIn(const QString &folder, const char *name, int code)
    {
        const QString program = QDir(folder).filePath(QLatin1String(name));
        const QString script
            = u"#!/bin/sh\nprintf '%s' \"$*\" > '%1.started'\nexit %2\n"_s.arg(program).arg(code);
        writeFile(program, script.toUtf8(), true);
        return program;
    }

private slots:
    void initTestCase()
    {
        m_systemPath = qEnvironmentVariable("PATH");
        // A desktop session would send xdg-mime to that desktop's own tools.
        for (const char *name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(name);
    }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        qputenv("PATH", m_systemPath.toLocal8Bit());
        m_env.reset();
    }

    void autostartStartsExactlyThatFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("exec"); // the folder's part of the Exec line
        // Quoted; " ` $ \ escaped inside the quotes; then the string escapes
        // of every desktop-entry value (\\ \n \t).
        QTest::newRow("plain") << u"zelk"_s << u"zelk"_s;
        QTest::newRow("blank and quote") << uR"(Meine "Programme")"_s << uR"(Meine \\"Programme\\")"_s;
        QTest::newRow("dollar and backquote") << u"a$HOME`b`"_s << uR"(a\\$HOME\\`b\\`)"_s;
        QTest::newRow("backslash") << uR"(a\b)"_s << uR"(a\\\\b)"_s;
        QTest::newRow("tab and newline") << u"a\tb\nc"_s << uR"(a\tb\nc)"_s;
    }
    void autostartStartsExactlyThatFile()
    {
        QFETCH(QString, folder);
        const QString program = standIn(m_env->path() + u'/' + folder, "zelk", 0);
        // Entering again replaces the entry.
        QVERIFY(AutoRun::setAutoRun(u"zelk"_s, u"/opt/vorher/zelk"_s));
        QVERIFY(AutoRun::setAutoRun(u"zelk"_s, program));
        QCOMPARE(QDir(AutoRun::autostartFolder()).entryList(QDir::Files), QStringList{"zelk.desktop"});
        const QString entry = QDir(AutoRun::autostartFolder()).filePath(u"zelk.desktop"_s);
        QFETCH(QString, exec);
        QVERIFY(contentOf(entry).contains(u"\nExec=\"%1/%2/zelk\"\n"_s.arg(m_env->path(), exec).toUtf8()));

        const QString gio = QStandardPaths::findExecutable(u"gio"_s);
        if (gio.isEmpty())
            QSKIP("gio (Debian: libglib2.0-bin) is needed to launch a desktop entry");
        QCOMPARE(QProcess::execute(gio, {u"launch"_s, entry}), 0);
        // Started with no argument sneaked in.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program + u".started"_s), 10000);
        QCOMPARE(contentOf(program + u".started"_s), QByteArray());
    }

    // Windows takes the first word of a Run value as the program, split as splitCommand splits.
    void runValueStartsThatProgram_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("installed") << uR"(C:\Users\Anna\AppData\Local\Programs\Zelk 2010\zelk.exe)"_s;
        QTest::newRow("blanks and brackets") << uR"(C:\Program Files (x86)\Zelk 2010\zelk.exe)"_s;
    }
    void runValueStartsThatProgram()
    {
        QFETCH(QString, path);
        QCOMPARE(QProcess::splitCommand(AutoRun::runValue(path)), QStringList{path});
    }

    void autostartNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name"); // the entry's name; empty where the name is refused
        QTest::newRow("plain") << u"/opt/zelk/zelk"_s << u"zelk"_s;
        QTest::newRow("extension") << u"/opt/zelk/zelk.bin"_s << u"zelk"_s;
        QTest::newRow("dot in folder") << u"/opt/zelk.2010/zelk"_s << u"zelk"_s;
        QTest::newRow("two dots") << u"/opt/archive.tar.gz"_s << u"archive.tar"_s;
        // Names never leave the autostart folder.
        QTest::newRow("parent") << u".."_s << u""_s;
        QTest::newRow("slash") << u"../zelk"_s << u""_s;
        QTest::newRow("empty") << u""_s << u""_s;
    }
    void autostartNames()
    {
        QFETCH(QString, path);
        if (path.startsWith(u'/')) {
            QTEST(AutoRun::entryNameFor(path), "name");
            return;
        }
        QVERIFY(!AutoRun::setAutoRun(path, u"/opt/zelk/zelk"_s));
        QVERIFY(!AutoRun::removeAutoRun(path));
        QVERIFY(!QFile::exists(m_env->filePath("config/zelk.desktop")));
    }

    // The CHM association is made the way a viewer's package makes it and
    // read back by the real xdg-mime; xdg-open is a stand-in that says
    // whether it found something to show the file with.
    void showHelp_data()
    {
        const QString cache = u"applications/mimeinfo.cache"_s;
        const QString chosen = u"mimeapps.list"_s;
        const QString pages = u"help/index.html"_s;
        const QString chm = u"zelk.chm"_s;
        // clang-format off
        table<Help>({
            {"no CHM viewer", {"", true, true, true, 0, pages, Outcome::Opening, false}},
            {"CHM viewer installed", {cache, true, true, true, 0, chm, Outcome::Opening, false}},
            {"CHM viewer chosen by the user", {chosen, true, true, true, 0, chm, Outcome::Opening, false}},
            {"CHM viewer, no compiled help", {chosen, true, false, true, 0, pages, Outcome::Opening, false}},
            {"CHM viewer, no pages", {chosen, true, true, false, 0, chm, Outcome::Opening, false}},
            // xdg-open found no browser: it says so only when it ends, and so does the program.
            {"nothing to show the pages with", {"", true, true, true, 3, pages, Outcome::Opening, true}},
            {"no xdg-utils", {chosen, false, true, true, 0, pages, Outcome::Opening, true}},
            // Windows always has a CHM viewer and no pages: a missing help file is named.
            {"CHM viewer, nothing beside the program", {chosen, true, false, false, 0, chm, Outcome::Missing, false}},
            {"no CHM viewer, no pages", {"", true, true, false, 0, pages, Outcome::Missing, false}},
        });
        // clang-format on
    }
    void showHelp()
    {
        QFETCH(Help, row);
        if (row.xdgUtils && QStandardPaths::findExecutable(u"xdg-mime"_s).isEmpty())
            QSKIP("xdg-mime is not installed (Debian: xdg-utils)");
        const QString chm = m_env->filePath("program/zelk.chm");
        const QString index = m_env->filePath("program/help/index.html");
        for (const QString &file : {row.pages ? index : QString(), row.chmBuilt ? chm : QString()}) {
            if (!file.isEmpty())
                writeFile(file, {});
        }
        // A viewer's package installs a desktop entry and update-desktop-database
        // lists it in mimeinfo.cache; a user's choice goes to mimeapps.list.
        if (!row.chmViewer.isEmpty()) {
            writeFile(m_env->filePath("data/applications/chmviewer.desktop"),
                      "[Desktop Entry]\nType=Application\nName=CHM\nExec=chmviewer %f\n"
                      "MimeType=application/vnd.ms-htmlhelp;\n");
            const bool cache = row.chmViewer.endsWith(u".cache"_s);
            writeFile(m_env->path() + (cache ? u"/data/"_s : u"/config/"_s) + row.chmViewer,
                      cache ? "[MIME Cache]\napplication/vnd.ms-htmlhelp=chmviewer.desktop;\n"
                            : "[Default Applications]\napplication/vnd.ms-htmlhelp=chmviewer.desktop\n");
        }
        // Only this test's associations count, not those of the machine's packages.
        qputenv("XDG_DATA_DIRS", m_env->filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", m_env->filePath("config").toLocal8Bit());
        const QString bin = m_env->filePath("bin");
        const QString opener = standIn(bin, "xdg-open", row.openerExit);
        if (!row.xdgUtils)
            QFile::remove(opener);
        qputenv("PATH", (row.xdgUtils ? bin + u':' + m_systemPath : bin).toLocal8Bit());

        QObject context;
        QStringList notOpened;
        const HelpViewer::Result result = HelpViewer::showHelp(
            chm, index, &context, [&notOpened](const QString &file) { notOpened << file; });
        const QString file = m_env->path() + u"/program/"_s + row.file;
        QCOMPARE(result.outcome, row.outcome);
        QCOMPARE(result.file, file);
        if (row.outcome == Outcome::Missing)
            return;
        if (row.notOpened)
            QTRY_COMPARE(notOpened, QStringList{file});
        else
            QTRY_COMPARE(QString::fromUtf8(contentOf(opener + u".started"_s)), file);
        QCOMPARE(notOpened.size(), int(row.notOpened));
    }

    // The window that asked is closed just as the opener has found nothing: it hears nothing more.
    void windowClosedBeforeTheOpenerEnds()
    {
        const QString pid = m_env->filePath("opener.pid");
        writeFile(m_env->filePath("bin/xdg-open"), u"#!/bin/sh\necho $$ > '%1'\nexit 3\n"_s.arg(pid).toUtf8(),
                  true);
        qputenv("PATH", (m_env->filePath("bin") + u':' + m_systemPath).toLocal8Bit());
        const QString index = m_env->filePath("index.html");
        writeFile(index, {});
        auto *window = new QWidget;
        int told = 0;
        HelpViewer::showHelp({}, index, window, [&told](const QString &) { ++told; });
        // Ended (a zombie, or gone), but the program has not heard of it: no events run until the window is
        // gone.
        const auto ended = [&pid] {
            const QByteArray stat
                = contentOf(u"/proc/"_s + QString::fromUtf8(contentOf(pid)).trimmed() + u"/stat"_s);
            return QFile::exists(pid) && (stat == "(missing)" || stat.contains(") Z "));
        };
        QDeadlineTimer limit(10000);
        while (!limit.hasExpired() && !ended())
            QThread::msleep(10);
        QVERIFY(!limit.hasExpired());
        delete window;
        QCoreApplication::processEvents();
        QCOMPARE(told, 0);
    }
    void secondStartWakesTheFirst()
    {
        SingleInstance first({m_env->path()});
        QCOMPARE(first.claim(), SingleInstance::Role::Primary);
        QSignalSpy woken(&first, &SingleInstance::wakeRequested);
        // The first later start comes with an activation token, the second without one.
        const QStringList tokens{u"launcher-token-1"_s, QString()};
        for (const QString &token : tokens) {
            qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
            SingleInstance later({m_env->path()});
            QCOMPARE(later.claim(), SingleInstance::Role::Secondary);
            QVERIFY(later.wakePrimary());
            QTRY_COMPARE(woken.size(), tokens.indexOf(token) + 1);
            QCOMPARE(woken.last().at(0).toString(), token);
        }
        qunsetenv("XDG_ACTIVATION_TOKEN");
        // Each note is taken away, so that it wakes the program only once.
        QVERIFY(QDir(m_env->path()).entryList({u"*.wake"_s}, QDir::Files).isEmpty());
    }

    void claim_data()
    {
        // clang-format off
        table<Claim>({
            {"nothing before", {"", {"a"}, {"a"}, true}},
            // The lock and a wake-up note of an earlier run: neither is written nor obeyed.
            {"an earlier run's files", {"files", {"a"}, {"a"}, true}},
            {"a program that crashed holding the lock", {"crash", {"a"}, {"a"}, true}},
            // A file where the folder belongs: better two programs than none.
            {"no place usable", {"", {"file"}, {"file"}, false}},
            {"the first place unusable", {"", {"file", "a"}, {"file", "a"}, true}},
            // Autostart may run without the runtime folder a manual start has.
            {"starts that see other places", {"", {"a"}, {"b", "a"}, true}},
            {"the usual places, home not writable", {"home", {}, {}, true}},
        });
        // clang-format on
    }
    void claim()
    {
        QFETCH(Claim, row);
        const auto places = [this](const QStringList &names) {
            QStringList folders;
            for (const QString &name : names)
                folders << m_env->path() + u'/' + name;
            return folders;
        };
        QFile(m_env->filePath("file")).open(QIODevice::WriteOnly);
        const QString lock = m_env->filePath("a/zelk.lock");
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        if (row.before == u"files"_s) {
            QDir().mkpath(m_env->filePath("a"));
            for (const char *name : {"a/zelk.lock", "a/zelk.wake"}) {
                QFile file(m_env->filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly)
                        && file.setFileTime(old, QFileDevice::FileModificationTime));
            }
        } else if (row.before == u"crash"_s) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                SingleInstance crashing(places(row.first));
                crashing.claim();
                raise(SIGKILL);
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFSIGNALED(status) && QFile::exists(lock));
        } else if (row.before == u"home"_s) {
            // Nothing can be made there, not even by root.
            qputenv("HOME", m_env->filePath("file").toLocal8Bit());
            qputenv("XDG_DATA_HOME", m_env->filePath("file").toLocal8Bit());
        }
        // Two rounds of a program and a later start.
        for (int round = 1; round <= 2; ++round) {
            SingleInstance running(places(row.first));
            QCOMPARE(running.claim(), SingleInstance::Role::Primary);
            SingleInstance later(places(row.later));
            QCOMPARE(later.claim(),
                     row.found ? SingleInstance::Role::Secondary : SingleInstance::Role::Primary);
            QCOMPARE(later.folder(), running.folder());
            if (!row.found)
                continue;
            // Nothing written for the lock: a start never waits for the disk.
            QCOMPARE(QFileInfo(running.folder() + u"/zelk.lock"_s).size(), 0);
            QCOMPARE(QDir(running.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"zelk.lock"});
            if (row.before == u"files"_s)
                QCOMPARE(QFileInfo(lock).lastModified(), old);
        }
    }

    void platformRequest_data()
    {
        QTest::addColumn<QByteArray>("userChoice");
        QTest::addColumn<QByteArray>("waylandDisplay");
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("X11 session: Qt's own choice") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("Wayland session: XWayland first")
            << QByteArray() << QByteArray("wayland-0") << QByteArray("xcb;wayland");
        QTest::newRow("the user's native Wayland stays")
            << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray();
        QTest::newRow("the user's offscreen stays")
            << QByteArray("offscreen") << QByteArray("wayland-0") << QByteArray();
    }
    void platformRequest()
    {
        QFETCH(QByteArray, userChoice);
        QFETCH(QByteArray, waylandDisplay);
        QTEST(WindowSystem::platformRequest(userChoice, waylandDisplay), "request");
    }

    // A window that never takes the keyboard is not asked for ever.
    void activationGivesUp()
    {
        QWidget window(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        WindowReach::activate(&window);
        QCOMPARE(window.findChildren<QTimer *>().size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(window.findChildren<QTimer *>().isEmpty(), 5000);
        QVERIFY(!window.isActiveWindow());
    }
};

QTEST_MAIN(TestSystem)
#include "tst_system.moc"
