#pragma once

#include <QString>

// The folder of the running executable, where "zelk.dat", "zelk.chm" and
// "update.exe" are expected.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString &fileName);
};
