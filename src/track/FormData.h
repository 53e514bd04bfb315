#pragma once

#include "FicheroRegular.h"
#include "Figuras.h"
#include "TablaMedidas.h"
#include "TrackStores.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class TLog;

// The data holder of the loaded track: the header store, the point store and the GPX
// path. Filled by OpenData, emptied and closed by the opening and closing of tracks,
// otherwise only read.
class TFormData : public QObject {
    Q_OBJECT
  public:
    explicit TFormData(TLog* log = nullptr, QObject* parent = nullptr);

    TTrackHeaderStore cdsTrack;
    TTrackPointStore cdsPoints;
    QString XMLDataFile;

    // Opens both stores from XMLDataFile through the mapping file beside the program.
    // Failures go to the log and to MostrarError, and leave both stores closed.
    void OpenData();

    // Empties the point store, then the header store, and closes them in the same order.
    void VaciarYCerrar();

    // The numbers of the loaded points, worked out once when the file is read (a store
    // filled some other way gets its table on first use). Views keep the pointer as long
    // as they show the points.
    std::shared_ptr<const TTablaMedidas> Medidas() const;
    // Filtered climb, grade, moving time and stretches, from Medidas() read with
    // AjustesFiguras (worked out again when either changes).
    std::shared_ptr<const TTablaFiguras> Figuras() const;
    TAjustesFiguras AjustesFiguras;

    // How an error box is shown; the window sets it, tools and tests may not.
    std::function<void(const QString&)> MostrarError;
    // Asked when the file is damaged after some points were read (a logger that lost
    // power mid-write): true opens those points. `detalle` says where the damage is.
    // Without it such a file is refused whole, as the command-line tools want.
    std::function<bool(const QString& detalle, int puntos)> AbrirIncompleto;
    // Where the open track's file is damaged when only the points before the damage were
    // opened; empty for a whole file.
    QString Incompleto;
    // The text of a message by its key and default text; the window gives it the
    // language files' lookup.
    std::function<QString(const QString& key, const QString& defecto)> Texto;
    // When set, a file that cannot be read is reported here with the reader's reason
    // instead of the plain box through MostrarError.
    std::function<void(const QString& ruta, const QString& motivo)> MostrarErrorLectura;
    // How the GPX file is read (size limit; tests change the file between blocks).
    TLecturaFichero Lectura;
    // The folder that holds the mapping file; empty means AppDir().
    QString CarpetaMapeo;

    static QString NombreFicheroMapeo() { return QStringLiteral("GpxDS.dll"); }

  private:
    QString texto(const char* key, const QString& defecto) const;
    void log(const QString& s);
    void error(const QString& s);
    TLog* FLog;
    mutable std::shared_ptr<const TTablaMedidas> FMedidas;
    mutable std::shared_ptr<const TTablaFiguras> FFiguras;
    mutable std::shared_ptr<const TTablaMedidas> FMedidasDeFiguras;
};
