#include "UnitFileOpt.h"

#include "NumText.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>

#include <vector>

namespace {

using namespace Qt::StringLiterals;

QString Num(double v)
{
    return QString::fromStdString(FloatText(v));
}

QString Num1(double v)
{
    return QString::fromStdString(FixedText(v, 1));
}

QString Int(int32_t v)
{
    return QString::number(v);
}

// The four XML escapes; line breaks and tabs as character references so that
// a pasted name keeps them. Characters XML 1.0 cannot hold at all (other
// control characters, U+FFFE, U+FFFF, a lone surrogate) are left out: the
// file must always read back.
QString Esc(const std::string& utf8)
{
    const QString text = QString::fromStdString(utf8);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case '&':
            out += u"&amp;"_s;
            break;
        case '<':
            out += u"&lt;"_s;
            break;
        case '>':
            out += u"&gt;"_s;
            break;
        case '"':
            out += u"&quot;"_s;
            break;
        case '\r':
            out += u"&#13;"_s;
            break;
        case '\n':
            out += u"&#10;"_s;
            break;
        case '\t':
            out += u"&#9;"_s;
            break;
        default:
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += c;
                out += text[++i];
            } else if (c.unicode() >= 0x20 && !c.isSurrogate() && c.unicode() < 0xFFFE) {
                out += c;
            }
        }
    }
    return out;
}

QString Attr(const char* name, const QString& value)
{
    return QLatin1StringView(name) + u"=\""_s + value + u'"';
}

// A minimal element tree: the reader reaches every list by position.
struct XNode {
    QString Name;
    QXmlStreamAttributes Attrs;
    qint64 Line = 0;
    std::vector<XNode> Kids;
};

// A project nests six deep; far deeper input is not a project and must not
// exhaust the stack.
constexpr int MaxDepth = 32;

void ReadChildren(QXmlStreamReader& xml, XNode& node, int depth)
{
    while (xml.readNextStartElement()) {
        if (depth >= MaxDepth) {
            xml.raiseError(u"元素嵌套过深"_s);
            return;
        }
        XNode kid;
        kid.Name = xml.name().toString();
        kid.Attrs = xml.attributes();
        kid.Line = xml.lineNumber();
        ReadChildren(xml, kid, depth + 1);
        node.Kids.push_back(std::move(kid));
    }
}

class Reader {
public:
    explicit Reader(const XNode& node) : m_node(node) {}

    bool Has(const char* name) const { return m_node.Attrs.hasAttribute(QLatin1StringView(name)); }

    QString Text(const char* name) const
    {
        const QLatin1StringView key(name);
        if (!m_node.Attrs.hasAttribute(key))
            throw TFileError(u"第 %1 行 <%2> 缺少属性 %3"_s.arg(m_node.Line).arg(m_node.Name, key));
        return m_node.Attrs.value(key).toString();
    }
    std::string Utf8(const char* name) const { return Text(name).toStdString(); }

    double Real(const char* name) const
    {
        const QString text = Text(name);
        const auto v = TextToFloat(text.toStdString());
        if (!v)
            throw NotANumber(name, text);
        return *v;
    }

    int32_t Integer(const char* name) const
    {
        const QString text = Text(name);
        const auto v = TextToInt(text.toStdString());
        if (!v)
            throw NotANumber(name, text);
        return *v;
    }

private:
    TFileError NotANumber(const char* name, const QString& text) const
    {
        return TFileError(u"第 %1 行 <%2> 的属性 %3=\"%4\" 不是有效的数字"_s.arg(m_node.Line)
                              .arg(m_node.Name, QLatin1StringView(name), text));
    }
    const XNode& m_node;
};

const XNode& Child(const XNode& node, size_t index, const QString& what)
{
    if (node.Kids.size() <= index)
        throw TFileError(u"第 %1 行 <%2> 缺少%3"_s.arg(node.Line).arg(node.Name, what));
    return node.Kids[index];
}

// "1".."3" to 0..2; anything else keeps the field.
void ReadChoice(const Reader& r, const char* name, uint8_t& field)
{
    if (!r.Has(name))
        return;
    const QString v = r.Text(name);
    if (v == u"1"_s)
        field = 0;
    else if (v == u"2"_s)
        field = 1;
    else if (v == u"3"_s)
        field = 2;
}

} // namespace

