#pragma once

// Small program folders for the update tests: files written by hand, archives made with
// the system's tar (as scripts/make-update makes them), and a stand-in program.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>

namespace prueba {
inline QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

inline void Escribir(const QString& ruta, const QByteArray& datos, bool ejecutable = false) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << ruta.toStdString();
    f.write(datos);
    f.close();
    if (ejecutable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

// A program that answers --version with `version` and otherwise writes `marca` (when
// given) so a test sees that it was started.
inline QByteArray ProgramaFalso(const QString& version, const QString& marca = QString()) {
    QByteArray s = "#!/bin/sh\nif [ \"$1\" = --version ]; then echo 'Senderal " + version.toUtf8() +
                   "'; exit 0; fi\n";
    if (!marca.isEmpty())
        s += "echo " + version.toUtf8() + " > \"" + marca.toUtf8() + "\"\n";
    return s;
}

// Runs tar; `argumentos` after "--create --gzip --file=ARCHIVO".
inline bool Empaquetar(const QString& archivo, const QStringList& argumentos) {
    QProcess tar;
    tar.start(QStringLiteral("tar"),
              QStringList{QStringLiteral("--create"), QStringLiteral("--gzip"),
                          QStringLiteral("--file=") + archivo} +
                  argumentos);
    if (!tar.waitForFinished(60000) || tar.exitCode() != 0) {
        ADD_FAILURE() << "tar: " << tar.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

// The whole of `carpeta` as scripts/make-update packs it: "./name" entries.
inline bool EmpaquetarCarpeta(const QString& archivo, const QString& carpeta) {
    return Empaquetar(archivo, {QStringLiteral("--directory=") + carpeta, QStringLiteral(".")});
}

// Every file below `carpeta` with its contents, for comparing a folder before and after.
inline QMap<QString, QByteArray> Contenido(const QString& carpeta) {
    QMap<QString, QByteArray> r;
    QDirIterator it(carpeta, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo i(it.next());
        r[QDir(carpeta).relativeFilePath(i.absoluteFilePath())] =
            i.isDir() ? QByteArray("<carpeta>") : Leer(i.absoluteFilePath());
    }
    return r;
}

// Copies the program folder `origen` into `destino` as a user would have it: without
// its temporary "cache/" folder and without settings left by earlier runs.
inline bool CopiarCarpetaPrograma(const QString& origen, const QString& destino) {
    QDirIterator it(origen, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QDir().mkpath(destino);
    while (it.hasNext()) {
        const QFileInfo i(it.next());
        const QString rel = QDir(origen).relativeFilePath(i.absoluteFilePath());
        if (rel == QLatin1String("cache") || rel.startsWith(QLatin1String("cache/")) ||
            (!rel.contains(QLatin1Char('/')) &&
             (rel.endsWith(QLatin1String(".ini")) || rel == QLatin1String("ComboBox.txt") ||
              rel == QLatin1String("zumbo"))))
            continue;
        const QString d = destino + QLatin1Char('/') + rel;
        if (i.isDir() ? !QDir().mkpath(d) : !QFile::copy(i.absoluteFilePath(), d)) {
            ADD_FAILURE() << "cannot copy " << rel.toStdString();
            return false;
        }
    }
    return true;
}

// The names beside `carpeta` (in the folder that holds it), itself included.
inline QStringList Vecinos(const QString& carpeta) {
    return QDir(QFileInfo(carpeta).absolutePath())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace prueba
