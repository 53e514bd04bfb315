#include "ConversionLineaOrdenes.h"

#include "AppPaths.h"
#include "CatalogoFormatos.h"
#include "ComandoGPSBabel.h"
#include "Conversor.h"
#include "FicheroRegular.h"
#include "SenderalError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>

QString UbicacionGPSBabelConfigurada(const QString& ini, const QString& appDir) {
    if (QFileInfo::exists(ini)) {
        QSettings s(ini, QSettings::IniFormat);
        const QString guardada = s.value(QStringLiteral("Config/GPSBabel")).toString().trimmed();
        if (!guardada.isEmpty())
            return guardada;
    }
    return UbicacionGPSBabelPorDefecto(appDir);
}

int ConvertirDesdeLineaDeOrdenes(const QString& origen, const QString& destino, QString& error,
                                 bool reemplazar, QStringList* escritos) {
    if (!QFileInfo::exists(origen) && !QFileInfo(origen).isSymLink()) {
        error = QStringLiteral("El fichero de ruta no existe: ") + origen;
        return 1;
    }
    // A pipe, a folder or a device is said to be what it is.
    const QString clase = ClaseNoRegular(origen);
    if (!clase.isEmpty()) {
        error = QFileInfo::exists(origen) ? TextoNoRegular(origen, clase) : clase;
        return 1;
    }
    error = ComprobarDestino(destino, origen, reemplazar);
    if (!error.isEmpty())
        return 1;
    // The settings file: the program's name with ".ini", in the settings folder.
    const QString ini = ConfigDir() +
                        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                        QStringLiteral(".ini");
    TCatalogoFormatos catalogo(AppDir() + TCatalogoFormatos::NombreFichero());
    TConversor conversor(catalogo);
    conversor.Babel = UbicacionGPSBabelConfigurada(ini, AppDir());
    conversor.Reemplazar = reemplazar;
    try {
        const QString extDestino = ExtensionFichero(destino).toLower();
        const QString extOrigen = ExtensionFichero(origen).toLower();
        const auto tipoDestino = catalogo.CodigoGPSBabelPorExtension(extDestino);
        if (!tipoDestino) {
            error = QStringLiteral("La extensión \"%1\" del fichero de destino no está en el "
                                   "catálogo de formatos.")
                        .arg(ExtensionFichero(destino));
            return 1;
        }
        const auto tipoOrigen = catalogo.CodigoGPSBabelPorExtension(extOrigen);
        if (!tipoOrigen) {
            error = QStringLiteral("La extensión \"%1\" del fichero de origen no está en el "
                                   "catálogo de formatos.")
                        .arg(ExtensionFichero(origen));
            return 1;
        }
        const TResultadoConversion r =
            conversor.Ejecutar(origen, destino, *tipoOrigen, *tipoDestino);
        if (!r.Exito) {
            error = r.Comando + QStringLiteral("\n") + r.Detalle;
            return 1;
        }
        if (escritos)
            *escritos = r.Escritos;
    } catch (const ESenderalError& e) {
        error = e.text();
        return 1;
    }
    return 0;
}

int EjecutarConversion(QStringList argumentos) {
    const bool reemplazar = argumentos.removeAll(QStringLiteral("--force")) > 0;
    if (argumentos.size() < 2) {
        std::fprintf(stderr, "usage: senderal --convert SRC DEST [--force]\n");
        return 2;
    }
    QString error;
    QStringList escritos;
    const int r =
        ConvertirDesdeLineaDeOrdenes(argumentos[0], argumentos[1], error, reemplazar, &escritos);
    if (r != 0)
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    // Every file written, one a line, for scripts that go on with them.
    for (const QString& f : escritos)
        std::printf("%s\n", QFile::encodeName(f).constData());
    return r;
}
