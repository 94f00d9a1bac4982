#pragma once

#include <QColor>
#include <QWidget>

// An etched frame that holds other controls, with an optional coloured caption
// set into its top edge.
class Frame : public QWidget
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption = QString(), QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }
    void setCaptionColor(const QColor &color);
    void setBackgroundColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_captionColor;
    QColor m_background;
};
