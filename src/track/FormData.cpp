#include "FormData.h"

#include "AppPaths.h"
#include "GpxReader.h"
#include "Log.h"
#include "SenderalError.h"

#include <QFile>
#include <QFileInfo>

TFormData::TFormData(TLog* log, QObject* parent) : QObject(parent), FLog(log) {}

void TFormData::log(const QString& s) {
    if (FLog)
        FLog->_Log(s, false);
}

void TFormData::error(const QString& s) {
    if (MostrarError)
        MostrarError(s);
}

std::shared_ptr<const TTablaMedidas> TFormData::Medidas() const {
    if (!FMedidas || FMedidas->Puntos() != cdsPoints.RecordCount())
        FMedidas = TTablaMedidas::Calcular(cdsPoints);
    return FMedidas;
}

void TFormData::VaciarYCerrar() {
    FMedidas.reset();
    cdsPoints.EmptyDataSet();
    cdsTrack.EmptyDataSet();
    cdsPoints.Close();
    cdsTrack.Close();
}

void TFormData::OpenData() {
    const QString dir = CarpetaMapeo.isEmpty() ? AppDir() : CarpetaMapeo;
    const QString mappingPath =
        QFileInfo(dir + QLatin1Char('/') + NombreFicheroMapeo()).absoluteFilePath();
    if (!QFileInfo::exists(mappingPath)) {
        const QString msg = QStringLiteral(
            "Error; No existe la librería de importación <GpxDS.dd>, que debe estar junto "
            "con el fichero de la aplicación.");
        log(msg);
        error(msg);
        return;
    }
    if (XMLDataFile.isEmpty()) {
        const QString msg = QStringLiteral("No está configurado el fichero da track (.GPX)");
        log(msg);
        error(msg);
        return;
    }

    log(QStringLiteral("Abrir Datasets"));
    log(QStringLiteral("+ cdsTrack.Open"));
    // The reader appends: a holder still filled by an earlier track must not mix
    // its points into this one.
    if (cdsPoints.RecordCount() > 0 || cdsTrack.Active())
        VaciarYCerrar();
    QString why;
    TrackHeader header;
    bool ok = false;
    {
        TGpxMapping mapping;
        QFile mapFile(mappingPath);
        QFile gpx(XMLDataFile);
        if (!mapFile.open(QIODevice::ReadOnly))
            why = QStringLiteral("%1: %2").arg(mappingPath, mapFile.errorString());
        else if (!TGpxMapping::Parse(mapFile.readAll(), mapping, why))
            why = QStringLiteral("%1: %2").arg(mappingPath, why);
        else if (!gpx.open(QIODevice::ReadOnly))
            why = QStringLiteral("%1: %2").arg(XMLDataFile, gpx.errorString());
        else
            ok = LeerGpx(gpx, mapping, header, cdsPoints, why);
    }
    if (ok) {
        // Every view reads its numbers from here: the texts are parsed this once.
        FMedidas = TTablaMedidas::Calcular(cdsPoints);
        cdsTrack.Open(header);
        log(QStringLiteral("- cdsTrack.Open"));
        log(QStringLiteral("+ cdsPoints.Open"));
        cdsPoints.Open();
        log(QStringLiteral("- cdsPoints.Open"));
        log(QStringLiteral("DataSets Abiertos"));
        return;
    }
    VaciarYCerrar();
    log(QStringLiteral("ERROR: ") + why);
    error(QStringLiteral("Error al abrir el fichero de track.\r\n<%1>").arg(XMLDataFile));
}
