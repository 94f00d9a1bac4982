#pragma once

#include <QString>

// The folder of the running executable and the files expected beside it.
namespace ProgramFolder {

QString path();
QString filePath(const QString &fileName);

// The rate box's list of entries as it was shipped.
inline QString entryListFile()
{
    return filePath(QStringLiteral("zelk.dat"));
}
inline QString helpFile()
{
    return filePath(QStringLiteral("zelk.chm"));
}
// The same help as HTML pages, for desktops without a CHM viewer.
inline QString helpIndex()
{
    return filePath(QStringLiteral("help/index.html"));
}
inline QString updateProgram()
{
    return filePath(QStringLiteral("update.exe"));
}

} // namespace ProgramFolder
