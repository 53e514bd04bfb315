#include "Conversor.h"

#include "CatalogoFormatos.h"
#include "ComandoGPSBabel.h"
#include "EjecutarYEsperar.h"
#include "FicheroRegular.h"
#include "Log.h"
#include "Verbario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {
// Where GPSBabel writes before its results reach the destination: a hidden name in the
// destination's folder that no file has. Some writers put their own extension on the
// name they are given (OziExplorer always writes ".plt"), and writers that split the
// data write further files named after it ("NAME-1.plt", ...), so every file whose
// name starts with the stem is this run's.
struct TFicheroTemporal {
    QDir Carpeta;
    QString Raiz; // file name without extension
    QString Ruta; // what GPSBabel is told to write

    explicit TFicheroTemporal(const QString& destino) : Carpeta(QFileInfo(destino).dir()) {
        const QString ext = ExtensionFichero(destino).toLower();
        // No part of the user's name goes into it: the stem is also a search pattern.
        do {
            Raiz = QStringLiteral(".senderal-conversion-%1")
                       .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            Ruta = Carpeta.filePath(Raiz + (ext.isEmpty() ? QString() : QLatin1Char('.') + ext));
        } while (!Escritos().isEmpty());
    }
    // Every file this run may have written, in name order.
    QStringList Escritos() const {
        QStringList r;
        const auto nombres = Carpeta.entryList(
            {Raiz + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString& n : nombres)
            r << Carpeta.filePath(n);
        return r;
    }
    // The main file GPSBabel wrote, or empty when it wrote none.
    QString Resultado() const {
        if (QFileInfo::exists(Ruta))
            return Ruta;
        for (const QString& e : Escritos()) {
            const QString resto = QFileInfo(e).fileName().mid(Raiz.size());
            if (resto.isEmpty() || resto.startsWith(QLatin1Char('.')))
                return e;
        }
        return QString();
    }
    // Where a file this run wrote goes: the main one to the destination, a further one
    // ("<stem>-1.plt") beside it under the destination's name with the same tag.
    QString DestinoDe(const QString& escrito, const QString& principal,
                      const QString& destino) const {
        if (escrito == principal)
            return destino;
        QString resto = QFileInfo(escrito).fileName().mid(Raiz.size());
        const qsizetype punto = resto.indexOf(QLatin1Char('.'));
        if (punto >= 0)
            resto.truncate(punto);
        const QString ext = ExtensionFichero(destino);
        const QString base =
            ext.isEmpty() ? destino : destino.left(destino.size() - ext.size() - 1);
        return base + resto + (ext.isEmpty() ? QString() : QLatin1Char('.') + ext);
    }
    void Borrar() const {
        for (const QString& f : Escritos())
            QFile::remove(f);
    }
};

// Moves every file the run wrote to its place; all destinations are checked before the
// first one moves. `escritos` gets the destinations, the main one first.
bool moverResultados(const TFicheroTemporal& temporal, const QString& origen,
                     const QString& destino, bool reemplazar, QStringList& escritos,
                     QString& error) {
    const QString principal = temporal.Resultado();
    QStringList desde{principal};
    for (const QString& e : temporal.Escritos())
        if (e != principal)
            desde << e;
    QStringList hasta;
    for (const QString& e : desde) {
        hasta << temporal.DestinoDe(e, principal, destino);
        error = ComprobarDestino(hasta.last(), origen, reemplazar);
        if (!error.isEmpty())
            return false;
    }
    for (qsizetype i = 0; i < desde.size(); ++i) {
        if (!MoverADestino(desde[i], hasta[i], reemplazar, error))
            return false;
        escritos << hasta[i];
    }
    return true;
}

QString detalleProceso(const TResultadoProceso& p, int limiteMs) {
    QString d;
    if (p.AgotadoTiempo)
        d = LookupTextCon(QStringLiteral("_STR_MI_BABEL_TIMEOUT"),
                          QStringLiteral("GPSBabel no terminó en %s segundos y se ha detenido."),
                          {QString::number(limiteMs / 1000)});
    else if (!p.Terminado)
        d = LookupText(QStringLiteral("_STR_MI_BABEL_CRASH"),
                       QStringLiteral("GPSBabel terminó de forma anormal."));
    else if (p.CodigoSalida != 0)
        d = LookupTextCon(QStringLiteral("_STR_MI_BABEL_EXITCODE"),
                          QStringLiteral("GPSBabel terminó con el código de salida %s."),
                          {QString::number(p.CodigoSalida)});
    else
        d = LookupText(QStringLiteral("_STR_MI_BABEL_NOOUTPUT"),
                       QStringLiteral("GPSBabel no ha escrito el fichero de destino."));
    if (!p.SalidaError.isEmpty())
        d += QStringLiteral("\r\n") + p.SalidaError;
    return d;
}
} // namespace

