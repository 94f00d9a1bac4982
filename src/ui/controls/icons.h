#pragma once

#include <QIcon>
#include <QString>

// The program's own artwork by name ("neu", "zelk", ...): the SVG where Qt SVG
// draws it, otherwise the PNG renders of the same SVG embedded in its place.
namespace Icons {
QIcon named(const QString &name);
}
