// `senderal --convert` reaches the conversion and reports through its exit status.
#include "FicherosPrueba.h"
#include "GpxPrueba.h"
#include "ImprimirQt.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
int Ejecutar(const QStringList& args, QString& error) {
    QProcess p;
    p.start(QStringLiteral(SENDERAL_APP_DIR "/senderal"),
            QStringList{QStringLiteral("--convert")} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    error = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(ProgramaConvert, ConvierteYSaleConCero) {
    QTemporaryDir dir;
    const QString gpx = dir.filePath(QStringLiteral("mi ruta.gpx"));
    EscribirFichero(gpx, GpxPequeno());
    const QString tcx = dir.filePath(QStringLiteral("mi ruta.tcx"));
    QString error;
    EXPECT_EQ(Ejecutar({gpx, tcx}, error), 0) << error.toStdString();
    EXPECT_TRUE(LeerFichero(tcx).contains("TrainingCenterDatabase"));
}

TEST(ProgramaConvert, UnFalloSaleConUnoYElMotivoEnStderr) {
    QTemporaryDir dir;
    const QString kml = dir.filePath(QStringLiteral("roto.kml"));
    EscribirFichero(kml, "no es KML");
    QString error;
    EXPECT_EQ(Ejecutar({kml, dir.filePath(QStringLiteral("roto.gpx"))}, error), 1);
    EXPECT_TRUE(error.contains(QString::fromUtf8("código de salida 1"))) << error.toStdString();
    EXPECT_EQ(Ejecutar({kml}, error), 2);
}
} // namespace
