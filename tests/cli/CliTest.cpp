// The kavo tool run as a user runs it: exit status, one error line, files.

#include "UnitFileOpt.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Result {
    int Status = -1;
    QByteArray Out;
    QByteArray Err;
};

Result Kavo(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KAVO_BIN_DIR "/kavo"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QByteArray Job()
{
    TD2RPrm prm;
    prm.Blade = 3;
    prm.EdgL = prm.EdgR = prm.EdgT = prm.EdgB = 10;
    const TD2RRawArr sheets = {{1, "白玻", "-1", "", 40, 2440, 1830, 20, 0}};
    const TD2REleArr parts = {
        {1, "门", "", 396, 716, 6, 1}, {2, "窗", "", 1200, 800, 3, 0}, {3, "超大", "", 5000, 100, 1, 1}};
    return TD2File::ProjectBytes(sheets, parts, {}, prm);
}

class KavoTool : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(KavoTool, BadInputGivesOneLineAndStatus2)
{
    const QByteArray job = Job();
    QByteArray noList = job;
    noList.truncate(noList.indexOf("<ELST>"));
    noList += "</KAVO>\r\n";
    QByteArray badNumber = job;
    badNumber.replace("RL=\"2440\"", "RL=\"2440mm\"");
    QByteArray zeroPart = job;
    zeroPart.replace("EL=\"1200\"", "EL=\"0\"");
    const QString good = Write(u"good.FBL"_s, job);
    const QString out = Path(u"out.FBL"_s);
    Write(u"out.FBL"_s, "old plan");

    const struct {
        const char* what;
        QStringList args;
    } cases[] = {
        {"no command", {}},
        {"unknown command", {u"plan"_s}},
        {"no output", {u"optimize"_s, good}},
        {"no such file", {u"optimize"_s, Path(u"none.FBL"_s), u"-o"_s, out}},
        {"not XML", {u"optimize"_s, Write(u"text.FBL"_s, "hello"), u"-o"_s, out}},
        {"empty file", {u"optimize"_s, Write(u"empty.FBL"_s, ""), u"-o"_s, out}},
        {"a list missing", {u"optimize"_s, Write(u"nolist.FBL"_s, noList), u"-o"_s, out}},
        {"a number that does not convert", {u"optimize"_s, Write(u"num.FBL"_s, badNumber), u"-o"_s, out}},
        {"a part of no size", {u"optimize"_s, Write(u"zero.FBL"_s, zeroPart), u"-o"_s, out}},
        {"bad generations", {u"optimize"_s, good, u"-o"_s, out, u"--generations"_s, u"0"_s}},
        {"bad priority", {u"optimize"_s, good, u"-o"_s, out, u"--priority"_s, u"fast"_s}},
        {"bad seed", {u"optimize"_s, good, u"-o"_s, out, u"--seed"_s, u"x"_s}},
        {"output folder missing", {u"optimize"_s, good, u"-o"_s, Path(u"no/such/out.FBL"_s)}},
        {"summary of nothing", {u"summary"_s}},
        {"summary of a broken file", {u"summary"_s, Path(u"text.FBL"_s), u"--json"_s}},
    };
    for (const auto& c : cases) {
        const Result r = Kavo(c.args);
        EXPECT_EQ(r.Status, 2) << c.what;
        EXPECT_EQ(r.Err.count('\n'), 1) << c.what << ": " << r.Err.constData();
        EXPECT_TRUE(r.Out.isEmpty()) << c.what;
        EXPECT_EQ(Read(out), "old plan") << c.what;
    }
    EXPECT_FALSE(QFile::exists(Path(u"no/such/out.FBL"_s)));
}

TEST_F(KavoTool, OptimizeWritesThePlanAndSummaryReadsIt)
{
    const QString in = Write(u"job.FBL"_s, Job());
    const QString a = Path(u"a.FBL"_s);
    const QString b = Path(u"b.FBL"_s);
    const Result ra = Kavo({u"optimize"_s, in, u"-o"_s, a, u"--seed"_s, u"42"_s, u"--generations"_s, u"2"_s});
    ASSERT_EQ(ra.Status, 0) << ra.Err.constData();
    EXPECT_TRUE(ra.Out.contains("净出材率"));
    const Result rb = Kavo({u"optimize"_s, in, u"-o"_s, b, u"--seed"_s, u"42"_s, u"--generations"_s, u"2"_s,
                            u"--priority"_s, u"utilization"_s});
    ASSERT_EQ(rb.Status, 0);
    EXPECT_EQ(Read(a), Read(b)); // a seed makes a run reproducible
    EXPECT_EQ(ra.Out, rb.Out);

    const Result s = Kavo({u"summary"_s, a, u"--json"_s});
    ASSERT_EQ(s.Status, 0) << s.Err.constData();
    const QJsonObject o = QJsonDocument::fromJson(s.Out).object();
    for (const char* key :
         {"eleArea", "rawArea", "uti", "rawCount", "price", "layouts", "useRaws", "bins", "noCuts", "eleCuts"})
        EXPECT_TRUE(o.contains(QLatin1StringView(key))) << key;
    EXPECT_GT(o[u"rawCount"_s].toInt(), 0);
    EXPECT_EQ(o[u"eleCuts"_s].toArray().size(), o[u"layouts"_s].toInt());
    // The part too large for the sheet is left uncut, the rest is planned.
    const QJsonArray noCuts = o[u"noCuts"_s].toArray();
    ASSERT_EQ(noCuts.size(), 1);
    EXPECT_EQ(noCuts[0].toObject()[u"no"_s].toInt(), 3);
    EXPECT_EQ(noCuts[0].toObject()[u"name"_s].toString(), u"超大"_s);
    // A part without grain typed 396 x 716 is planned as 716 x 396.
    EXPECT_TRUE(Read(a).contains("EL=\"716\" EW=\"396\""));

    const Result text = Kavo({u"summary"_s, a});
    EXPECT_EQ(text.Status, 0);
    EXPECT_TRUE(text.Out.contains("原材用量"));
}

TEST_F(KavoTool, InitDbWritesANewDatabaseAndNeverReplacesOne)
{
    const QString path = Path(u"KAVODB.mdb"_s);
    const Result made = Kavo({u"init-db"_s, path});
    ASSERT_EQ(made.Status, 0) << made.Err.constData();
    const QByteArray bytes = Read(path);
    EXPECT_TRUE(bytes.startsWith("SQLite format 3"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"KAVODB.mdb"_s}); // no temporary left

    for (const QStringList& args : {QStringList{u"init-db"_s, path}, QStringList{u"init-db"_s},
                                    QStringList{u"init-db"_s, Path(u"no/such/KAVODB.mdb"_s)}}) {
        const Result r = Kavo(args);
        EXPECT_EQ(r.Status, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.constData();
    }
    EXPECT_EQ(Read(path), bytes);
}
