#include "UnitData.h"

#include "DbSchema.h"
#include "NumText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QSqlError>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

class StandardErrorDialogs final : public TDialogs {
public:
    void Info(const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    bool Ask(const QString& message) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return false;
    }
    void Error(const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    QString OpenFileName(const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }
};

StandardErrorDialogs g_standardDialogs;
TDialogs* g_dialogs = &g_standardDialogs;
TsysData* g_current = nullptr;
std::atomic<int> g_connections{0};

void AssertMainThread()
{
    Q_ASSERT(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread());
}

} // namespace

void SetDialogs(TDialogs* dialogs)
{
    g_dialogs = dialogs ? dialogs : &g_standardDialogs;
}

TDialogs& Dialogs()
{
    return *g_dialogs;
}

void ShowInfo(const QString& message)
{
    Dialogs().Info(message);
}

bool AskOK(const QString& message)
{
    return Dialogs().Ask(message);
}

void ShowError(const QString& message)
{
    Dialogs().Error(message);
}

QString ProgramFolder()
{
    const QString home = qEnvironmentVariable("KAVO_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    const QString installed = QCoreApplication::applicationDirPath();
    if (QFileInfo(installed).isWritable())
        return installed;
    // An installed copy in a folder the user cannot write keeps its files in
    // the user's data folder, seeded once from the installed ones.
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir(own).mkpath(u"default"_s);
    for (const QString& file : {DbFileName, u"ringin.wav"_s}) {
        const QString target = QDir(own).filePath(file);
        if (!QFileInfo::exists(target) && QFile::copy(QDir(installed).filePath(file), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return own;
}

TsysData::TsysData() : m_path(QDir(ProgramFolder()).filePath(DbFileName))
{
    myCon = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"kavo-%1"_s.arg(++g_connections));
    // A URI in read-write mode: SQLite then refuses a missing file instead
    // of creating an empty one.
    myCon.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"_s);
    myCon.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + u"?mode=rw"_s);
    g_current = this;
}

TsysData::~TsysData()
{
    const QString name = myCon.connectionName();
    myCon.close();
    myCon = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    if (g_current == this)
        g_current = nullptr;
}

TsysData& TsysData::Current()
{
    if (!g_current)
        throw TDbError(u"数据模块尚未创建"_s);
    return *g_current;
}

bool TsysData::EnsureOpen(QString* reason)
{
    AssertMainThread();
    if (myCon.isOpen())
        return true;
    QString why;
    if (!QFileInfo::exists(m_path))
        why = u"找不到数据库文件 %1"_s.arg(QDir::toNativeSeparators(m_path));
    else if (!myCon.open())
        why = myCon.lastError().text();
    else if (!TDbSchema::Upgrade(myCon, &why))
        myCon.close();
    if (reason)
        *reason = why;
    return myCon.isOpen();
}

std::unique_ptr<QSqlQuery> OpenQuery(const QString& sql)
{
    TsysData& data = TsysData::Current();
    if (!data.EnsureOpen()) {
        ShowInfo(DbFailMessage);
        return std::make_unique<QSqlQuery>();
    }
    auto query = std::make_unique<QSqlQuery>(data.Connection());
    query->setForwardOnly(true);
    if (!query->exec(sql))
        ShowInfo(DbFailMessage);
    return query;
}

void SetSQL(const QString& sql)
{
    TsysData::TCommon& common = TsysData::Current().QueryCommon;
    common.Text = sql;
    common.Values.clear();
    common.Markers.clear();
    common.Arithmetic.clear();
    static const QRegularExpression marker(u":([A-Za-z_][A-Za-z0-9_]*)"_s);
    for (const QRegularExpressionMatch& m : marker.globalMatch(sql))
        if (!common.Markers.contains(m.captured(1)))
            common.Markers.append(m.captured(1));
    static const QRegularExpression arithmetic(u"[-+*/]\\s*:([A-Za-z_][A-Za-z0-9_]*)"_s);
    for (const QRegularExpressionMatch& m : arithmetic.globalMatch(sql))
        common.Arithmetic.append(m.captured(1));
}

void SetParam(const QString& name, const QString& value)
{
    TsysData::TCommon& common = TsysData::Current().QueryCommon;
    if (!common.Markers.contains(name))
        throw TDbError(u"语句中没有参数 %1：%2"_s.arg(name, common.Text));
    common.Values[name] = value;
}

bool ExecCommon()
{
    TsysData& data = TsysData::Current();
    const TsysData::TCommon& common = data.QueryCommon;
    QString reason;
    if (!data.EnsureOpen(&reason))
        throw TDbError(DbFailMessage + u"\n"_s + reason);
    QSqlQuery query(data.Connection());
    if (!query.prepare(common.Text))
        throw TDbError(query.lastError().text() + u"\n"_s + common.Text);
    for (const QString& name : common.Markers) {
        if (!common.Values.contains(name))
            throw TDbError(u"参数 %1 没有值：%2"_s.arg(name, common.Text));
        const QString value = common.Values.value(name);
        // SQLite would count a text that is no number as 0 in "kcl=kcl-:kcl";
        // refuse it as any database that converts the text would.
        if (common.Arithmetic.contains(name) && !TextToFloat(value.trimmed().toStdString()))
            throw TDbError(u"“%1” 不是有效的数字\n%2"_s.arg(value, common.Text));
        query.bindValue(u':' + name, value);
    }
    if (!query.exec())
        throw TDbError(query.lastError().text() + u"\n"_s + common.Text);
    return query.numRowsAffected() > 0;
}

bool RunCommand(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    }
    return false;
}

QString NowStamp()
{
    return QDateTime::currentDateTime().toString(u"yyyyMMddhhmmss"_s);
}

QString FieldText(const QSqlQuery& query, const char* column)
{
    const QVariant v = query.value(QLatin1StringView(column));
    return v.isNull() ? QString() : v.toString();
}
