#pragma once

#include <QWidget>

class Label3D;
class QTimer;

// The first window: name, year, version and picture for a few seconds, then
// it unloads itself and asks for the window that follows.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    // The program passes 3000 ms.
    explicit SplashWindow(int intervalMs, QWidget *parent = nullptr);

    void load();

signals:
    // Emitted after the splash window has been unloaded. year is 2008 or 2009
    // when that version's settings are stored, 0 for the main window.
    void handOver(int year);

private:
    void onTimer1Tick();

    QTimer *m_timer1;
    Label3D *m_label3D3;
};