QByteArray EncodeGbk(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QString DecodeGbk(const QByteArray& bytes, bool* ok)
{
    QStringDecoder decoder("GB18030");
    QString text = decoder.decode(bytes);
    if (ok)
        *ok = !decoder.hasError();
    return text;
}

QByteArray TD2File::ProjectBytes(const TD2RRawArr& sheets, const TD2REleArr& parts, const TD2RSchame& plan,
                                 const TD2RPrm& prm)
{
    QString out;
    const auto line = [&out](const QString& text) {
        out += text;
        out += u"\r\n"_s;
    };
    line(u"<?xml version=\"1.0\" encoding=\"gb2312\"?>"_s);

    QString root = u"<KAVO "_s + Attr("BladeWidth", Num(prm.Blade));
    const auto choice = [&root](const char* name, uint8_t v) {
        if (v <= 2)
            root += u' ' + Attr(name, Int(v + 1));
    };
    choice("Priority", prm.PriCut);
    choice("FirstCut", prm.FirCut);
    choice("LayStyle", prm.LayOut);
    root += u' ' + Attr("EdgL", Int(prm.EdgL)) + u' ' + Attr("EdgR", Int(prm.EdgR)) + u' ' +
            Attr("EdgT", Int(prm.EdgT)) + u' ' + Attr("EdgB", Int(prm.EdgB)) + u' ' + Attr("BinL", Int(prm.BinL)) +
            u' ' + Attr("BinW", Int(prm.BinW)) + u' ' + Attr("wucha", Int(prm.wucha)) + u'>';
    line(root);

    line(u"<RLST>"_s);
    for (const TD2RRaw& s : sheets)
        line(u"<RW "_s + Attr("XH", Int(s.No)) + u' ' + Attr("RN", Esc(s.Name)) + u' ' + Attr("DM", Esc(s.Demo)) +
             u' ' + Attr("RL", Num(s.Length)) + u' ' + Attr("RW", Num(s.Width)) + u' ' + Attr("RC", Int(s.Count)) +
             u' ' + Attr("PRC", Num(s.Price)) + u' ' + Attr("PRI", Int(s.Prio)) + u' ' + Attr("DBID", Esc(s.DbID)) +
             u"/>"_s);
    line(u"</RLST>"_s);

    line(u"<ELST>"_s);
    for (const TD2REle& e : parts)
        line(u"<ELE "_s + Attr("XH", Int(e.No)) + u' ' + Attr("EN", Esc(e.Name)) + u' ' + Attr("DM", Esc(e.Demo)) +
             u' ' + Attr("EL", Num(e.Length)) + u' ' + Attr("EW", Num(e.Width)) + u' ' + Attr("EC", Int(e.Count)) +
             u' ' + Attr("XZ", Int(e.NoGrain)) + u"/>"_s);
    line(u"</ELST>"_s);

    line(u"<FYS>"_s);
    for (const TD2RGene& g : plan) {
        line(u"<FPB "_s + Attr("RI", Int(g.RawIdx)) + u' ' + Attr("RN", Esc(g.Name)) + u' ' +
             Attr("RL", Num(g.Length)) + u' ' + Attr("RW", Num(g.Width)) + u' ' + Attr("RC", Int(g.Count)) + u' ' +
             Attr("EA", Num(g.EleArea)) + u' ' + Attr("MB", Num(g.MaxBin)) + u' ' + Attr("DBID", Esc(g.DbID)) + u' ' +
             Attr("PRC", Num(g.Price)) + u'>');
        line(u"<ELS>"_s);
        for (const TRectEle& p : g.Eles)
            line(u"<EL "_s + Attr("EI", Int(p.EleIdx)) + u' ' + Attr("XH", Int(p.No)) + u' ' + Attr("EN", Esc(p.Name)) +
                 u' ' + Attr("DM", Esc(p.Demo)) + u' ' + Attr("PX", Num(p.X)) + u' ' + Attr("PY", Num(p.Y)) + u' ' +
                 Attr("EL", Num(p.Length)) + u' ' + Attr("EW", Num(p.Width)) + u"/>"_s);
        line(u"</ELS>"_s);
        line(u"<RCTLST>"_s);
        for (const TFreeRect& r : g.Rects)
            line(u"<RCT "_s + Attr("PX", Num(r.X)) + u' ' + Attr("PY", Num(r.Y)) + u' ' + Attr("RL", Num1(r.Length)) +
                 u' ' + Attr("RW", Num1(r.Width)) + u" />"_s);
        line(u"</RCTLST>"_s);
        line(u"</FPB>"_s);
    }
    line(u"</FYS>"_s);
    line(u"</KAVO>"_s);
    return EncodeGbk(out);
}

void TD2File::SaveProject(const TD2RRawArr& sheets, const TD2REleArr& parts, const QString& fileName,
                          const TD2RSchame& plan, const TD2RPrm& prm)
{
    const QByteArray bytes = ProjectBytes(sheets, parts, plan, prm);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw TFileError(u"无法保存文件 %1：%2"_s.arg(fileName, file.errorString()));
}

TLoadResult TD2File::LoadProject(TProjectLists& lists, const QString& fileName, TD2RSchame& plan, TD2RPrm& prm,
                                 TD2REleArr& parts, TD2RRawArr& sheets)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TFileError(u"无法打开文件 %1：%2"_s.arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TFileError(u"无法读取文件 %1：%2"_s.arg(fileName, file.errorString()));
    return LoadProjectBytes(lists, bytes, plan, prm, parts, sheets);
}

TLoadResult TD2File::LoadProjectBytes(TProjectLists& lists, const QByteArray& bytes, TD2RSchame& plan, TD2RPrm& prm,
                                      TD2REleArr& parts, TD2RRawArr& sheets)
{
    // Our files are GBK; a file saved as UTF-8 by another tool says so. Bytes
    // that are no text in the encoding read as U+FFFD rather than refusing the
    // whole job for one damaged remark.
    QString text;
    const QByteArray head = bytes.left(100).toLower();
    if (bytes.startsWith("\xEF\xBB\xBF") || head.contains("encoding=\"utf-8\"") || head.contains("encoding='utf-8'"))
        text = QString::fromUtf8(bytes);
    else
        text = DecodeGbk(bytes);
    if (text.trimmed().isEmpty())
        return TLoadResult::Empty;

    QXmlStreamReader xml(text);
    XNode doc;
    // readNextStartElement() is for inside an element: at the document level
    // it would read past the end.
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        XNode root;
        root.Name = xml.name().toString();
        root.Attrs = xml.attributes();
        root.Line = xml.lineNumber();
        ReadChildren(xml, root, 1);
        doc.Kids.push_back(std::move(root));
    }
    // A document that ends before any element has no root: nothing to read.
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && doc.Kids.empty())
        return TLoadResult::Empty;
    if (xml.hasError())
        throw TFileError(u"文件不是有效的 XML（第 %1 行第 %2 列）：%3"_s.arg(xml.lineNumber())
                             .arg(xml.columnNumber())
                             .arg(xml.errorString()));
    if (doc.Kids.empty())
        return TLoadResult::Empty;
    const XNode& root = doc.Kids.front();

    const Reader r(root);
    prm.Blade = r.Real("BladeWidth");
    ReadChoice(r, "Priority", prm.PriCut);
    ReadChoice(r, "FirstCut", prm.FirCut);
    ReadChoice(r, "LayStyle", prm.LayOut);
    prm.EdgL = r.Integer("EdgL");
    prm.EdgR = r.Integer("EdgR");
    prm.EdgT = r.Integer("EdgT");
    prm.EdgB = r.Integer("EdgB");
    prm.BinL = r.Integer("BinL");
    prm.BinW = r.Integer("BinW");
    prm.wucha = r.Integer("wucha");

    const XNode& sheetList = Child(root, 0, u"原材列表"_s);
    if (qsizetype(sheetList.Kids.size()) > lists.SheetRowCount()) {
        lists.ShowInfo(SheetRowsMessage);
        return TLoadResult::TooFewSheetRows;
    }
    for (size_t i = 0; i < sheetList.Kids.size(); ++i) {
        const Reader e(sheetList.Kids[i]);
        const int row = int(i);
        const bool preferred = e.Text("PRI") == u"1"_s;
        lists.SetSheetCell(row, 1, preferred ? u"优先"_s : u"普通"_s);
        lists.SetSheetCell(row, 2, e.Text("RN"));
        lists.SetSheetCell(row, 3, e.Text("DM"));
        lists.SetSheetCell(row, 4, e.Text("RL"));
        lists.SetSheetCell(row, 5, e.Text("RW"));
        lists.SetSheetCell(row, 6, e.Text("PRC"));
        lists.SetSheetCell(row, 7, e.Text("RC"));
        lists.SetSheetCell(row, 8, e.Text("DBID"));
        TD2RRaw s;
        s.No = row + 1;
        s.Name = e.Utf8("RN");
        s.Demo = e.Utf8("DM");
        s.Length = e.Real("RL");
        s.Width = e.Real("RW");
        s.Count = e.Integer("RC");
        s.Price = e.Real("PRC");
        s.DbID = e.Utf8("DBID");
        s.Prio = preferred ? 1 : 0;
        sheets.push_back(std::move(s));
    }

    const XNode& partList = Child(root, 1, u"切割尺寸列表"_s);
    if (qsizetype(partList.Kids.size()) > lists.PartRowCount()) {
        lists.ShowInfo(PartRowsMessage);
        return TLoadResult::TooFewPartRows;
    }
    for (size_t i = 0; i < partList.Kids.size(); ++i) {
        const Reader e(partList.Kids[i]);
        const int row = int(i);
        lists.SetPartCell(row, 1, e.Text("EN"));
        lists.SetPartCell(row, 2, e.Text("DM"));
        lists.SetPartCell(row, 3, e.Text("EL"));
        lists.SetPartCell(row, 4, e.Text("EW"));
        lists.SetPartCell(row, 5, e.Text("EC"));
        lists.SetPartCell(row, 6, e.Text("XZ"));
        TD2REle p;
        p.No = row + 1;
        p.Name = e.Utf8("EN");
        p.Demo = e.Utf8("DM");
        p.Length = e.Real("EL");
        p.Width = e.Real("EW");
        p.Count = e.Integer("EC");
        p.NoGrain = e.Integer("XZ");
        parts.push_back(std::move(p));
    }

    // The plan is read whole before it replaces the one in memory, so that a
    // fault half-way does not leave a mixed plan behind.
    const XNode& planList = Child(root, 2, u"切割方案"_s);
    TD2RSchame read(planList.Kids.size());
    for (size_t i = 0; i < planList.Kids.size(); ++i) {
        const XNode& node = planList.Kids[i];
        const Reader e(node);
        TD2RGene& g = read[i];
        g.RawIdx = e.Integer("RI");
        g.Name = e.Utf8("RN");
        g.Price = e.Real("PRC");
        g.DbID = e.Utf8("DBID");
        g.Length = e.Real("RL");
        g.Width = e.Real("RW");
        g.Count = e.Integer("RC");
        g.EleArea = e.Real("EA");
        g.MaxBin = e.Real("MB");
        const XNode& placed = Child(node, 0, u"零件列表"_s);
        g.Eles.resize(placed.Kids.size());
        for (size_t k = 0; k < placed.Kids.size(); ++k) {
            const Reader p(placed.Kids[k]);
            TRectEle& el = g.Eles[k];
            el.EleIdx = p.Integer("EI");
            el.No = p.Integer("XH");
            el.Name = p.Utf8("EN");
            el.Demo = p.Utf8("DM");
            el.X = p.Real("PX");
            el.Y = p.Real("PY");
            el.Length = p.Real("EL");
            el.Width = p.Real("EW");
        }
        const XNode& rects = Child(node, 1, u"余料列表"_s);
        g.Rects.resize(rects.Kids.size());
        for (size_t k = 0; k < rects.Kids.size(); ++k) {
            const Reader p(rects.Kids[k]);
            TFreeRect& rc = g.Rects[k];
            rc.X = p.Real("PX");
            rc.Y = p.Real("PY");
            rc.Length = p.Real("RL");
            rc.Width = p.Real("RW");
        }
    }
    plan = std::move(read);
    return TLoadResult::Loaded;
}
