// The window half of the program, loaded by the executable only when a window is needed:
// the command-line tools start without loading the browser and widget libraries.
#include "Aplicacion.h"
#include "AppPaths.h"
#include "LineaOrdenes.h"
#include "Version.h"

#include <QFileInfo>
#include <cstdio>

// The version the window shows in its title; `senderal --version` prints it. The number
// lives here, in the module, so it always names the window the folder holds.
extern "C" Q_DECL_EXPORT const char* senderal_ventana_version() {
    static const QByteArray texto = TextoVersionPrograma().toUtf8();
    return texto.constData();
}

extern "C" Q_DECL_EXPORT int senderal_ventana_main(int argc, char* argv[]) {
    const TOrdenPrograma orden = LeerLineaOrdenes(argc, argv);
    if (!orden.Uso.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(orden.Uso));
        return 2;
    }
    if (orden.Modo == TModoPrograma::Snapshot) {
        // Drawn without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TAplicacion app(argc, argv);
        const QString file = orden.Fichero.isEmpty()
                                 ? AppDir() + QStringLiteral("samples/Montseny.gpx")
                                 : orden.Fichero;
        return EjecutarSnapshot(orden.Carpeta, QFileInfo(file).absoluteFilePath());
    }
    if (orden.Modo == TModoPrograma::MedirCarga) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TAplicacion app(argc, argv);
        return MedirCarga(QFileInfo(orden.Fichero).absoluteFilePath());
    }
    TAplicacion app(argc, argv);
    return EjecutarVentana(QCoreApplication::arguments());
}
