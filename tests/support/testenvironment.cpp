#include "support/testenvironment.h"

#include <QDir>

TestEnvironment::TestEnvironment()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", QDir(m_dir.path()).filePath(QStringLiteral("data")).toLocal8Bit());
}

QString TestEnvironment::configHome() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("config"));
}
