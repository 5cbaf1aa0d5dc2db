#pragma once

// The data module: the one database connection and the shared routines every
// window reaches the database and the user's message boxes through.

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>

// A statement the database refused, or a database that cannot be reached for
// a change. The text is the database's own.
class TDbError final : public std::runtime_error {
public:
    explicit TDbError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

// Modal boxes go through this seam so that tests can answer and record them.
// The desktop program installs message boxes; without one, messages go to
// standard error and questions are answered with Cancel.
class TDialogs {
public:
    virtual ~TDialogs() = default;
    virtual void Info(const QString& message) = 0;  // "信息提示", information icon, OK
    virtual bool Ask(const QString& message) = 0;   // "信息提示", OK and Cancel
    virtual void Error(const QString& message) = 0; // the application's standard error box
    // File dialogs; an empty text when cancelled. filter like "FBL (*.FBL)".
    virtual QString OpenFileName(const QString& filter) = 0;
    virtual QString SaveFileName(const QString& filter, const QString& defaultSuffix) = 0;
};
void SetDialogs(TDialogs* dialogs); // nullptr restores the default
TDialogs& Dialogs();

void ShowInfo(const QString& message);
bool AskOK(const QString& message);
void ShowError(const QString& message);

inline const QString DbFailMessage = QStringLiteral("连接数据库出现异常情况！");
inline const QString DbFileName = QStringLiteral("KAVODB.mdb");

// The folder the program keeps its database, bell sound and pictures in:
// $KAVO_HOME when set, else the folder of the executable.
QString ProgramFolder();

class TsysData final {
public:
    // The connection is set up for the database of the program folder and
    // opens with the first statement. One instance at a time, on the main
    // thread; the routines below use it.
    TsysData();
    ~TsysData();
    TsysData(const TsysData&) = delete;
    TsysData& operator=(const TsysData&) = delete;

    static TsysData& Current();

    QString DatabasePath() const { return m_path; }
    // Opens the connection when it is not open. A missing file is never
    // created. False with the reason when the database cannot be reached.
    bool EnsureOpen(QString* reason = nullptr);
    QSqlDatabase& Connection() { return myCon; }

    // The shared change statement: its text and its parameters, set by name.
    struct TCommon {
        QString Text;
        QStringList Markers;
        QStringList Arithmetic; // markers that stand in column arithmetic
        QMap<QString, QString> Values;
    };
    TCommon QueryCommon;

private:
    QString m_path;
    QSqlDatabase myCon;
};

// Runs a SELECT. When it cannot run, shows the database message and returns
// the query unopened (isActive() false). The caller owns the query.
std::unique_ptr<QSqlQuery> OpenQuery(const QString& sql);

// The change statements: SetSQL, SetParam once per marker, ExecCommon. Every
// value goes in as text and the database converts it to the column's type.
void SetSQL(const QString& sql);
void SetParam(const QString& name, const QString& value);
// True when at least one row was affected. Throws TDbError when the database
// refuses the statement or cannot be reached; a refused statement changes
// nothing.
bool ExecCommon();

// Runs one command of a window: an error it does not catch (a refused
// statement, a number that does not convert, a file that cannot be read)
// ends the command and reaches the application's standard error box.
// False when the command ended that way.
bool RunCommand(const std::function<void()>& command);

// The current local time as "yyyyMMddhhmmss".
QString NowStamp();

// A column of the current row as text; empty for NULL.
QString FieldText(const QSqlQuery& query, const char* column);
