#pragma once

#include <QWidget>

// The small calculator that replaces the main window while it is open: the
// same boxes and arithmetic, one copy button per amount, and a switch that
// keeps it above all other windows.
class CompactWindow : public QWidget
{
    Q_OBJECT

public:
    // Made, it is ready: amounts empty, the rate read, the net box waiting for the keyboard.
    explicit CompactWindow(QWidget *parent = nullptr);

signals:
    // Emitted once the window is closed: the main window is to be shown.
    void mainWindowRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
