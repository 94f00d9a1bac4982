#pragma once

#include <QString>

// The folder of the running executable and the files expected beside it.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString &fileName);

    // The rate box's list of entries as it was shipped.
    static QString entryListFile() { return filePath(QStringLiteral("zelk.dat")); }
    static QString helpFile() { return filePath(QStringLiteral("zelk.chm")); }
    // The same help as HTML pages, for desktops without a CHM viewer.
    static QString helpIndex() { return filePath(QStringLiteral("help/index.html")); }
    static QString updateProgram() { return filePath(QStringLiteral("update.exe")); }
};
