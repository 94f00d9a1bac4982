#include "ui/controls/commandbutton.h"

#include "ui/controls/commands.h"
#include "ui/controls/enterkey.h"

CommandButton::CommandButton(const QString &caption, Style style, QWidget *parent)
    : QPushButton(caption, parent)
{
    Commands::makeButtonsAccessible();
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
    if (!clickOnPlainEnter(this, event))
        QPushButton::keyPressEvent(event);
}
