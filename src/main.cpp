#include "AppPaths.h"
#include "FormData.h"
#include "Log.h"
#include "SenderalError.h"
#include "TrackSummary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

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
} // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i + 1 < argc; ++i)
        if (QLatin1String(argv[i]) == QLatin1String("--info")) {
            QCoreApplication app(argc, argv);
            return imprimirResumen(QString::fromLocal8Bit(argv[i + 1]));
        }
    std::fprintf(stderr, "usage: senderal --info FILE\n");
    return 2;
}
