#include "ui/controls/commandbutton.h"

#include "ui/controls/enterkey.h"

#include <QDesktopServices>
#include <QUrl>

CommandButton::CommandButton(const QString &caption, Style style, QWidget *parent)
    : QPushButton(caption, parent)
    , m_style(style)
{
    QString accessible = caption;
    setAccessibleName(accessible.remove(QLatin1Char('&')));
    switch (style) {
    case Style::Toggle:
        setCheckable(true);
        break;
    case Style::Link:
        setFlat(true);
        setCursor(Qt::PointingHandCursor);
        setStyleSheet(QStringLiteral("QPushButton { color: #0000ff; border: none; text-align: left;"
                                     " padding: 0; text-decoration: underline; }"
                                     "QPushButton:hover { color: #ff0000; }"));
        break;
    case Style::Push:
        break;
    }
    connect(this, &QPushButton::clicked, this, &CommandButton::onClicked);
}

void CommandButton::setUrl(const QString &url)
{
    m_url = url;
}

void CommandButton::setBalloonTip(const QString &text)
{
    setToolTip(text);
    if (accessibleName().isEmpty())
        setAccessibleName(text);
    else
        setAccessibleDescription(text);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (isPlainEnter(event)) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::onClicked()
{
    if (m_style == Style::Link && !m_url.isEmpty())
        QDesktopServices::openUrl(QUrl(m_url));
}
