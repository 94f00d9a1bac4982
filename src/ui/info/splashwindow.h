#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

// The first window: name, year, version and picture for a few seconds from
// when it is shown, then it closes itself and says so; which window follows
// is not its business.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    // The program passes 3000 ms.
    explicit SplashWindow(int intervalMs, QWidget *parent = nullptr);

signals:
    // Emitted once its time is up, after the window has closed.
    void done();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void handOver();

    QTimer *m_timer;
    // The face drawn at build time, or null where the face is built live.
    QImage m_face;
};
