// The result lists and the drawings, checked on the pixels and texts they produce.

#include "D2Config.h"
#include "UnitD2RectDisp.h"

#include <QImage>
#include <QPainter>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

TD2RGene Layout(double length, double width)
{
    TD2RGene g;
    g.Name = "白玻";
    g.DbID = "-1";
    g.Length = length;
    g.Width = width;
    g.Count = 2;
    return g;
}

QStringList RowTexts(const QTreeWidget& tree, int row)
{
    QStringList texts;
    for (int c = 0; c < tree.columnCount(); ++c)
        texts << tree.topLevelItem(row)->text(c);
    return texts;
}

bool RowIsWhite(const QImage& image, int y)
{
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) != Qt::white)
            return false;
    return true;
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

// Pixels that are not white: text is drawn smoothed, so not all of it is black.
int Inked(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) != Qt::white;
    return n;
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT
private slots:
    void resultListShowsTotalsAndThePriceWhenAsked()
    {
        TD2Rslt r;
        r.EleArea = 12345678;
        r.RawArea = 22326000;
        r.Uti = 0.55296;
        r.RawCount = 5;
        r.Price = 781.449;
        r.UseRaws = {{"白玻", "2440×1830", 5}, {"超白", "3300×2440", 1}};
        QTreeWidget tree;
        tree.setColumnCount(6);
        TD2Result::FillResult(&tree, r, true);
        QCOMPARE(tree.topLevelItemCount(), 5);
        QCOMPARE(RowTexts(tree, 0), (QStringList{u"成品面积："_s, u"12.3㎡"_s, u"原材面积："_s, u"22.3㎡"_s,
                                                 u"净出材率："_s, u"55.3%"_s}));
        QCOMPARE(RowTexts(tree, 1),
                 (QStringList{u"原材用量："_s, u"5 张"_s, u""_s, u""_s, u"价格合计："_s, u"781.4"_s}));
        QCOMPARE(RowTexts(tree, 2), (QStringList{u"原材名称"_s, u"原材尺寸"_s, u"切割张数"_s, u""_s, u""_s, u""_s}));
        QCOMPARE(RowTexts(tree, 3), (QStringList{u"1# 白玻"_s, u"2440×1830"_s, u"5"_s, u""_s, u""_s, u""_s}));
        QCOMPARE(tree.topLevelItem(4)->text(0), u"2# 超白"_s);
        TD2Result::FillResult(&tree, r, false);
        QCOMPARE(RowTexts(tree, 1), (QStringList{u"原材用量："_s, u"5 张"_s, u""_s, u""_s, u""_s, u""_s}));
    }

    void remnantAndUncutLists()
    {
        TD2Rslt r;
        r.Bins = {{"17", "白玻", 1200, 612.5, 2}};
        r.NoCuts = {{3, "门", 800.5, 300, 4}};
        QTreeWidget bins, uncut;
        bins.setColumnCount(5);
        uncut.setColumnCount(4);
        bins.addTopLevelItem(new QTreeWidgetItem(QStringList{u"old"_s}));
        TD2Result::FillBin(&bins, r);
        TD2Result::FillNoCut(&uncut, r);
        QCOMPARE(bins.topLevelItemCount(), 1);
        QCOMPARE(RowTexts(bins, 0), (QStringList{u"白玻"_s, u"1200"_s, u"612.5"_s, u"2"_s, u"17"_s}));
        QCOMPARE(RowTexts(uncut, 0), (QStringList{u"门"_s, u"800.5"_s, u"300"_s, u"4"_s}));
    }

    void thumbnailSpansTheWidthAtTheBottom()
    {
        TD2RGene g = Layout(2440, 1830);
        g.Eles = {{0, 7, "big", "", 0, 0, 1200, 900}, {1, 8, "tiny", "", 1300, 0, 120, 80}};
        const QImage thumb = TD2Result::Thumbnail(g);
        QCOMPARE(thumb.size(), QSize(128, 128));
        // 1830 / (2440 / 128) = 96 rows, so the sheet starts at row 32.
        for (int y = 0; y < 32; ++y)
            QVERIFY2(RowIsWhite(thumb, y), qPrintable(u"row %1"_s.arg(y)));
        QCOMPARE(thumb.pixelColor(64, 32), QColor(Qt::black));
        QCOMPARE(thumb.pixelColor(0, 127), QColor(Qt::black));
        // The big part's number is written inside it; the tiny part (6 x 4 pixels) gets none.
        QVERIFY(Inked(thumb, QRect(1, 33, 60, 45)) > 0);
        QCOMPARE(Inked(thumb, QRect(69, 33, 4, 2)), 0);
        // A sheet taller than long loses its top: every row is part of the sheet.
        const QImage tall = TD2Result::Thumbnail(Layout(1000, 2000));
        QCOMPARE(tall.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(tall.pixelColor(64, 127), QColor(Qt::black));
        QCOMPARE(QString::fromStdString(TD2Result::ThumbnailCaption(1,
                                                                    [] {
                                                                        TD2RGene h = Layout(1000, 1000);
                                                                        h.EleArea = 875000;
                                                                        return h;
                                                                    }())),
                 u"图[2]87.5%"_s);
    }

    void drawingIsToScaleAndReturnsTheSheetBottom()
    {
        TD2RGene g = Layout(2000, 1000);
        g.Eles = {{0, 1, "门", "", 0, 0, 800, 500}};
        g.Rects = {{800, 0, 1200, 1000}, {0, 500, 800, 500}, {0, 0, 0, 0}};
        g.EleArea = 800 * 500;
        TD2Rslt summary;
        summary.EleCuts = {{{1, "门", 800, 500, 1}}};
        const double scale = 2000.0 / 490; // a 500 pixel picture
        for (int bin : {0, 1}) {
            QImage image(500, 400, QImage::Format_RGB32);
            image.fill(Qt::white);
            TShowSet sw;
            sw.ShowBin = bin;
            int bottom;
            {
                QPainter p(&image);
                bottom = TD2Result::DrawLayout(0, 1, sw, 100, 100, scale, summary, p, g, 3, 1);
            }
            // Header and parts line above the sheet; the sheet 1000 mm high.
            const int sheetTop = bottom - int(1000 / scale);
            QVERIFY(sheetTop > 3 + 10);
            QCOMPARE(image.pixelColor(3, sheetTop), QColor(Qt::black));
            QCOMPARE(image.pixelColor(3 + int(2000 / scale) - 1, bottom - 1), QColor(Qt::black));
            // Leftovers hatched in green only when asked.
            const QRect leftover(3 + int(900 / scale), sheetTop + 5, 100, 100);
            const int green = CountColour(image, leftover, QColor(0, 128, 0));
            QVERIFY2(bin ? green > 200 : green == 0, qPrintable(QString::number(green)));
        }
    }

    void switchesDecideWhatIsWritten()
    {
        TD2RGene g = Layout(2000, 1000);
        g.Eles = {{0, 1, "门", "左", 0, 0, 800, 500}};
        // A remnant of exactly 300 x 300 gets no sizes; a larger one does.
        g.Rects = {{1000, 0, 300, 300}, {1000, 500, 900, 450}};
        const double scale = 2000.0 / 490;
        const auto draw = [&](const TShowSet& sw, int binL, int binW) {
            QImage image(500, 400, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            const int bottom = TD2Result::DrawLayout(0, 1, sw, binW, binL, scale, TD2Rslt{}, p, g, 3, 1);
            p.end();
            return std::make_pair(image, bottom - int(1000 / scale));
        };
        // Dark pixels strictly inside a rectangle of the sheet: its texts.
        const auto written = [&](const QImage& image, int top, double x, double y, double l, double w) {
            const QRect r(3 + int(x / scale) + 2, top + int(y / scale) + 2, int(l / scale) - 4, int(w / scale) - 4);
            int n = 0;
            for (int py = r.top(); py <= r.bottom(); ++py)
                for (int px = r.left(); px <= r.right(); ++px) {
                    const QColor c = image.pixelColor(px, py);
                    n += c != Qt::white && c != QColor(0, 128, 0) && c.lightness() < 200;
                }
            return n;
        };
        TShowSet off{0, 0, 0, 0, 0};
        const auto [bare, bareTop] = draw(off, 300, 300);
        QCOMPARE(written(bare, bareTop, 0, 0, 800, 500), 0);
        QCOMPARE(Inked(bare, QRect(3 + int(1000 / scale) + 2, bareTop + 2, 40, 40)), 0); // no hatch
        const auto [all, allTop] = draw(TShowSet{1, 1, 1, 1, 1}, 300, 300);
        QVERIFY(written(all, allTop, 0, 0, 800, 500) > 0);
        QCOMPARE(written(all, allTop, 1000, 0, 300, 300), 0);
        QVERIFY(written(all, allTop, 1000, 500, 900, 450) > 0);
    }

    void partsLinesWrapAtTheRightEdge()
    {
        TD2RGene g = Layout(2000, 1000);
        TD2Rslt summary;
        summary.EleCuts.resize(1);
        for (int i = 1; i <= 30; ++i)
            summary.EleCuts[0].push_back({i, "件" + std::to_string(i), 100.5 * i, 50, 1});
        const double scale = 2000.0 / 490;
        QImage narrow(500, 600, QImage::Format_RGB32);
        QImage wide(4000, 600, QImage::Format_RGB32);
        int narrowBottom, wideBottom;
        {
            QPainter p(&narrow);
            narrowBottom = TD2Result::DrawLayout(0, 1, TShowSet{}, 100, 100, scale, summary, p, g, 3, 1);
        }
        {
            QPainter p(&wide);
            wideBottom = TD2Result::DrawLayout(0, 1, TShowSet{}, 100, 100, scale, summary, p, g, 3, 1);
        }
        // The same sheet, pushed down by the extra lines of the narrow canvas.
        QVERIFY(narrowBottom > wideBottom + 30);
    }
};

QTEST_MAIN(DrawingTest)
#include "DrawingTest.moc"
