#pragma once

#include "InfoVersion.h"

#include <QLocale>
#include <QString>

// What the update check needs from the window: panels, message boxes, the status bar,
// the desktop's browser, the log and the way out of the program.
class TInterfazActualizacion {
  public:
    virtual ~TInterfazActualizacion() = default;
    virtual bool PanelArrastreVisible() const = 0;
    virtual void MostrarPanelUpdate(bool mostrar) = 0;         // the info panel while checking
    virtual void MostrarPanelArrastre() = 0;                   // the drop panel again
    virtual void Informar(const QString& texto) = 0;           // information box, OK
    virtual void Advertir(const QString& texto) = 0;           // warning box, OK
    virtual bool Preguntar(const QString& texto) = 0;          // question box, true on Yes
    virtual void TextoEstadoVersion(const QString& texto) = 0; // status panel 1
    virtual void AbrirDireccion(const QString& direccion) = 0;
    virtual void Log(const QString& linea) = 0;
    // Ends the program at once: no close question, no saving, no cache clearing.
    virtual void TerminarPrograma() = 0;
};

struct TDatosActualizacion {
    QString DireccionBase;   // the update server; empty: there is never an update
    QString RutaPrograma;    // full path of the running program file
    QString CarpetaPrograma; // with a trailing '/'
    QString CarpetaCache;    // with a trailing '/'
    TNumeroVersion VersionLocal;
    QLocale Locale;       // short date format of the version file and the question
    int EsperaMs = 30000; // a download gives up after this long without data
    QString NombreActualizador = QStringLiteral("Updater");
};

// Finds a newer published version, asks, downloads it and hands it to the updater.
// The update is the whole program folder: the archive (program file name + ".tar.gz") is
// unpacked into a new folder beside the program folder and checked there; the updater
// then swaps the folders once the program has ended. Any failure before the hand-over
// leaves the program folder untouched and is told to the user.
class TBuscadorActualizaciones {
  public:
    TBuscadorActualizaciones(TDatosActualizacion datos, TInterfazActualizacion& ui);

    // The whole check. Silent (the start-up check) hides the "no update" box and every
    // failure box; only a question about a new version is still asked.
    // Throws ESenderalError when the version file holds a value that cannot be read or the
    // updater cannot be started; the panels are put back first in every case.
    void ActionBuscarUpdatesExecute(bool silencioso);

    // Downloads and reads the version file; false when it could not be downloaded, and
    // then `motivo` says why in the user's language (no address, refused address, server
    // not reached and the reason).
    bool LeerInfoVersionWeb(TInfoVersion& info, QString* motivo = nullptr);

    // Deletes the leftover ".old" file, starts the updater with the running program and
    // the new program folder, and ends the program. Throws ESenderalError, and the program
    // stays, when the updater cannot be started.
    void LanzarActualizador(const QString& carpetaNueva);

    QString CarpetaUpdates() const; // base address + "AppUpdates/"
    QString NombreFichero(const QString& extension) const;

  private:
    void buscar(bool silencioso);
    void informarSinActualizacion(bool silencioso);
    void informarFallo(bool silencioso, const QString& motivo);
    void descargarYActualizar(const TNumeroVersion& publicada);
    void noInstalada(const QString& motivo);

    TDatosActualizacion FDatos;
    TInterfazActualizacion& FUi;
};
