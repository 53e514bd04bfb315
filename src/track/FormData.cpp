#include "FormData.h"

#include "AppPaths.h"
#include "FicheroRegular.h"
#include "GpxReader.h"
#include "Log.h"
#include "SenderalError.h"
#include "TextosPista.h"

#include <QFile>
#include <QFileInfo>
#include <new>

TFormData::TFormData(TLog* log, QObject* parent) : QObject(parent), FLog(log) {}

void TFormData::log(const QString& s) {
    if (FLog)
        FLog->_Log(s, false);
}

QString TFormData::texto(const char* key, const QString& defecto) const {
    return Texto ? Texto(QLatin1String(key), defecto) : defecto;
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

std::shared_ptr<const TTablaFiguras> TFormData::Figuras() const {
    const auto medidas = Medidas();
    const TAjustesFiguras& a = AjustesFiguras;
    if (!FFiguras || FMedidasDeFiguras != medidas ||
        FFiguras->Ajustes().UmbralDesnivelM != a.UmbralDesnivelM ||
        FFiguras->Ajustes().VelocidadParadoKmh != a.VelocidadParadoKmh ||
        FFiguras->Ajustes().PausaMaximaS != a.PausaMaximaS) {
        FFiguras = TTablaFiguras::Calcular(medidas, a);
        FMedidasDeFiguras = medidas;
    }
    return FFiguras;
}

void TFormData::VaciarYCerrar() {
    FMedidas.reset();
    FFiguras.reset();
    FMedidasDeFiguras.reset();
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
        const QString msg = TextoPista(
            "_STR_MI_NOMAPPING", "Error; No existe la librería de importación <GpxDS.dd>, que "
                                 "debe estar junto con el fichero de la aplicación.");
        log(msg);
        error(msg);
        return;
    }
    if (XMLDataFile.isEmpty()) {
        const QString msg =
            TextoPista("_STR_MI_NOTRACKFILE", "No está configurado el fichero da track (.GPX)");
        log(msg);
        error(msg);
        return;
    }

    Incompleto.clear();
    log(QStringLiteral("Abrir Datasets"));
    log(QStringLiteral("+ cdsTrack.Open"));
    // The reader appends: a holder still filled by an earlier track must not mix
    // its points into this one.
    if (cdsPoints.RecordCount() > 0 || cdsTrack.Active())
        VaciarYCerrar();
    QString why;
    TrackHeader header;
    bool ok = false;
    bool danado = false;
    try {
        TGpxMapping mapping;
        QFile mapFile(mappingPath);
        if (!mapFile.open(QIODevice::ReadOnly))
            why = QStringLiteral("%1: %2").arg(mappingPath, mapFile.errorString());
        else if (!TGpxMapping::Parse(mapFile.readAll(), mapping, why))
            why = QStringLiteral("%1: %2").arg(mappingPath, why);
        else
            ok = LeerFicheroGpx(XMLDataFile, mapping, header, cdsPoints, why, Lectura, &danado);
    } catch (const std::bad_alloc&) {
        ok = danado = false;
        cdsPoints.EmptyDataSet();
        why = TextoSinMemoria();
    }
    bool registrado = false;
    if (!ok && danado && cdsPoints.RecordCount() > 0) {
        log(QStringLiteral("ERROR: ") + why);
        registrado = true;
        if (AbrirIncompleto) {
            if (!AbrirIncompleto(why, cdsPoints.RecordCount())) {
                VaciarYCerrar(); // the user has just been told where the damage is
                return;
            }
            Incompleto = why;
            ok = true;
        }
    } else if (ok && cdsPoints.RecordCount() == 0) {
        // Nothing to show: every view would stay empty with the map waiting for ever.
        ok = false;
        why = RellenarHuecos(
            texto("_STR_MI_NOPOINTS",
                  QStringLiteral("El fichero %s no contiene puntos de track ni de ruta.")),
            {QFileInfo(XMLDataFile).fileName()});
        VaciarYCerrar();
        log(QStringLiteral("ERROR: ") + why);
        error(why);
        return;
    }
    if (ok) {
        // Every view reads its numbers from here: the texts are parsed this once.
        try {
            FMedidas = TTablaMedidas::Calcular(cdsPoints);
        } catch (const std::bad_alloc&) {
            ok = false;
            why = TextoSinMemoria();
        }
    }
    if (ok) {
        cdsTrack.Open(header);
        log(QStringLiteral("- cdsTrack.Open"));
        log(QStringLiteral("+ cdsPoints.Open"));
        cdsPoints.Open();
        log(QStringLiteral("- cdsPoints.Open"));
        log(QStringLiteral("DataSets Abiertos"));
        return;
    }
    VaciarYCerrar();
    if (!registrado)
        log(QStringLiteral("ERROR: ") + why);
    if (MostrarErrorLectura) {
        MostrarErrorLectura(XMLDataFile, why);
        return;
    }
    QString msg = QStringLiteral("Error al abrir el fichero de track.\r\n<%1>").arg(XMLDataFile);
    // A damaged file says where: the line and column the user can look at.
    if (danado)
        msg += QStringLiteral("\r\n\r\n") + why;
    error(msg);
}
