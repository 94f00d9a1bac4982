#pragma once

#include <QColor>
#include <QWidget>

// Text drawn over a shadow one pixel down and to the right.
class Label3D : public QWidget
{
    Q_OBJECT

public:
    explicit Label3D(const QString &caption = QString(), QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }
    void setTextColor(const QColor &color);
    void setShadowColor(const QColor &color);
    // The colour behind the text; none leaves the container's background.
    void setBackgroundColor(const QColor &color);
    void setAlignment(Qt::Alignment alignment);
    void setWordWrap(bool wrap);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_textColor;
    QColor m_shadowColor;
    QColor m_background;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_wordWrap = false;
};
