#include "ui/controls/frame.h"

#include <QPainter>

Frame::Frame(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    setAccessibleName(caption.trimmed().isEmpty() ? QStringLiteral("Rahmen") : caption.trimmed());
}

void Frame::setCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption.trimmed().isEmpty() ? QStringLiteral("Rahmen") : caption.trimmed());
    update();
}

void Frame::setCaptionColor(const QColor &color)
{
    m_captionColor = color;
    update();
}

void Frame::setBackgroundColor(const QColor &color)
{
    m_background = color;
    update();
}

void Frame::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    if (m_background.isValid())
        painter.fillRect(rect(), m_background);

    const QFontMetrics metrics = fontMetrics();
    const int top = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect border = rect().adjusted(0, top, -1, -1);
    // Etched: a shadow line with a light line one pixel further in.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1).adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(border.adjusted(0, 0, -1, -1));

    if (!m_caption.isEmpty()) {
        const QRect textRect(8, 0, metrics.horizontalAdvance(m_caption), metrics.height());
        painter.fillRect(textRect, m_background.isValid() ? m_background : palette().color(QPalette::Window));
        painter.setPen(m_captionColor.isValid() ? m_captionColor : palette().color(QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    }
}
