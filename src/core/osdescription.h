#pragma once

#include <QByteArray>
#include <QString>

// One-line description of the operating system for the about window.
namespace OsDescription {

// csdField is the fixed 128-character service-pack field; zero characters
// split it into pieces, and each non-empty piece is shown followed by a blank.
QString describe(quint32 platformId, quint32 major, quint32 minor, const QByteArray &csdField);

} // namespace OsDescription
