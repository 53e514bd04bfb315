#include "ConversionLineaOrdenes.h"

#include "AppPaths.h"
#include "CatalogoFormatos.h"
#include "ComandoGPSBabel.h"
#include "Conversor.h"
#include "SenderalError.h"

#include <QCoreApplication>
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

int ConvertirDesdeLineaDeOrdenes(const QString& origen, const QString& destino, QString& error) {
    if (!QFileInfo(origen).isFile()) {
        error = QStringLiteral("El fichero de ruta no existe: ") + origen;
        return 1;
    }
    if (QFileInfo::exists(destino)) {
        error = QStringLiteral("El fichero de destino ya existe: ") + destino;
        return 1;
    }
    // The settings file: the program's name with ".ini", in the settings folder.
    const QString ini = ConfigDir() +
                        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                        QStringLiteral(".ini");
    TCatalogoFormatos catalogo(AppDir() + TCatalogoFormatos::NombreFichero());
    TConversor conversor(catalogo);
    conversor.Babel = UbicacionGPSBabelConfigurada(ini, AppDir());
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
    } catch (const ESenderalError& e) {
        error = e.text();
        return 1;
    }
    return 0;
}

int EjecutarConversion(const QStringList& argumentos) {
    if (argumentos.size() < 2) {
        std::fprintf(stderr, "usage: senderal --convert SRC DEST\n");
        return 2;
    }
    QString error;
    const int r = ConvertirDesdeLineaDeOrdenes(argumentos[0], argumentos[1], error);
    if (r != 0)
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return r;
}
