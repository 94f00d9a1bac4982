#pragma once

#include <QByteArray>

// The values that feed the about window's operating-system description.
namespace SystemVersion {

struct Info
{
    quint32 platformId = 0;
    quint32 major = 0;
    quint32 minor = 0;
    QByteArray servicePack; // 128 characters, zero characters split it
};

// Windows: the real version (platform 2) with its service-pack text.
// Linux and others: platform 3, the kernel's major and minor numbers and the
// distribution's name as service-pack text.
Info query();

} // namespace SystemVersion
