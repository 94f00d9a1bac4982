#include "support/testenvironment.h"
#include "system/helpviewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

// Takes the desktop's place for local files and records what it is given.
class FileCatcher : public QObject
{
    Q_OBJECT

public:
    FileCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "handle"); }
    ~FileCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void handle(const QUrl &url) { urls.append(url); }
};

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
    for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        qunsetenv(name);
}

// clang-format off
void TestHelpViewer::showHelp_data()
{
    QTest::addColumn<bool>("chmViewer");
    QTest::addColumn<bool>("xdgUtils");
    QTest::addColumn<bool>("chmBuilt");
    QTest::addColumn<QString>("opened");

    QTest::newRow("no CHM viewer") << false << true << true << "help/index.html";
    QTest::newRow("CHM viewer registered") << true << true << true << "zelk.chm";
    QTest::newRow("CHM viewer, no compiled help") << true << true << false << "help/index.html";
    QTest::newRow("no xdg-utils to ask") << true << false << true << "help/index.html";
}
// clang-format on

void TestHelpViewer::showHelp()
{
    QFETCH(bool, chmViewer);
    QFETCH(bool, xdgUtils);
    QFETCH(bool, chmBuilt);
    QFETCH(QString, opened);

    if (xdgUtils && QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        QSKIP("xdg-mime is not installed (Debian: xdg-utils)");

    TestEnvironment env;
    QDir dir(env.path());
    QVERIFY(dir.mkpath(QStringLiteral("program/help")));
    const QString chm = dir.filePath(QStringLiteral("program/zelk.chm"));
    const QString index = dir.filePath(QStringLiteral("program/help/index.html"));
    for (const QString &file : {index, chmBuilt ? chm : QString()}) {
        QFile page(file);
        if (!file.isEmpty())
            QVERIFY(page.open(QIODevice::WriteOnly));
    }
    if (chmViewer) {
        QVERIFY(dir.mkpath(QStringLiteral("data/applications")));
        QFile entry(dir.filePath(QStringLiteral("data/applications/chmviewer.desktop")));
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=CHM\nExec=chmviewer %f\n"
                    "MimeType=application/vnd.ms-htmlhelp;\n");
        entry.close();
        QFile list(dir.filePath(QStringLiteral("config/mimeapps.list")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("[Default Applications]\napplication/vnd.ms-htmlhelp=chmviewer.desktop\n");
    }
    qputenv("PATH", xdgUtils ? m_systemPath.toLocal8Bit() : env.path().toLocal8Bit());

    FileCatcher catcher;
    const bool shown = HelpViewer::showHelp(chm, index);
    qputenv("PATH", m_systemPath.toLocal8Bit());
    QVERIFY(shown);
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(dir.filePath(QStringLiteral("program/") + opened))});
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
