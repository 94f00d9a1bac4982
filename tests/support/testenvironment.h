#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Writes the file whole, its folder made first; executable when asked.
inline void writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// The file's bytes, or "(missing)".
inline QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Points HOME, the XDG folders and the temporary folder at a fresh folder of
// its own, so that no test reads or writes the real user's settings,
// autostart entries, data files or the lock of a program running beside it.
class TestEnvironment
{
public:
    // Below base, a temporary folder unless told (a small file system, to fill it).
    explicit TestEnvironment(const QString &base = QDir::tempPath())
        : m_dir(QDir(base).filePath(QStringLiteral("zelk-test-XXXXXX")))
    {
        for (const char *folder : {"config", "data", "runtime", "tmp"})
            QDir(path()).mkpath(QLatin1String(folder));
        qputenv("HOME", path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", filePath("data").toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", filePath("runtime").toLocal8Bit());
        qputenv("TMPDIR", filePath("tmp").toLocal8Bit());
    }
    ~TestEnvironment() { qputenv("TMPDIR", m_tmp); }
    Q_DISABLE_COPY(TestEnvironment)
    QString path() const { return m_dir.path(); }
    QString filePath(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private:
    QByteArray m_tmp = qgetenv("TMPDIR");
    QTemporaryDir m_dir;
};
