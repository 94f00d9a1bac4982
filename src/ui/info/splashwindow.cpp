#include "ui/info/splashwindow.h"

#include "core/later.h"

#include "system/windowplacement.h"
#include "ui/controls/preparedpixels.h"
#include "ui/controls/windowsetup.h"
#include "ui/info/splashface.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

SplashWindow::SplashWindow(int intervalMs, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_timer(new QTimer(this))
    , m_face(PreparedPixels::splashFace())
{
    // Neither a name nor a part for assistive tools yet: the first of them
    // starts the connection to those tools, which would keep the window from
    // the screen until the session bus answers.
    setUpWindow(this, QStringLiteral("splashWindow"), QString(), QString(), SplashFace::size());
    // The picture fits pixel for pixel only at a device pixel ratio of 1.
    if (m_face.isNull() || !qFuzzyCompare(devicePixelRatioF(), 1.0) || m_face.size() != size()) {
        m_face = QImage();
        SplashFace::build(this);
        setAccessibleName(SplashFace::accessibleName());
    } else {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    m_timer->setObjectName(QStringLiteral("handOverTimer"));
    m_timer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the splash stays its full time.
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(intervalMs);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::handOver);
    WindowPlacement::centre(this);
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer->start();
    // Once on screen, the window has its connection to assistive tools; the
    // parts drawn in the picture get their names then.
    if (!m_face.isNull() && findChildren<QWidget *>().isEmpty()) {
        runAfterThisEvent(this, [this] {
            setAccessibleName(SplashFace::accessibleName());
            SplashFace::nameParts(this, m_face);
        });
    }
}

void SplashWindow::paintEvent(QPaintEvent *event)
{
    if (m_face.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect(), m_face, event->rect());
}

void SplashWindow::handOver()
{
    m_timer->stop();
    close();
    emit done();
}
