// The result lists and the layout drawing of the desktop program.

#include "D2Config.h"
#include "NumText.h"
#include "UnitD2RectDisp.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTreeWidget>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString Text(double v)
{
    return QString::fromStdString(FloatText(v));
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// Cut towards zero to a whole pixel.
int Trunc(double v)
{
    return int(std::trunc(v));
}

void AddRow(QTreeWidget* tree, const QStringList& cells)
{
    auto* item = new QTreeWidgetItem(cells);
    tree->addTopLevelItem(item);
}

QFont DefaultFont(double points)
{
    QFont f = QApplication::font();
    f.setPointSizeF(points);
    return f;
}

// Hatch lines a fixed number of millimetres apart, drawn as lines rather than
// a brush pattern: a pattern is in device pixels and all but vanishes on a
// printer or a high-resolution export.
void Hatch(QPainter& p, const QRect& r, int pixelsPerMm)
{
    const int step = std::max(4, pixelsPerMm * 8 / 3);
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setPen(QPen(QColor(0, 128, 0), std::max(1, pixelsPerMm / 3)));
    // Forward diagonals as the desktop's hatch has them: down from left to right.
    for (int d = -r.height(); d < r.width() + r.height(); d += step)
        p.drawLine(r.left() + d, r.top(), r.left() + d + r.height() + 1, r.bottom() + 1);
    p.restore();
}

// The right and bottom of a rectangle as the drawing rules count them: the
// first pixel beyond it.
int Right(const QRect& r)
{
    return r.x() + r.width();
}

int Bottom(const QRect& r)
{
    return r.y() + r.height();
}

void SizesAlongEdges(QPainter& p, const QRect& r, double length, double width)
{
    const QFontMetrics fm = p.fontMetrics();
    const QString l = Text(length);
    const QString w = Text(width);
    p.drawText(Trunc((r.x() + Right(r) - fm.horizontalAdvance(l)) / 2.0), r.y() + 1 + fm.ascent(), l);
    p.drawText(r.x() + 1, Trunc((r.y() + Bottom(r) - fm.height()) / 2.0) + fm.ascent(), w);
}

QRect PixelRect(int x0, int y0, double x, double y, double length, double width, double scale)
{
    const int left = x0 + Trunc(x / scale);
    const int top = y0 + Trunc(y / scale);
    const int right = x0 + Trunc((x + length) / scale);
    const int bottom = y0 + Trunc((y + width) / scale);
    return QRect(left, top, right - left, bottom - top);
}

// The outline of a rectangle from (left, top) up to, not including, (right,
// bottom): an aliased Qt outline covers one pixel more than its size.
void DrawBox(QPainter& p, const QRect& r)
{
    p.drawRect(r.x(), r.y(), std::max(0, r.width() - 1), std::max(0, r.height() - 1));
}

} // namespace

void TD2Result::FillResult(QTreeWidget* tree, const TD2Rslt& r, bool showPrice)
{
    tree->clear();
    AddRow(tree, {u"成品面积："_s, QString::fromStdString(FixedText(r.EleArea / 1000000, 1)) + u"㎡"_s, u"原材面积："_s,
                  QString::fromStdString(FixedText(r.RawArea / 1000000, 1)) + u"㎡"_s, u"净出材率："_s,
                  QString::fromStdString(FixedText(r.Uti * 100, 1)) + u"%"_s});
    AddRow(tree, {u"原材用量："_s, QString::number(r.RawCount) + u" 张"_s, QString(), QString(),
                  showPrice ? u"价格合计："_s : QString(),
                  showPrice ? QString::fromStdString(FixedText(r.Price, 1)) : QString()});
    AddRow(tree, {u"原材名称"_s, u"原材尺寸"_s, u"切割张数"_s, QString(), QString(), QString()});
    int n = 0;
    for (const TUseRaw& u : r.UseRaws)
        AddRow(tree, {QString::number(++n) + u"# "_s + Q(u.Name), Q(u.Size), QString::number(u.Count), QString(),
                      QString(), QString()});
    tree->expandAll();
}

void TD2Result::FillBin(QTreeWidget* tree, const TD2Rslt& r)
{
    tree->clear();
    for (const TBinSize& b : r.Bins)
        AddRow(tree, {Q(b.Name), Text(b.Length), Text(b.Width), QString::number(b.Count), Q(b.DbID)});
}

void TD2Result::FillNoCut(QTreeWidget* tree, const TD2Rslt& r)
{
    tree->clear();
    for (const TEleCut& c : r.NoCuts)
        AddRow(tree, {Q(c.Name), Text(c.Length), Text(c.Width), QString::number(c.Count)});
}

