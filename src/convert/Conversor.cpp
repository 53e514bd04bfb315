#include "Conversor.h"

#include "CatalogoFormatos.h"
#include "ComandoGPSBabel.h"
#include "EjecutarYEsperar.h"
#include "Log.h"
#include "Verbario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// Where GPSBabel writes before its result replaces the destination: a hidden name in the
// destination's folder that no file has. Some writers put their own extension on the
// name they are given (OziExplorer always writes ".plt"), so the extension is offered in
// lower case and the result is looked for under the name's stem with any extension.
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
    // Every file this run may have written.
    QStringList Escritos() const {
        QStringList r;
        const auto nombres = Carpeta.entryList({Raiz, Raiz + QStringLiteral(".*")},
                                               QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& n : nombres)
            r << Carpeta.filePath(n);
        return r;
    }
    // The one file GPSBabel wrote, or empty when it wrote none (or several).
    QString Resultado() const {
        if (QFileInfo::exists(Ruta))
            return Ruta;
        const QStringList e = Escritos();
        return e.size() == 1 ? e.first() : QString();
    }
    void Borrar() const {
        for (const QString& f : Escritos())
            QFile::remove(f);
    }
};

// Moves the finished file over the destination in one step (POSIX rename replaces).
bool reemplazarDestino(const QString& temporal, const QString& destino, QString& error) {
    if (std::rename(QFile::encodeName(temporal).constData(),
                    QFile::encodeName(destino).constData()) == 0)
        return true;
    error = QStringLiteral("No se ha podido escribir el fichero de destino %1: %2")
                .arg(destino, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

QString detalleProceso(const TResultadoProceso& p, int limiteMs) {
    QString d;
    if (p.AgotadoTiempo)
        d = QStringLiteral("GPSBabel no terminó en %1 segundos y se ha detenido.")
                .arg(limiteMs / 1000);
    else if (!p.Terminado)
        d = QStringLiteral("GPSBabel terminó de forma anormal.");
    else if (p.CodigoSalida != 0)
        d = QStringLiteral("GPSBabel terminó con el código de salida %1.").arg(p.CodigoSalida);
    else
        d = QStringLiteral("GPSBabel no ha escrito el fichero de destino.");
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
        r.Detalle =
            QStringLiteral("El formato de salida \"%1\" no está en el catálogo de formatos.")
                .arg(descripcionDestino);
    else if (r.NoIniciado && tipoOrigen.isEmpty())
        r.Detalle = QStringLiteral("La extensión \"%1\" del fichero de origen no está en el "
                                   "catálogo de formatos.")
                        .arg(ExtensionFichero(origen));
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
        r.Detalle = QStringLiteral("No hay comando de conversión.");
        return r;
    }

    const TFicheroTemporal temporal(destino);
    const TResultadoProceso p = EjecutarYEsperar(
        Babel, ArgumentosGPSBabel(origen, temporal.Ruta, tipoOrigen, tipoDestino), LimiteMs);
    if (!p.Iniciado) {
        r.NoIniciado = true;
        r.Detalle =
            QStringLiteral("No se ha podido ejecutar GPSBabel (%1): %2").arg(Babel, p.ErrorInicio);
        return r;
    }
    const QString escrito = temporal.Resultado();
    if (p.Correcto() && !escrito.isEmpty()) {
        r.Exito = reemplazarDestino(escrito, destino, r.Detalle);
    } else {
        TResultadoProceso visto = p;
        // GPSBabel names the file it was given; the user knows the destination.
        visto.SalidaError.replace(temporal.Ruta, destino);
        r.Detalle = detalleProceso(visto, LimiteMs);
    }
    temporal.Borrar();
    log(r.Exito ? QStringLiteral("Conversión correcta: ") + destino
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
