#include "support/testenvironment.h"
#include "support/urlcatcher.h"
#include "system/helpviewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

// The CHM association is made the way a viewer's package makes it and read
// back by the real xdg-mime.
class TestHelpViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showHelp_data();
    void showHelp();

private:
    QString m_systemPath;
};

void TestHelpViewer::initTestCase()
{
    m_systemPath = qEnvironmentVariable("PATH");
    // A desktop session would send xdg-mime to that desktop's own tools.
    for (const char *name :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        qunsetenv(name);
}

// clang-format off
void TestHelpViewer::showHelp_data()
{
    QTest::addColumn<QString>("chmViewer"); // where the association is kept
    QTest::addColumn<bool>("xdgUtils");
    QTest::addColumn<bool>("chmBuilt");
    QTest::addColumn<bool>("pages");        // the HTML pages beside the program
    QTest::addColumn<QString>("opened");    // or, when "missing", the file named
    QTest::addColumn<bool>("missing");

    QTest::newRow("no CHM viewer") << "" << true << true << true << "help/index.html" << false;
    QTest::newRow("CHM viewer installed") << "applications/mimeinfo.cache" << true << true << true << "zelk.chm" << false;
    QTest::newRow("CHM viewer chosen by the user") << "mimeapps.list" << true << true << true << "zelk.chm" << false;
    QTest::newRow("CHM viewer, no compiled help") << "mimeapps.list" << true << false << true << "help/index.html" << false;
    QTest::newRow("no xdg-utils to ask") << "mimeapps.list" << false << true << true << "help/index.html" << false;
    QTest::newRow("CHM viewer, no pages") << "mimeapps.list" << true << true << false << "zelk.chm" << false;
    // Windows always has a CHM viewer and no pages: a missing help file is named.
    QTest::newRow("CHM viewer, nothing beside the program") << "mimeapps.list" << true << false << false << "zelk.chm" << true;
    QTest::newRow("no CHM viewer, no pages") << "" << true << true << false << "help/index.html" << true;
}
// clang-format on

void TestHelpViewer::showHelp()
{
    QFETCH(QString, chmViewer);
    QFETCH(bool, xdgUtils);
    QFETCH(bool, chmBuilt);
    QFETCH(bool, pages);
    QFETCH(QString, opened);
    QFETCH(bool, missing);

    if (xdgUtils && QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        QSKIP("xdg-mime is not installed (Debian: xdg-utils)");

    TestEnvironment env;
    QDir dir(env.path());
    QVERIFY(dir.mkpath(QStringLiteral("program/help")));
    const QString chm = dir.filePath(QStringLiteral("program/zelk.chm"));
    const QString index = dir.filePath(QStringLiteral("program/help/index.html"));
    for (const QString &file : {pages ? index : QString(), chmBuilt ? chm : QString()}) {
        QFile page(file);
        if (!file.isEmpty())
            QVERIFY(page.open(QIODevice::WriteOnly));
    }
    // A viewer's package installs a desktop entry and update-desktop-database
    // lists it in mimeinfo.cache; a user's choice goes to mimeapps.list.
    QVERIFY(dir.mkpath(QStringLiteral("data/applications")));
    if (!chmViewer.isEmpty()) {
        QFile entry(dir.filePath(QStringLiteral("data/applications/chmviewer.desktop")));
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=CHM\nExec=chmviewer %f\n"
                    "MimeType=application/vnd.ms-htmlhelp;\n");
        entry.close();
        const bool cache = chmViewer.endsWith(QLatin1String(".cache"));
        QFile list(dir.filePath((cache ? QStringLiteral("data/") : QStringLiteral("config/")) + chmViewer));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(cache ? "[MIME Cache]\napplication/vnd.ms-htmlhelp=chmviewer.desktop;\n"
                         : "[Default Applications]\napplication/vnd.ms-htmlhelp=chmviewer.desktop\n");
    }
    // Only this test's associations count, not those of the machine's packages.
    qputenv("XDG_DATA_DIRS", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("PATH", xdgUtils ? m_systemPath.toLocal8Bit() : env.path().toLocal8Bit());

    UrlCatcher catcher({QStringLiteral("file")});
    const HelpViewer::Result result = HelpViewer::showHelp(chm, index);
    qputenv("PATH", m_systemPath.toLocal8Bit());
    const QString file = dir.filePath(QStringLiteral("program/") + opened);
    QCOMPARE(result.outcome,
             missing ? HelpViewer::Result::Outcome::Missing : HelpViewer::Result::Outcome::Shown);
    QCOMPARE(result.file, file);
    QCOMPARE(catcher.urls, missing ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(file)});
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
