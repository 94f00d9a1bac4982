#pragma once

#include <QString>

class VersionText
{
public:
    // "Version 6.0.0", from the project's version.
    static QString text();
};
