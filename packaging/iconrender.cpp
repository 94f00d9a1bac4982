// Renders the program's drawings at build time:
//   iconrender <svg> <size> <png>     a square of size × size pixels (the hicolor theme)
//   iconrender <svg> <scale>x <png>   the drawing's own size times scale (the embedded renders)
//   iconrender --prepared <cpp>       the window icon and the splash window's face as a C++
//                                     source of plain pixels (src/ui/controls/preparedpixels.h)
#include "ui/controls/icons.h"
#include "ui/info/splashface.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

#include <array>
#include <cstdio>

namespace {

constexpr std::array windowIconSizes{16, 32, 64, 128};
constexpr int pixelsPerLine = 8;

int renderSvg(const char *svg, QByteArray sizeArgument, const char *png)
{
    QSvgRenderer renderer{QString::fromLocal8Bit(svg)};
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
    return image.save(QString::fromLocal8Bit(png)) ? 0 : 1;
}

QByteArray pixelArray(const QByteArray &name, const QImage &image)
{
    QByteArray text = "const quint32 " + name + "[] = {";
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++count)
            text += (count % pixelsPerLine ? " 0x" : "\n    0x")
                + QByteArray::number(line[x], 16).rightJustified(8, '0') + ',';
    }
    return text + "\n};\n";
}

QByteArray pictureOf(const QByteArray &pixels, const QImage &image)
{
    const QByteArray format = image.format() == QImage::Format_RGB32 ? "QImage::Format_RGB32"
                                                                     : "QImage::Format_ARGB32_Premultiplied";
    return "{" + QByteArray::number(image.width()) + ", " + QByteArray::number(image.height()) + ", " + format
        + ", " + pixels + "}";
}

int renderPrepared(const char *cpp)
{
    // The faces were laid out for Arial's metrics; another face would be
    // compiled into every program built here.
    const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    if (family != QLatin1String("Arial") && family != QLatin1String("Liberation Sans")) {
        std::fprintf(stderr, "iconrender: Arial resolves to %s; install fonts-liberation2\n",
                     qPrintable(family));
        return 1;
    }

    QWidget window;
    window.setFixedSize(SplashFace::size());
    SplashFace::build(&window);
    const QImage face = window.grab().toImage().convertToFormat(QImage::Format_RGB32);

    QByteArray source = "// Drawn by packaging/iconrender when the program was built.\n"
                        "#include \"ui/controls/preparedpixels.h\"\n\nnamespace {\n\n";
    source += pixelArray("splashFacePixels", face);
    QByteArray icons;
    const QIcon icon = Icons::named(QStringLiteral("zelk"));
    for (const int size : windowIconSizes) {
        const QByteArray name = "windowIcon" + QByteArray::number(size) + "Pixels";
        const QImage image
            = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.size() != QSize(size, size))
            return 1;
        source += pixelArray(name, image);
        icons += "    " + pictureOf(name, image) + ",\n";
    }
    source += "\n} // namespace\n\n";
    source += "const PreparedPicture PreparedPictures::splashFace = " + pictureOf("splashFacePixels", face)
        + ";\n";
    source += "const std::array<PreparedPicture, " + QByteArray::number(int(windowIconSizes.size()))
        + "> PreparedPictures::windowIcon = {{\n" + icons + "}};\n";

    QFile file(QString::fromLocal8Bit(cpp));
    return file.open(QIODevice::WriteOnly) && file.write(source) == source.size() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--prepared") == 0)
        return renderPrepared(argv[2]);
    if (argc == 4)
        return renderSvg(argv[1], argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: iconrender <svg> <size>|<scale>x <png>\n"
                 "       iconrender --prepared <cpp>\n");
    return 2;
}