TConversor::TConversor(const TCatalogoFormatos& catalogo, TLog* log)
    : FCatalogo(catalogo), FLog(log) {}

void TConversor::log(const QString& line) const {
    if (FLog)
        FLog->_Log(line, false);
}

TResultadoConversion TConversor::ConvertirFichero(const QString& origen, const QString& destino,
                                                  const QString& descripcionDestino) const {
    QString tipoOrigen, tipoDestino;
    if (const auto d = FCatalogo.CodigoGPSBabelPorDescripcion(descripcionDestino)) {
        tipoDestino = *d;
        log(QStringLiteral("Tipo destino: ") + tipoDestino);
        const QString ext = ExtensionFichero(origen).toLower().remove(QLatin1Char('.'));
        if (const auto o = FCatalogo.CodigoGPSBabelPorExtension(ext)) {
            tipoOrigen = *o;
            log(QStringLiteral("Tipo origen: ") + tipoOrigen);
        }
    }
    TResultadoConversion r = Ejecutar(origen, destino, tipoOrigen, tipoDestino);
    if (r.NoIniciado && tipoDestino.isEmpty())
        r.Detalle = LookupTextCon(
            QStringLiteral("_STR_MI_BABEL_NOOUTFORMAT"),
            QStringLiteral("El formato de salida \"%s\" no está en el catálogo de formatos."),
            {descripcionDestino});
    else if (r.NoIniciado && tipoOrigen.isEmpty())
        r.Detalle = LookupTextCon(QStringLiteral("_STR_MI_BABEL_NOINEXT"),
                                  QStringLiteral("La extensión \"%s\" del fichero de origen no "
                                                 "está en el catálogo de formatos."),
                                  {ExtensionFichero(origen)});
    return r;
}

TResultadoConversion TConversor::Ejecutar(const QString& origen, const QString& destino,
                                          const QString& tipoOrigen,
                                          const QString& tipoDestino) const {
    TResultadoConversion r;
    const bool hayComando = !tipoOrigen.isEmpty() && !tipoDestino.isEmpty();
    if (hayComando) {
        r.Comando = LineaComando(Babel, origen, destino, tipoOrigen, tipoDestino);
        log(QStringLiteral("Comando:  ") + r.Comando);
    }
    log(QStringLiteral("Comando de conversión: ") + r.Comando);
    if (!hayComando) {
        r.NoIniciado = true;
        r.Detalle = LookupText(QStringLiteral("_STR_MI_BABEL_NOCOMMAND"),
                               QStringLiteral("No hay comando de conversión."));
        return r;
    }

    const QString claseOrigen = ClaseNoRegular(origen);
    if (!claseOrigen.isEmpty()) {
        r.Detalle = QFileInfo::exists(origen) ? TextoNoRegular(origen, claseOrigen) : claseOrigen;
        return r;
    }
    r.Detalle = ComprobarDestino(destino, origen, Reemplazar);
    if (!r.Detalle.isEmpty())
        return r;

    const TFicheroTemporal temporal(destino);
    const TResultadoProceso p = EjecutarYEsperar(
        Babel, ArgumentosGPSBabel(origen, temporal.Ruta, tipoOrigen, tipoDestino), LimiteMs);
    if (!p.Iniciado) {
        r.NoIniciado = true;
        r.Detalle = LookupTextCon(QStringLiteral("_STR_MI_BABEL_NOSTART"),
                                  QStringLiteral("No se ha podido ejecutar GPSBabel (%s): %s"),
                                  {Babel, p.ErrorInicio});
        return r;
    }
    const QString escrito = temporal.Resultado();
    if (p.Correcto() && !escrito.isEmpty()) {
        r.Exito = moverResultados(temporal, origen, destino, Reemplazar, r.Escritos, r.Detalle);
    } else {
        TResultadoProceso visto = p;
        // GPSBabel names the file it was given; the user knows the destination.
        visto.SalidaError.replace(temporal.Ruta, destino);
        r.Detalle = detalleProceso(visto, LimiteMs);
    }
    temporal.Borrar();
    log(r.Exito ? QStringLiteral("Conversión correcta: ") + r.Escritos.join(QStringLiteral(", "))
                : QStringLiteral("Conversión fallida: ") + r.Detalle);
    if (EXECLocal)
        grabarRegistro(r.Comando);
    return r;
}

