#pragma once

#include <QFrame>

// A sunken horizontal line in the system's shadow colour.
class Line3D : public QFrame
{
    Q_OBJECT

public:
    explicit Line3D(QWidget *parent = nullptr);
};
