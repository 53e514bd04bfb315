// Build tool: turns the reviewed SQL source of the format catalogue into the database
// file shipped beside the program, and refuses rows the program could not use.
#include "BaseSQLite.h"
#include "CatalogoFormatos.h"

#include <QFile>
#include <cstdio>
#include <sqlite3.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: senderal_crear_catalogo SOURCE.sql OUTPUT.s3db\n");
        return 2;
    }
    const QString fuente = QString::fromLocal8Bit(argv[1]);
    const QString salida = QString::fromLocal8Bit(argv[2]);
    QFile sql(fuente);
    if (!sql.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(sql.errorString()));
        return 1;
    }
    const QByteArray texto = sql.readAll();
    const QString temporal = salida + QStringLiteral(".tmp");
    QFile::remove(temporal);
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(temporal).constData(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(temporal), sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    char* error = nullptr;
    if (sqlite3_exec(db, texto.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error);
        sqlite3_free(error);
        sqlite3_close(db);
        QFile::remove(temporal);
        return 1;
    }
    sqlite3_close(db);

    QString fallo;
    const auto filas = TCatalogoFormatos(temporal).LeerFilas(fallo);
    QStringList problemas = ComprobarFilasCatalogo(filas);
    if (!fallo.isEmpty())
        problemas.prepend(fallo);
    if (!problemas.isEmpty()) {
        for (const QString& p : problemas)
            std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(p));
        QFile::remove(temporal);
        return 1;
    }
    QFile::remove(salida);
    if (!QFile::rename(temporal, salida)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