void TConversor::grabarRegistro(const QString& comando) const {
    const QString carpeta = CarpetaCache.isEmpty() ? QDir::currentPath() : CarpetaCache;
    QDir().mkpath(carpeta);
    QFile f(QDir(carpeta).filePath(QStringLiteral("convert.cmd")));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(comando.toLocal8Bit() + "\r\n");
}

TResultadoConversion
ImportarComoGPX(const TConversor& conversor, const QString& origen, QString& gpxPath,
                const std::function<bool(const QString&, const QString&)>& reemplazar) {
    gpxPath = CambiarExtension(origen, QStringLiteral(".GPX"));
    if (QFileInfo::exists(gpxPath)) {
        const QString libre = NombreLibre(gpxPath);
        if (!reemplazar || !reemplazar(gpxPath, libre))
            gpxPath = libre;
    }
    return conversor.ConvertirFichero(origen, gpxPath, TCatalogoFormatos::DescripcionGPX());
}

QString NombreLibre(const QString& path) {
    if (!QFileInfo::exists(path))
        return path;
    const QString ext = ExtensionFichero(path);
    const QString base = ext.isEmpty() ? path : path.left(path.size() - ext.size() - 1);
    for (int n = 2;; ++n) {
        const QString candidato = QStringLiteral("%1 (%2)").arg(base).arg(n) +
                                  (ext.isEmpty() ? QString() : QLatin1Char('.') + ext);
        if (!QFileInfo::exists(candidato))
            return candidato;
    }
}

QString TextoFalloConversion(const TResultadoConversion& r) {
    return LookupText(QStringLiteral("_STR_MI_ERRCONVERT"),
                      QStringLiteral("Parece que ha ocurrido un problema al realizar la "
                                     "conversión.\r\nError: ")) +
           r.Detalle;
}

QString TextoNoIniciado(const TResultadoConversion& r) {
    return r.Detalle;
}

QString ComprobarConversion(const TDatosComprobacion& d, QString& StrIn, QString& StrOut,
                            bool& focoSalida) {
    focoSalida = false;
    if (!d.OrigenExiste)
        return LookupText(QStringLiteral("_STR_MI_FILENOTEXIST"),
                          QStringLiteral("El fichero de ruta no existe."));
    if (!d.SalidaElegida) {
        focoSalida = true;
        return LookupText(QStringLiteral("_STR_MI_NOTOUTFORMAT"),
                          QStringLiteral("No se ha seleccionado un formato de salida."));
    }
    StrIn = ExtensionFichero(d.Origen).remove(QLatin1Char('.'));
    if (d.TextoSalida.isEmpty())
        return LookupText(QStringLiteral("_STR_MI_OUTELEMINCORRECT"),
                          QStringLiteral("Error; El elemento seleccionado en la salida no es "
                                         "correcto."));
    StrOut = MayusculasAscii(ValorConvertList(d.ConvertList, d.TextoSalida).value_or(QString()))
                 .trimmed();
    StrIn = MayusculasAscii(StrIn).trimmed();
    if (StrIn == StrOut)
        return LookupText(QStringLiteral("_STR_MI_SAMEFORMAT"),
                          QStringLiteral("Error; El formato de entrada y de salida parecen ser "
                                         "el mismo."));
    return QString();
}
