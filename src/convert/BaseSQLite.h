#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// A read-only SQLite 3 database file. Opening never creates the file: a missing
// catalogue must be reported, not replaced by an empty one.
class TBaseSQLite {
  public:
    TBaseSQLite() = default;
    ~TBaseSQLite();
    TBaseSQLite(const TBaseSQLite&) = delete;
    TBaseSQLite& operator=(const TBaseSQLite&) = delete;

    // False with Error() set when the file is missing or is not a database.
    bool Abrir(const QString& path);
    void Cerrar();
    bool Abierta() const { return FDb != nullptr; }
    sqlite3* Handle() const { return FDb; }

    // The library's text for the last failure.
    const QString& Error() const { return FError; }
    void SetError(const QString& text) { FError = text; }

  private:
    sqlite3* FDb = nullptr;
    QString FError;
};

// One prepared statement, stepped row by row; columns are read as text by name.
class TSentenciaSQLite {
  public:
    TSentenciaSQLite(TBaseSQLite& db, const QString& sql);
    ~TSentenciaSQLite();
    TSentenciaSQLite(const TSentenciaSQLite&) = delete;
    TSentenciaSQLite& operator=(const TSentenciaSQLite&) = delete;

    bool Preparada() const { return FStmt != nullptr; }
    // Binds `value` to the statement's `index`-th "?" (from 1); false with Error() set when
    // the statement has no such parameter.
    bool Vincular(int index, const QString& value);
    // True while a row is available; false at the end or on an error (see Error()).
    bool Siguiente();
    // The value of column `name` of the current row as text (NULL reads as empty);
    // nothing when the result has no such column.
    std::optional<QString> Texto(const QString& name) const;
    const QString& Error() const { return FError; }

  private:
    sqlite3_stmt* FStmt = nullptr;
    QStringList FColumnas;
    QString FError;
};
