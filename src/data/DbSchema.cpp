#include "DbSchema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

QString Resource(const QString& name, bool* found = nullptr)
{
    QFile f(u":/db/"_s + name);
    const bool ok = f.open(QIODevice::ReadOnly);
    if (found)
        *found = ok;
    return ok ? QString::fromUtf8(f.readAll()) : QString();
}

int UserVersion(QSqlDatabase& db)
{
    QSqlQuery q(db);
    return q.exec(u"PRAGMA user_version"_s) && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

bool TDbSchema::RunScript(QSqlDatabase& db, const QString& script, QString* error)
{
    QString statement;
    bool quoted = false;
    const auto run = [&]() {
        const QString text = statement.trimmed();
        statement.clear();
        if (text.isEmpty())
            return true;
        QSqlQuery q(db);
        if (q.exec(text))
            return true;
        if (error)
            *error = q.lastError().text() + u"\n"_s + text;
        return false;
    };
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quoted && c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
            while (i < script.size() && script[i] != u'\n')
                ++i;
            statement += u'\n';
            continue;
        }
        if (c == u'\'')
            quoted = !quoted;
        if (c == u';' && !quoted) {
            if (!run())
                return false;
            continue;
        }
        statement += c;
    }
    return run();
}

bool TDbSchema::Create(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = u"%1 already exists"_s.arg(path);
        return false;
    }
    const QString temp = path + u".new-"_s + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        const QString name = u"kavo-create-"_s + QUuid::createUuid().toString(QUuid::Id128);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(temp);
            if (!db.open()) {
                if (error)
                    *error = db.lastError().text();
            } else {
                ok = db.transaction() && RunScript(db, Resource(u"schema.sql"_s), error) &&
                     RunScript(db, Resource(u"initial.sql"_s), error) && db.commit();
                if (!ok)
                    db.rollback();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    // rename() refuses to replace a file that appeared meanwhile.
    if (ok && !QFile::rename(temp, path)) {
        ok = false;
        if (error)
            *error = u"cannot write %1"_s.arg(path);
    }
    if (!ok)
        QFile::remove(temp);
    return ok;
}

bool TDbSchema::Upgrade(QSqlDatabase& db, QString* error)
{
    const int version = UserVersion(db);
    if (version < 0) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    if (version >= Version)
        return true;
    // An empty or foreign file is no program database to bring up to date.
    if (!db.tables().contains(u"fxPrm"_s, Qt::CaseInsensitive)) {
        if (error)
            *error = u"%1 不是本程序的数据库"_s.arg(db.databaseName());
        return false;
    }
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    for (int v = version + 1; v <= Version; ++v) {
        bool found = false;
        const QString script = Resource(u"upgrade-%1.sql"_s.arg(v), &found);
        if ((found && !RunScript(db, script, error)) || !RunScript(db, u"PRAGMA user_version = %1"_s.arg(v), error)) {
            db.rollback();
            return false;
        }
    }
    return db.commit();
}
