#include "CatalogoPrueba.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

void CrearBaseDatos(const QString& path, const QString& sql) {
    QFile::remove(path);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString texto = error ? QString::fromUtf8(error) : QString();
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << texto.toStdString();
}

void CrearCatalogo(const QString& path, const std::vector<TFilaFormato>& filas) {
    QString sql = QStringLiteral("CREATE TABLE FormatDesc (Codigo TEXT, Descripcion TEXT, "
                                 "Code TEXT, Notas TEXT);");
    for (const TFilaFormato& f : filas)
        sql += QStringLiteral("INSERT INTO FormatDesc VALUES (%1, %2, %3, 'x');")
                   .arg(LiteralSQL(f.Codigo), LiteralSQL(f.Descripcion), LiteralSQL(f.Code));
    CrearBaseDatos(path, sql);
}

QString CatalogoEntregado() {
    return QStringLiteral(SENDERAL_APP_DIR "/") + TCatalogoFormatos::NombreFichero();
}
