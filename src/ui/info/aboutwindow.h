#pragma once

#include <QDialog>

// Product name, version, release date, the maker's contact block with two
// links, and a line that describes the operating system.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);
};
