#include "ui/controls/programlook.h"

#include "ui/controls/bgrcolor.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QTranslator>

void ProgramLook::apply()
{
    // The window designs were laid out for a small sans-serif face; Arial (or
    // its metric twin Liberation Sans) at 8 pt keeps every German label whole.
    const qreal basePointSize = 8.25;
    QApplication::setFont(font(basePointSize));
    // Tooltips in the light yellow of notification balloons.
    QPalette palette = QApplication::palette();
    const QColor balloonYellow(0xFF, 0xFF, 0xE1);
    palette.setColor(QPalette::ToolTipBase, balloonYellow);
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QApplication::setPalette(palette);
    // Qt's own texts, such as the text boxes' context menus, in German too.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/translations/qtbase_de.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

QFont ProgramLook::font(qreal pointSize, bool bold, bool italic)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

namespace {

// As the window designs give them, blue-green-red.
constexpr quint32 blue = 0xFF0000;
constexpr quint32 silver = 0xC0C0C0;
constexpr quint32 yellow = 0x80FFFF;
constexpr quint32 lightYellow = 0xC0FFFF;

} // namespace

QColor ProgramLook::captionBlue()
{
    return BgrColor::toColor(blue);
}

QColor ProgramLook::labelShadow()
{
    return BgrColor::toColor(silver);
}

QColor ProgramLook::focusYellow()
{
    return BgrColor::toColor(yellow);
}

QColor ProgramLook::lightFocusYellow()
{
    return BgrColor::toColor(lightYellow);
}
