#include "AppPaths.h"
#include "ConversionLineaOrdenes.h"
#include "EscritoresRuta.h"
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
#include <unistd.h>

namespace {
// `senderal --info FILE`: loads FILE and prints its summary; exit 1 when it cannot.
int imprimirResumen(const QString& path) {
    TLog log;
    TFormData data(&log);
    QString failure;
    data.MostrarError = [&failure](const QString& text) { failure = text; };
    data.XMLDataFile = path;
    data.OpenData();
    if (!data.cdsTrack.Active()) {
        QString detail;
        for (const QString& l : log.Lineas())
            if (l.startsWith(QLatin1String("ERROR: ")))
                detail = l;
        std::fprintf(stderr, "%s\n%s\n", qPrintable(failure), qPrintable(detail));
        return 1;
    }
    try {
        std::fputs(ResumenTrack(data).toUtf8().constData(), stdout);
    } catch (const ESenderalError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}

// Everything with a window lives in a module beside the program (or in lib/senderal/ when
// installed); loading it only here keeps the command-line tools quick to start.
int abrirVentana(int argc, char* argv[]) {
    const QString name = QStringLiteral("libsenderal_ventana.so");
    const QString dir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    QString path = dir + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path)) {
        QCoreApplication probe(argc, argv); // finds the program folder when argv[0] has no path
        path = ModuleDir() + name;
    }
    QLibrary module(path);
    using Entrada = int (*)(int, char**);
    auto entrada = reinterpret_cast<Entrada>(module.resolve("senderal_ventana_main"));
    if (!entrada) {
        std::fprintf(stderr, "%s\n", qPrintable(module.errorString()));
        return 1;
    }
    return entrada(argc, argv);
}

int posicion(int argc, char* argv[], const char* option) {
    for (int i = 1; i < argc; ++i)
        if (QLatin1String(argv[i]) == QLatin1String(option))
            return i;
    return -1;
}
} // namespace

int main(int argc, char* argv[]) {
    // The embedded browser refuses to start as root with its sandbox on; as root
    // (containers, test machines) it runs without it.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    const int info = posicion(argc, argv, "--info");
    if (info > 0) {
        QCoreApplication app(argc, argv);
        if (info + 1 >= argc) {
            std::fprintf(stderr, "usage: senderal --info FILE\n");
            return 2;
        }
        return imprimirResumen(QString::fromLocal8Bit(argv[info + 1]));
    }
    const int convertir = posicion(argc, argv, "--convert");
    if (convertir > 0) {
        QCoreApplication app(argc, argv);
        return EjecutarConversion(QCoreApplication::arguments().mid(convertir + 1));
    }
    const int exportar = posicion(argc, argv, "--export");
    if (exportar > 0) {
        QCoreApplication app(argc, argv);
        return EjecutarExportacion(QCoreApplication::arguments().mid(exportar + 1));
    }
    return abrirVentana(argc, argv);
}
