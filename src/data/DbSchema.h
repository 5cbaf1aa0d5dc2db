#pragma once

// The database file: made new from the schema and initial rows the program
// carries, and brought up to date when an older file is opened.

#include <QSqlDatabase>
#include <QString>

class TDbSchema final {
public:
    static constexpr int Version = 1;

    // Writes a new database at path, beside it first and renamed into place.
    // Refuses, leaving the path untouched, when it exists.
    static bool Create(const QString& path, QString* error);

    // Applies the upgrades from the file's version to Version in one
    // transaction. A file of a newer version is left as it is.
    static bool Upgrade(QSqlDatabase& db, QString* error);

    // Runs a script of statements separated by ";" outside quotes.
    static bool RunScript(QSqlDatabase& db, const QString& script, QString* error);
};
