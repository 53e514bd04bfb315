#include "ConvertTestSupport.h"

#include <QFile>
#include <QXmlStreamReader>
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

QString GpxPequeno() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="prueba" xmlns="http://www.topografix.com/GPX/1/1">
 <trk><name>Prueba</name><trkseg>
  <trkpt lat="41.769967" lon="2.430064"><ele>619.5</ele><time>2022-05-14T06:40:00Z</time><fix>3d</fix></trkpt>
  <trkpt lat="41.770934" lon="2.431128"><ele>621.0</ele><time>2022-05-14T06:40:05Z</time><fix>3d</fix></trkpt>
  <trkpt lat="41.771902" lon="2.432192"><ele>624.5</ele><time>2022-05-14T06:40:10Z</time><fix>3d</fix></trkpt>
  <trkpt lat="41.772811" lon="2.433500"><ele>630.0</ele><time>2022-05-14T06:40:15Z</time><fix>3d</fix></trkpt>
 </trkseg></trk>
</gpx>
)");
}

void EscribirFichero(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(data);
}

QByteArray LeerFichero(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

std::vector<QPointF> PuntosGpx(const QString& path) {
    std::vector<QPointF> puntos;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return puntos;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("trkpt"))
            puntos.emplace_back(xml.attributes().value(QLatin1String("lat")).toDouble(),
                                xml.attributes().value(QLatin1String("lon")).toDouble());
    return puntos;
}

void EscribirPrograma(const QString& path, const QByteArray& script) {
    EscribirFichero(path, script);
    QFile::setPermissions(path,
                          QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}
