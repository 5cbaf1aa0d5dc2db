// kavo: the cutting engine without windows, for batch work, scripts and checks.
// Exit status 0 on success, 2 on bad input with one line on stderr.

#include "DbSchema.h"
#include "NumText.h"
#include "UnitD2Rect.h"
#include "UnitD2RectDisp.h"
#include "UnitFileOpt.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <climits>
#include <cstdio>
#include <optional>
#include <string>

namespace {

using namespace Qt::StringLiterals;

constexpr int ExitBadInput = 2;

const char* const Usage = "usage: kavo optimize IN.FBL -o OUT.FBL [--generations N] [--seed S]\n"
                          "                     [--priority utilization|layouts|price]\n"
                          "       kavo summary FILE.FBL [--json]\n"
                          "       kavo init-db PATH\n";

class BadInput final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const QString& message)
{
    throw BadInput(message.toStdString());
}

struct Project {
    TD2RRawArr Sheets;
    TD2REleArr Parts;
    TD2RSchame Plan;
    TD2RPrm Prm;
};

Project Load(const QString& path)
{
    if (!QFileInfo::exists(path))
        Fail(path + u": no such file"_s);
    Project p;
    TRecordOnlyLists lists;
    try {
        if (TD2File::LoadProject(lists, path, p.Plan, p.Prm, p.Parts, p.Sheets) == TLoadResult::Empty)
            Fail(path + u": the file holds no project"_s);
    } catch (const TFileError& e) {
        Fail(path + u": "_s + e.Message());
    }
    return p;
}

// The engine refuses nothing, so the job is checked here for what no
// workshop could mean.
void CheckJob(const QString& path, const Project& p)
{
    for (const TD2RRaw& s : p.Sheets) {
        if (!(s.Length > 0 && s.Width > 0))
            Fail(u"%1: sheet %2: length and width must be greater than 0"_s.arg(path).arg(s.No));
        if (s.Count < 0 || s.Price < 0)
            Fail(u"%1: sheet %2: count and price must not be negative"_s.arg(path).arg(s.No));
    }
    for (const TD2REle& e : p.Parts) {
        if (!(e.Length > 0 && e.Width > 0))
            Fail(u"%1: part %2: length and width must be greater than 0"_s.arg(path).arg(e.No));
        if (e.Count < 0)
            Fail(u"%1: part %2: count must not be negative"_s.arg(path).arg(e.No));
    }
    // Totals beyond a 32-bit count are no workshop's job and would overflow.
    long long sheets = 0, pieces = 0;
    for (const TD2RRaw& s : p.Sheets)
        sheets += s.Count;
    for (const TD2REle& e : p.Parts)
        pieces += e.Count;
    if (sheets > INT32_MAX || pieces > INT32_MAX)
        Fail(path + u": the sheet or piece counts add up to more than 2147483647"_s);
    const TD2RPrm& m = p.Prm;
    if (m.Blade < 0 || m.EdgL < 0 || m.EdgR < 0 || m.EdgT < 0 || m.EdgB < 0 || m.wucha < 0)
        Fail(path + u": kerf, edge trims and tolerance must not be negative"_s);
}

std::string Utf8(const QString& s)
{
    return s.toStdString();
}

void PrintSummary(const TD2Rslt& r, size_t layouts)
{
    std::printf("成品面积：%s㎡\t原材面积：%s㎡\t净出材率：%s%%\n", FixedText(r.EleArea / 1000000, 1).c_str(),
                FixedText(r.RawArea / 1000000, 1).c_str(), FixedText(r.Uti * 100, 1).c_str());
    std::printf("原材用量：%d 张\t价格合计：%s\t切割图：%zu\n", r.RawCount, FixedText(r.Price, 1).c_str(), layouts);
    std::printf("原材名称\t原材尺寸\t切割张数\n");
    int n = 0;
    for (const TUseRaw& u : r.UseRaws)
        std::printf("%d# %s\t%s\t%d\n", ++n, u.Name.c_str(), u.Size.c_str(), u.Count);
    if (!r.Bins.empty()) {
        std::printf("余料尺寸\n");
        for (const TBinSize& b : r.Bins)
            std::printf("%s\t%s\t%d\n", b.Name.c_str(), TD2Result::SizeText(b.Length, b.Width).c_str(), b.Count);
    }
    if (!r.NoCuts.empty()) {
        std::printf("未切割尺寸\n");
        for (const TEleCut& c : r.NoCuts)
            std::printf("%d\t%s\t%s\t%d\n", c.No, c.Name.c_str(), TD2Result::SizeText(c.Length, c.Width).c_str(),
                        c.Count);
    }
}

QJsonObject CutJson(const TEleCut& c)
{
    return {{u"no"_s, c.No},
            {u"name"_s, QString::fromStdString(c.Name)},
            {u"length"_s, c.Length},
            {u"width"_s, c.Width},
            {u"count"_s, c.Count}};
}

