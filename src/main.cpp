#include "AppPaths.h"
#include "Configuracion.h"
#include "ConversionLineaOrdenes.h"
#include "EscritoresRuta.h"
#include "FicheroRegular.h"
#include "FormData.h"
#include "LineaOrdenes.h"
#include "Log.h"
#include "SenderalError.h"
#include "TrackSummary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstdio>
#include <new>
#include <unistd.h>

namespace {
// `senderal --info FILE [--from N --to M]`: loads FILE and prints its summary, or the
// figures of points N to M; exit 1 when it cannot.
int imprimirResumen(const QString& path, int desde = 0, int hasta = 0) {
    TLog log;
    TFormData data(&log);
    // The filtered climb uses the threshold the window uses.
    data.AjustesFiguras.UmbralDesnivelM = LeerConfiguracion(FicheroConfiguracion()).UmbralDesnivel;
    QString failure;
    data.MostrarError = [&failure](const QString& text) { failure = text; };
    data.XMLDataFile = path;
    data.OpenData();
    if (!data.cdsTrack.Active()) {
        QString detail;
        for (const QString& l : log.Lineas())
            if (l.startsWith(QLatin1String("ERROR: ")))
                detail = l;
        // The box text often carries the reason already; say it once.
        if (detail.isEmpty() || failure.contains(detail.mid(7)))
            std::fprintf(stderr, "%s\n", qPrintable(failure));
        else
            std::fprintf(stderr, "%s\n%s\n", qPrintable(failure), qPrintable(detail));
        return 1;
    }
    try {
        const QString texto = desde > 0 ? ResumenTramo(data, desde, hasta) : ResumenTrack(data);
        std::fputs(texto.toUtf8().constData(), stdout);
    } catch (const ESenderalError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s\n", qPrintable(TextoSinMemoria()));
        return 1;
    }
    return 0;
}

// Everything with a window lives in a module beside the program (or in lib/senderal/ when
// installed); loading it only here keeps the command-line tools quick to start.
// Resolves `symbol` in the module; null (the reason on standard error) when it cannot.
QFunctionPointer desdeModulo(int argc, char* argv[], const char* symbol) {
    const QString name = QStringLiteral("libsenderal_ventana.so");
    const QString dir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    QString path = dir + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path)) {
        QCoreApplication probe(argc, argv); // finds the program folder when argv[0] has no path
        path = ModuleDir() + name;
    }
    QLibrary module(path);
    QFunctionPointer f = module.resolve(symbol);
    if (!f)
        std::fprintf(stderr, "%s\n", qPrintable(module.errorString()));
    return f;
}

int abrirVentana(int argc, char* argv[]) {
    using Entrada = int (*)(int, char**);
    auto entrada = reinterpret_cast<Entrada>(desdeModulo(argc, argv, "senderal_ventana_main"));
    return entrada ? entrada(argc, argv) : 1;
}

// The version is the window's: the program file alone does not make a version.
int imprimirVersion(int argc, char* argv[]) {
    using Version = const char* (*)();
    auto version = reinterpret_cast<Version>(desdeModulo(argc, argv, "senderal_ventana_version"));
    if (!version)
        return 1;
    std::printf("Senderal %s\n", version());
    return 0;
}

const char* const TextoAyuda =
    "usage: senderal [FILE]\n"
    "       senderal --version\n"
    "       senderal --info FILE [--from N --to M]\n"
    "       senderal --export kml|plt FILE OUT [--force]\n"
    "       senderal --convert SRC DEST [--force]\n"
    "\n"
    "  FILE            open the track in the window\n"
    "  --version       print the program's version\n"
    "  --info FILE     print the track's summary; with --from and --to, the figures\n"
    "                  of points N to M (numbered from 1)\n"
    "  --export        write the track as KML or OziExplorer PLT\n"
    "  --convert       convert SRC with GPSBabel into the format of DEST's extension;\n"
    "                  prints every file written (a track per file for some formats:\n"
    "                  DEST, DEST-1, ...)\n"
    "  --force         replace an existing destination; without it --export and\n"
    "                  --convert refuse one. Only a regular file other than the\n"
    "                  source is ever replaced.\n"
    "\n"
    "Exit status: 0 done, 1 failed (the reason on standard error), 2 usage error.\n";
} // namespace

int main(int argc, char* argv[]) {
    // The embedded browser refuses to start as root with its sandbox on; as root
    // (containers, test machines) it runs without it.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    const TOrdenPrograma orden = LeerLineaOrdenes(argc, argv);
    if (!orden.Uso.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(orden.Uso));
        return 2;
    }
    switch (orden.Modo) {
    case TModoPrograma::Ayuda:
        std::fputs(TextoAyuda, stdout);
        return 0;
    case TModoPrograma::Version:
        return imprimirVersion(argc, argv);
    case TModoPrograma::Info: {
        QCoreApplication app(argc, argv);
        return imprimirResumen(orden.Fichero, orden.Desde, orden.Hasta);
    }
    case TModoPrograma::Convertir: {
        QCoreApplication app(argc, argv);
        return EjecutarConversion(orden.Palabras);
    }
    case TModoPrograma::Exportar: {
        QCoreApplication app(argc, argv);
        return EjecutarExportacion(orden.Palabras);
    }
    default: // the window, and the modes that draw it without a display
        return abrirVentana(argc, argv);
    }
}
