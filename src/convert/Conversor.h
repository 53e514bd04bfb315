#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TCatalogoFormatos;
class TLog;

// The outcome of one conversion.
struct TResultadoConversion {
    bool Exito = false;
    // The command line as the log, the wizard and the developer record show it.
    QString Comando;
    // GPSBabel could not be run at all (no command, program missing): report it as an
    // error and stop; nothing was written.
    bool NoIniciado = false;
    // For the user: why it failed (GPSBabel's exit status and its own error output).
    QString Detalle;
    // Every file written, the destination first: a writer that splits the data (one
    // file per track) adds "dest-1.ext", "dest-2.ext"...
    QStringList Escritos;
};

// Runs GPSBabel for one conversion. GPSBabel writes into fresh files beside the
// destination, which reach their places only when GPSBabel ended with status 0; a
// failed run therefore never leaves a stale or half-written destination behind, never
// counts an older file as its result, and leaves no file of its own behind. Only a
// regular file is read, and only a new file is written unless `Reemplazar` allows an
// existing regular file other than the source.
class TConversor {
  public:
    TConversor(const TCatalogoFormatos& catalogo, TLog* log = nullptr);

    QString Babel;          // the GPSBabel program file
    bool EXECLocal = false; // developer mode: keep the last command in "convert.cmd"
    QString CarpetaCache;   // where "convert.cmd" goes
    int LimiteMs = 5 * 60 * 1000;
    // The window asks before it replaces a file; the command line needs --force.
    bool Reemplazar = true;

    // Looks the target up by its description and the source by its extension, then runs
    // GPSBabel. Catalogue failures raise ESenderalError.
    TResultadoConversion ConvertirFichero(const QString& origen, const QString& destino,
                                          const QString& descripcionDestino) const;

    // The run itself, with GPSBabel's format names already known (empty: not in the
    // catalogue, so nothing runs).
    TResultadoConversion Ejecutar(const QString& origen, const QString& destino,
                                  const QString& tipoOrigen, const QString& tipoDestino) const;

  private:
    void log(const QString& line) const;
    void grabarRegistro(const QString& comando) const;

    const TCatalogoFormatos& FCatalogo;
    TLog* FLog;
};

// The import of a non-GPX track: converts `origen` into a GPX file beside it. `gpxPath`
// gets the GPX path at once. When that file already exists, `reemplazar(path, libre)`
// decides: true overwrites it, false writes the free name `libre` instead.
TResultadoConversion
ImportarComoGPX(const TConversor& conversor, const QString& origen, QString& gpxPath,
                const std::function<bool(const QString&, const QString&)>& reemplazar);

// "name (2).ext", "name (3).ext"...: the first such path where no file exists.
QString NombreLibre(const QString& path);

// The failure box text: the program's message head and what went wrong.
QString TextoFalloConversion(const TResultadoConversion& r);
// The error box text when GPSBabel could not be run.
QString TextoNoIniciado(const TResultadoConversion& r);

// The wizard's checks. They return the first problem's text (empty when none) and set
// StrIn/StrOut as far as they get; `focoSalida` asks to put the focus on the target list.
struct TDatosComprobacion {
    QString Origen; // the source box
    bool OrigenExiste = false;
    bool SalidaElegida = false; // an item of the list is selected (not typed)
    QString TextoSalida;        // the selected item's text
    QStringList ConvertList;
};
QString ComprobarConversion(const TDatosComprobacion& d, QString& StrIn, QString& StrOut,
                            bool& focoSalida);