int TD2Result::DrawLayout(int index, int leftMm, const TShowSet& sw, int binW, int binL, double scale,
                          const TD2Rslt& summary, QPainter& p, const TD2RGene& g, int pixelsPerMm, int topMm)
{
    const int m = pixelsPerMm;
    p.save();
    p.setFont(DefaultFont(8));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    const int x0 = leftMm * m;
    int y = topMm * m;
    const int clipRight = p.hasClipping() ? p.clipBoundingRect().toRect().right() : p.device()->width() - 1;

    const auto writeLine = [&](const QString& text) {
        const QFontMetrics fm = p.fontMetrics();
        p.drawText(x0, y + fm.ascent(), text);
        y += fm.height() + 2 * m;
    };
    const double area = g.Length * g.Width;
    writeLine(u"图["_s + QString::number(index + 1) + u"] "_s + u"原材尺寸："_s + Text(g.Length) + u"×"_s +
              Text(g.Width) + u"   切割张数："_s + QString::number(g.Count) + u"   利用率："_s +
              QString::fromStdString(FixedText(area != 0 ? g.EleArea * 100 / area : 0, 1)) + u"%"_s);

    // The parts lines, wrapped at the right edge; a wrapped line starts with an item.
    QString line = u"切割尺寸："_s;
    if (index >= 0 && size_t(index) < summary.EleCuts.size()) {
        for (const TEleCut& c : summary.EleCuts[size_t(index)]) {
            const QString item = QString::number(c.No) + u"-"_s + Q(c.Name) + u"-"_s + Text(c.Length) + u"×"_s +
                                 Text(c.Width) + u"×"_s + QString::number(c.Count) + u"  "_s;
            const QFontMetrics fm = p.fontMetrics();
            if (fm.horizontalAdvance(line) + fm.horizontalAdvance(item) + x0 > clipRight) {
                writeLine(line);
                line = item;
            } else {
                line += item;
            }
        }
    }
    if (!line.isEmpty())
        writeLine(line);

    DrawBox(p, QRect(x0, y, Trunc(g.Length / scale), Trunc(g.Width / scale)));
    const int bottom = y + Trunc(g.Width / scale);

    p.setBrush(Qt::NoBrush); // parts are outlined; texts inside the sheet are transparent
    for (const TRectEle& e : g.Eles) {
        const QRect r = PixelRect(x0, y, e.X, e.Y, e.Length, e.Width, scale);
        DrawBox(p, r);
        if (sw.ShowSize == 1) {
            p.setFont(DefaultFont(3));
            SizesAlongEdges(p, r, e.Length, e.Width);
        }
        QString label;
        if (sw.ShowXH == 1)
            label = QString::number(e.No);
        if (sw.ShowName == 1)
            label += (label.isEmpty() ? QString() : u"-"_s) + Q(e.Name);
        if (sw.ShowDemo == 1)
            label += (label.isEmpty() ? QString() : u"-"_s) + Q(e.Demo);
        const QFontMetrics fm = p.fontMetrics();
        const int tw = fm.horizontalAdvance(label);
        const int th = label.isEmpty() ? 0 : fm.height();
        int left = Trunc((r.x() + Right(r) - tw) / 2.0);
        int top = Trunc((r.y() + Bottom(r) - th) / 2.0);
        if (e.Length >= e.Width) {
            if (th > 0 && double(r.height()) / th < 3)
                left = Trunc(Right(r) - tw - 1.0);
        } else if (tw > 0 && double(r.width()) / tw < 4) {
            top = Trunc(Bottom(r) - th - 1.0);
        }
        if (!label.isEmpty())
            p.drawText(left, top + fm.ascent(), label);
    }

    if (sw.ShowBin == 1) {
        for (const TFreeRect& rc : g.Rects) {
            if (rc.Length == 0 || rc.Width == 0)
                continue;
            const QRect r = PixelRect(x0, y, rc.X, rc.Y, rc.Length, rc.Width, scale);
            Hatch(p, r, m);
            p.setPen(QPen(Qt::black, 1));
            DrawBox(p, r);
            if (rc.Length > binL && rc.Width > binW)
                SizesAlongEdges(p, r, rc.Length, rc.Width);
        }
    }
    p.restore();
    return bottom;
}

QImage TD2Result::Thumbnail(const TD2RGene& g)
{
    constexpr int Side = 128;
    QImage image(Side, Side, QImage::Format_RGB888);
    image.fill(Qt::white);
    if (!(g.Length > 0 && g.Width > 0))
        return image;
    const double q = g.Length / Side;
    const int height = std::max(1, Trunc(g.Width / q));
    QImage sheet(Side, height, QImage::Format_RGB888);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        p.setFont(DefaultFont(8));
        p.setPen(Qt::black);
        p.drawRect(0, 0, Side - 1, height - 1); // an aliased outline covers width + 1 pixels
        const QFontMetrics fm = p.fontMetrics();
        for (const TRectEle& e : g.Eles) {
            const QRect r = PixelRect(0, 0, e.X, e.Y, e.Length, e.Width, q);
            DrawBox(p, r);
            const QString no = QString::number(e.No);
            const int tw = fm.horizontalAdvance(no);
            const int th = fm.height();
            if (tw <= r.width() && th <= r.height())
                p.drawText(Trunc((r.x() + Right(r) - tw) / 2.0), Trunc((r.y() + Bottom(r) - th) / 2.0) + fm.ascent(),
                           no);
        }
    }
    // Bottom-aligned: a thumbnail taller than the image loses its top.
    QPainter p(&image);
    p.drawImage(QPoint(0, Side - sheet.height()), sheet);
    return image;
}

std::string TD2Result::ThumbnailCaption(int index, const TD2RGene& g)
{
    const double area = g.Length * g.Width;
    return "图[" + std::to_string(index + 1) + "]" + FixedText(area != 0 ? g.EleArea / area * 100 : 0, 1) + "%";
}
