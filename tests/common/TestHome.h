#pragma once

// A temporary program folder with a fresh copy of the database the build
// ships, named by KAVO_HOME for as long as the object lives. Tests never touch
// the build's own database.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

class TTestHome final {
public:
    explicit TTestHome(bool withDatabase = true)
    {
        if (withDatabase)
            QFile::copy(QStringLiteral(KAVO_BIN_DIR "/KAVODB.mdb"), DatabasePath());
        QFile::setPermissions(DatabasePath(), QFile::ReadOwner | QFile::WriteOwner);
        qputenv("KAVO_HOME", m_dir.path().toUtf8());
    }
    ~TTestHome() { qunsetenv("KAVO_HOME"); }
    QString Path() const { return m_dir.path(); }
    QString DatabasePath() const { return QDir(m_dir.path()).filePath(QStringLiteral("KAVODB.mdb")); }

private:
    QTemporaryDir m_dir;
};
