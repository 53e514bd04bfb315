#include "AppPaths.h"
#include "Configuracion.h"
#include "ConversionLineaOrdenes.h"
#include "EscritoresRuta.h"
#include "FicheroRegular.h"
#include "FormData.h"
#include "Log.h"
#include "SenderalError.h"
#include "TrackSummary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
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

// The words after the option at `at`, with --force wherever it was given.
QStringList argumentosDe(int at) {
    const QStringList todos = QCoreApplication::arguments();
    QStringList r = todos.mid(at + 1);
    if (todos.mid(1, at).contains(QStringLiteral("--force")))
        r << QStringLiteral("--force");
    return r;
}

int posicion(int argc, char* argv[], const char* option) {
    for (int i = 1; i < argc; ++i)
        if (QLatin1String(argv[i]) == QLatin1String(option))
            return i;
    return -1;
}

// The positive whole number after `option`: 0 when the option is absent, -1 when it
// is given without such a number.
int numeroTras(int argc, char* argv[], const char* option) {
    const int i = posicion(argc, argv, option);
    if (i < 0)
        return 0;
    bool ok = false;
    const int n = i + 1 < argc ? QByteArray(argv[i + 1]).toInt(&ok) : 0;
    return ok && n > 0 ? n : -1;
}
} // namespace

int main(int argc, char* argv[]) {
    // The embedded browser refuses to start as root with its sandbox on; as root
    // (containers, test machines) it runs without it.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (posicion(argc, argv, "--help") > 0 || posicion(argc, argv, "-h") > 0) {
        std::fputs(TextoAyuda, stdout);
        return 0;
    }
    if (posicion(argc, argv, "--version") > 0)
        return imprimirVersion(argc, argv);
    const int info = posicion(argc, argv, "--info");
    if (info > 0) {
        QCoreApplication app(argc, argv);
        const int desde = numeroTras(argc, argv, "--from");
        const int hasta = numeroTras(argc, argv, "--to");
        if (info + 1 >= argc || desde < 0 || hasta < 0 || (desde == 0) != (hasta == 0)) {
            std::fprintf(stderr, "usage: senderal --info FILE [--from N --to M]\n");
            return 2;
        }
        return imprimirResumen(QString::fromLocal8Bit(argv[info + 1]), desde, hasta);
    }
    const int convertir = posicion(argc, argv, "--convert");
    if (convertir > 0) {
        QCoreApplication app(argc, argv);
        return EjecutarConversion(argumentosDe(convertir));
    }
    const int exportar = posicion(argc, argv, "--export");
    if (exportar > 0) {
        QCoreApplication app(argc, argv);
        return EjecutarExportacion(argumentosDe(exportar));
    }
    return abrirVentana(argc, argv);
}
