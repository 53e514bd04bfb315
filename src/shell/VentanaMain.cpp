// The window half of the program, loaded by the executable only when a window is needed:
// the command-line tools start without loading the browser and widget libraries.
#include "Aplicacion.h"
#include "AppPaths.h"
#include "Version.h"

#include <QFileInfo>
#include <cstdio>

namespace {
int posicion(int argc, char* argv[], const char* option) {
    for (int i = 1; i < argc; ++i)
        if (QLatin1String(argv[i]) == QLatin1String(option))
            return i;
    return -1;
}
} // namespace

// The version the window shows in its title; `senderal --version` prints it. The number
// lives here, in the module, so it always names the window the folder holds.
extern "C" Q_DECL_EXPORT const char* senderal_ventana_version() {
    static const QByteArray texto = TextoVersionPrograma().toUtf8();
    return texto.constData();
}

extern "C" Q_DECL_EXPORT int senderal_ventana_main(int argc, char* argv[]) {
    const int snap = posicion(argc, argv, "--snapshot");
    if (snap > 0) {
        if (snap + 1 >= argc) {
            std::fprintf(stderr, "usage: senderal --snapshot DIR [FILE]\n");
            return 2;
        }
        // Drawn without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TAplicacion app(argc, argv);
        const QString file = snap + 2 < argc ? QString::fromLocal8Bit(argv[snap + 2])
                                             : AppDir() + QStringLiteral("samples/Montseny.gpx");
        return EjecutarSnapshot(QString::fromLocal8Bit(argv[snap + 1]),
                                QFileInfo(file).absoluteFilePath());
    }
    const int timing = posicion(argc, argv, "--load-time");
    if (timing > 0) {
        if (timing + 1 >= argc) {
            std::fprintf(stderr, "usage: senderal --load-time FILE\n");
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TAplicacion app(argc, argv);
        return MedirCarga(QFileInfo(QString::fromLocal8Bit(argv[timing + 1])).absoluteFilePath());
    }
    TAplicacion app(argc, argv);
    return EjecutarVentana(QCoreApplication::arguments());
}