void PrintJson(const TD2Rslt& r, size_t layouts)
{
    QJsonArray useRaws, bins, noCuts, eleCuts;
    for (const TUseRaw& u : r.UseRaws)
        useRaws.append(QJsonObject{{u"name"_s, QString::fromStdString(u.Name)},
                                   {u"size"_s, QString::fromStdString(u.Size)},
                                   {u"count"_s, u.Count}});
    for (const TBinSize& b : r.Bins)
        bins.append(QJsonObject{{u"dbId"_s, QString::fromStdString(b.DbID)},
                                {u"name"_s, QString::fromStdString(b.Name)},
                                {u"length"_s, b.Length},
                                {u"width"_s, b.Width},
                                {u"count"_s, b.Count}});
    for (const TEleCut& c : r.NoCuts)
        noCuts.append(CutJson(c));
    for (const auto& layout : r.EleCuts) {
        QJsonArray cuts;
        for (const TEleCut& c : layout)
            cuts.append(CutJson(c));
        eleCuts.append(cuts);
    }
    const QJsonObject o{{u"eleArea"_s, r.EleArea},   {u"rawArea"_s, r.RawArea}, {u"uti"_s, r.Uti},
                        {u"rawCount"_s, r.RawCount}, {u"price"_s, r.Price},     {u"layouts"_s, qint64(layouts)},
                        {u"useRaws"_s, useRaws},     {u"bins"_s, bins},         {u"noCuts"_s, noCuts},
                        {u"eleCuts"_s, eleCuts}};
    std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
}

int Summary(const QStringList& args)
{
    QString path;
    bool json = false;
    for (const QString& a : args) {
        if (a == u"--json"_s)
            json = true;
        else if (a.startsWith(u'-') || !path.isEmpty())
            Fail(u"summary: unexpected argument "_s + a);
        else
            path = a;
    }
    if (path.isEmpty())
        Fail(u"summary: no project file given"_s);
    const Project p = Load(path);
    const TD2Rslt r = TD2Result::BuildRslt(p.Plan, p.Prm, p.Parts);
    if (json)
        PrintJson(r, p.Plan.size());
    else
        PrintSummary(r, p.Plan.size());
    return 0;
}

int Optimize(const QStringList& args)
{
    QString in, out;
    std::optional<uint64_t> seed;
    int generations = 10;
    std::optional<uint8_t> priority;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                Fail(u"optimize: "_s + a + u" needs a value"_s);
            return args[++i];
        };
        if (a == u"-o"_s) {
            out = value();
        } else if (a == u"--generations"_s) {
            const QString v = value();
            const auto n = TextToInt(Utf8(v));
            if (!n || *n < 1 || *n > 100000)
                Fail(u"optimize: --generations takes a whole number from 1 to 100000, not "_s + v);
            generations = *n;
        } else if (a == u"--seed"_s) {
            const QString v = value();
            bool ok = false;
            seed = v.toULongLong(&ok);
            if (!ok)
                Fail(u"optimize: --seed takes a whole number, not "_s + v);
        } else if (a == u"--priority"_s) {
            const QString v = value();
            if (v == u"utilization"_s)
                priority = 0;
            else if (v == u"layouts"_s)
                priority = 1;
            else if (v == u"price"_s)
                priority = 2;
            else
                Fail(u"optimize: --priority is utilization, layouts or price, not "_s + v);
        } else if (a.startsWith(u'-') || !in.isEmpty()) {
            Fail(u"optimize: unexpected argument "_s + a);
        } else {
            in = a;
        }
    }
    if (in.isEmpty() || out.isEmpty())
        Fail(u"optimize: an input file and -o OUT.FBL are needed"_s);

    Project p = Load(in);
    CheckJob(in, p);
    NormalizeGrain(p.Parts);
    p.Prm.OptTm = generations;
    if (priority)
        p.Prm.PriCut = *priority;

    TD2Search search(p.Sheets, p.Prm, p.Parts);
    if (seed)
        search.SetSeed(*seed);
    search.Search();
    p.Plan = search.GetBest();
    try {
        TD2File::SaveProject(p.Sheets, p.Parts, out, p.Plan, p.Prm);
    } catch (const TFileError& e) {
        Fail(e.Message());
    }
    PrintSummary(TD2Result::BuildRslt(p.Plan, p.Prm, p.Parts), p.Plan.size());
    return 0;
}

// A new program database at PATH; an existing file is never touched.
int InitDb(const QStringList& args)
{
    if (args.size() != 1 || args.front().startsWith(u'-'))
        Fail(u"init-db: give the path of the new database"_s);
    if (QFileInfo::exists(args.front()))
        Fail(args.front() + u": already exists; it is left as it is"_s);
    QString error;
    if (!TDbSchema::Create(args.front(), &error))
        Fail(args.front() + u": "_s + error.simplified());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        std::fputs("kavo: no command given (kavo --help lists them)\n", stderr);
        return ExitBadInput;
    }
    if (args.front() == u"--help"_s || args.front() == u"-h"_s) {
        std::fputs(Usage, stdout);
        return 0;
    }
    const QString command = args.takeFirst();
    try {
        if (command == u"optimize"_s)
            return Optimize(args);
        if (command == u"summary"_s)
            return Summary(args);
        if (command == u"init-db"_s)
            return InitDb(args);
        Fail(u"unknown command "_s + command);
    } catch (const BadInput& e) {
        std::fprintf(stderr, "kavo: %s\n", e.what());
        return ExitBadInput;
    }
}
