#pragma once

#include <QString>

namespace VersionText {

// "Version 6.0.0", from the project's version.
QString text();

} // namespace VersionText
