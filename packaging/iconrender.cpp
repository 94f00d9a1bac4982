// Renders one of the program's SVG drawings to PNG at build time:
//   iconrender <svg> <size> <png>     a square of size × size pixels (the hicolor theme)
//   iconrender <svg> <scale>x <png>   the drawing's own size times scale (the embedded renders)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: iconrender <svg> <size>|<scale>x <png>\n");
        return 2;
    }
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    QByteArray sizeArgument(argv[2]);
    QSize size;
    if (sizeArgument.endsWith('x')) {
        sizeArgument.chop(1);
        size = renderer.defaultSize() * sizeArgument.toInt();
    } else {
        size = QSize(sizeArgument.toInt(), sizeArgument.toInt());
    }
    if (!renderer.isValid() || size.isEmpty())
        return 1;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
