#pragma once

#include <QImage>
#include <QWidget>

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
    // One of them is emitted after the splash window has been unloaded: the
    // rate of the old version of that year waits to be taken over, or not.
    void migrationRequested(int oldYear);
    void mainWindowRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void handOver();

    QTimer *m_timer;
    // The face drawn at build time, or null where the face is built live.
    QImage m_face;
};
