#include "ui/controls/label3d.h"

#include "ui/controls/programlook.h"

#include <QPainter>

Label3D::Label3D(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
    , m_shadowColor(ProgramLook::labelShadow())
{
    setAccessibleName(caption);
}

void Label3D::setCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption);
    update();
}

void Label3D::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void Label3D::setShadowColor(const QColor &color)
{
    m_shadowColor = color;
    update();
}

void Label3D::setBackgroundColor(const QColor &color)
{
    m_background = color;
    update();
}

void Label3D::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void Label3D::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    update();
}

QSize Label3D::sizeHint() const
{
    return fontMetrics().size(0, m_caption) + QSize(1, 1);
}

void Label3D::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    if (m_background.isValid())
        painter.fillRect(rect(), m_background);
    const int flags = int(m_alignment) | (m_wordWrap ? Qt::TextWordWrap : 0);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    painter.setPen(m_shadowColor);
    painter.drawText(area.translated(1, 1), flags, m_caption);
    painter.setPen(m_textColor.isValid() ? m_textColor : palette().color(QPalette::WindowText));
    painter.drawText(area, flags, m_caption);
}
