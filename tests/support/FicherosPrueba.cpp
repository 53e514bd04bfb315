#include "FicherosPrueba.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

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

void EscribirPrograma(const QString& path, const QByteArray& script) {
    EscribirFichero(path, script);
    QFile::setPermissions(path,
                          QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
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

bool CopiarMapeo(const QString& carpeta) {
    return QFile::copy(QStringLiteral(SENDERAL_SOURCE_DIR "/data/GpxDS.dll"),
                       QDir(carpeta).filePath(QStringLiteral("GpxDS.dll")));
}
