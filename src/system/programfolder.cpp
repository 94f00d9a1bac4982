#include "system/programfolder.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramFolder::path()
{
    // applicationDirPath() follows a link such as <prefix>/bin/zelk to the real folder.
    return QCoreApplication::applicationDirPath();
}

QString ProgramFolder::filePath(const QString &fileName)
{
    return QDir::toNativeSeparators(QDir(path()).filePath(fileName));
}
