#include "ui/controls/line3d.h"

Line3D::Line3D(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::HLine);
    setFrameShadow(QFrame::Sunken);
    setAccessibleName(QStringLiteral("Trennlinie"));
}
