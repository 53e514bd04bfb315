#include "BaseSQLite.h"

#include <QFile>
#include <sqlite3.h>

TBaseSQLite::~TBaseSQLite() {
    Cerrar();
}

bool TBaseSQLite::Abrir(const QString& path) {
    Cerrar();
    FError.clear();
    const QByteArray name = path.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &FDb, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        FError =
            FDb ? QString::fromUtf8(sqlite3_errmsg(FDb)) : QString::fromUtf8(sqlite3_errstr(rc));
        if (!QFile::exists(path))
            FError += QStringLiteral(" (") + path + QLatin1Char(')');
        Cerrar();
        return false;
    }
    return true;
}

void TBaseSQLite::Cerrar() {
    if (FDb)
        sqlite3_close_v2(FDb);
    FDb = nullptr;
}

TSentenciaSQLite::TSentenciaSQLite(TBaseSQLite& db, const QString& sql) {
    if (!db.Abierta()) {
        FError = db.Error();
        return;
    }
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db.Handle(), text.constData(), int(text.size()), &FStmt, nullptr) !=
        SQLITE_OK) {
        FError = QString::fromUtf8(sqlite3_errmsg(db.Handle()));
        sqlite3_finalize(FStmt);
        FStmt = nullptr;
        return;
    }
    for (int i = 0, n = sqlite3_column_count(FStmt); i < n; ++i)
        FColumnas << QString::fromUtf8(sqlite3_column_name(FStmt, i));
}

TSentenciaSQLite::~TSentenciaSQLite() {
    sqlite3_finalize(FStmt);
}

bool TSentenciaSQLite::Vincular(int index, const QString& value) {
    if (!FStmt)
        return false;
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(FStmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) ==
        SQLITE_OK)
        return true;
    FError = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(FStmt)));
    return false;
}

bool TSentenciaSQLite::Siguiente() {
    if (!FStmt)
        return false;
    const int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        FError = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(FStmt)));
    return false;
}

std::optional<QString> TSentenciaSQLite::Texto(const QString& name) const {
    // Column names are matched as SQLite matches them: without regard to letter case.
    int i = 0;
    while (i < FColumnas.size() && FColumnas[i].compare(name, Qt::CaseInsensitive) != 0)
        ++i;
    if (i == FColumnas.size() || !FStmt)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, i));
    return text ? QString::fromUtf8(text) : QString();
}
