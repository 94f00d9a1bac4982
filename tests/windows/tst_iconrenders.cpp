// The Windows build embeds PNG renders of the SVG drawings (resources/icons/png)
// and makes zelk.exe's icon from renders of the program's drawing at every size
// Windows shows (resources/icons/png/ico). They are made by packaging/iconrender
// and committed; this renders every SVG again and fails when a drawing was
// changed without rendering it anew, or a size is missing
// (cmake --build --preset sanitize --target icon_renders).
// The window icon's prepared pixels are the drawing at each size offered.
#include "ui/controls/icons.h"
#include "ui/controls/preparedpixels.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

const QDir drawings(QStringLiteral(ICON_DIR));
const QDir renders(QStringLiteral(ICON_DIR "/png"));

QString renderName(const QString &svg, int scale)
{
    return QFileInfo(svg).completeBaseName() + (scale == 1 ? QString() : u"@%1x"_s.arg(scale)) + u".png"_s;
}

} // namespace

class TestIconRenders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_fresh;

private slots:
    void rendersMatchDrawings_data()
    {
        // Every drawing at both scales, and every committed render: none without the other.
        QTest::addColumn<QString>("svg");
        QTest::addColumn<QString>("size"); // iconrender's: a scale ("2x") or pixels
        QTest::addColumn<QString>("png");  // in resources/icons/png
        const QStringList svgs = drawings.entryList({u"*.svg"_s}, QDir::Files);
        QVERIFY(!svgs.isEmpty());
        QStringList pngs = renders.entryList({u"*.png"_s}, QDir::Files);
        for (const QString &svg : svgs)
            pngs << renderName(svg, 1) << renderName(svg, 2);
        pngs.removeDuplicates();
        for (const QString &png : std::as_const(pngs)) {
            const qsizetype at = png.indexOf(u'@');
            const int scale = at < 0 ? 1 : png.mid(at + 1, 1).toInt();
            QTest::newRow(qPrintable(png))
                << png.left(at < 0 ? png.size() - 4 : at) + u".svg"_s << u"%1x"_s.arg(scale) << png;
        }
        // zelk.exe's icon: Windows scales none of these views (lists 16, large icons 48, tiles 256).
        for (const int pixels : {16, 24, 32, 48, 64, 256}) {
            const QString png = u"ico/zelk-%1.png"_s.arg(pixels);
            QTest::newRow(qPrintable(png)) << u"zelk.svg"_s << QString::number(pixels) << png;
        }
    }

    void rendersMatchDrawings()
    {
        QFETCH(QString, svg);
        QFETCH(QString, size);
        QFETCH(QString, png);
        QVERIFY2(drawings.exists(svg), qPrintable(svg + u" is missing"_s));
        const QString committed = renders.filePath(png);
        QVERIFY2(QFileInfo::exists(committed), qPrintable(committed + u" is missing"_s));

        const QString fresh = QDir(m_fresh.path()).filePath(QFileInfo(png).fileName());
        QProcess render;
        render.start(QStringLiteral(ICONRENDER), {drawings.filePath(svg), size, fresh});
        QVERIFY(render.waitForFinished(30000));
        QCOMPARE(render.exitCode(), 0);

        const QImage expected = QImage(fresh).convertToFormat(QImage::Format_ARGB32);
        const QImage actual = QImage(committed).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!expected.isNull());
        QCOMPARE(actual.size(), expected.size());
        // A rasteriser of another Qt patch level may round an edge pixel differently.
        int largest = 0;
        for (int y = 0; y < actual.height(); ++y) {
            for (int x = 0; x < actual.width(); ++x) {
                const QRgb p = actual.pixel(x, y);
                const QRgb q = expected.pixel(x, y);
                largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            }
        }
        QVERIFY2(largest <= 2, qPrintable(svg + u" was changed after its PNG was rendered"_s));
    }

    void windowIconIsTheDrawing_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 32, 64, 128})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }

    void windowIconIsTheDrawing()
    {
        QFETCH(int, size);
        const QIcon prepared = PreparedPixels::windowIcon();
        // Offered as they are, a window manager gets them without any scaling.
        QVERIFY(prepared.availableSizes().contains(QSize(size, size)));
        const QImage drawn = Icons::named(u"zelk"_s).pixmap(size).toImage();
        QCOMPARE(prepared.pixmap(size).toImage().convertToFormat(drawn.format()), drawn);
    }
};

QTEST_MAIN(TestIconRenders)
#include "tst_iconrenders.moc"
