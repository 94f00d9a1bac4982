#include "ui/controls/makers.h"

#include "ui/controls/commandbutton.h"
#include "ui/controls/frame.h"
#include "ui/controls/label3d.h"
#include "ui/controls/line3d.h"

#include <QIcon>
#include <QLabel>

namespace {

template<typename Control> Control *placed(Control *control, const QString &name, const QRect &geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

} // namespace

QLabel *Make::label(const QString &name, const QString &text, QWidget *parent, const QRect &geometry,
                    Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(alignment);
    return placed(label, name, geometry);
}

QLabel *Make::wrappedLabel(const QString &name, const QString &text, QWidget *parent, const QRect &geometry)
{
    QLabel *label = Make::label(name, text, parent, geometry, Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

Label3D *Make::label3D(const QString &name, const QString &caption, const QFont &font, QWidget *parent,
                       const QRect &geometry)
{
    auto *label = new Label3D(caption, parent);
    label->setFont(font);
    return placed(label, name, geometry);
}

QLabel *Make::picture(const QString &name, const QString &accessibleName, const QIcon &icon,
                      const QSize &size, QWidget *parent, const QRect &geometry)
{
    auto *picture = new QLabel(parent);
    picture->setAccessibleName(accessibleName);
    picture->setPixmap(icon.pixmap(size));
    return placed(picture, name, geometry);
}

Frame *Make::frame(const QString &name, const QString &caption, QWidget *parent, const QRect &geometry)
{
    return placed(new Frame(caption, parent), name, geometry);
}

Line3D *Make::line(const QString &name, QWidget *parent, const QRect &geometry)
{
    return placed(new Line3D(parent), name, geometry);
}

CommandButton *Make::link(const QString &name, const QString &shown, const QString &tip, QWidget *parent,
                          const QRect &geometry)
{
    auto *link = new CommandButton(shown, CommandButton::Style::Link, parent);
    link->setBalloonTip(tip);
    return placed(link, name, geometry);
}

CommandButton *Make::onTopToggle(const QString &caption, QWidget *parent, const QRect &geometry)
{
    return placed(new CommandButton(caption, CommandButton::Style::Toggle, parent),
                  QStringLiteral("alwaysOnTopButton"), geometry);
}
