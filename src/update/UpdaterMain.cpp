// The updater: started by the program with its own path and the downloaded new program
// file, it waits for the program to end, puts the new file in its place and starts it.
// When anything goes wrong the old program stays and is started again.
#include "Actualizador.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "uso: Updater \"programa\" \"programa nuevo\"\n");
        return 2;
    }
    const QString programa = QFileInfo(args[1]).absoluteFilePath();
    const QString nuevo = QFileInfo(args[2]).absoluteFilePath();
    const QString carpeta = QFileInfo(programa).absolutePath();

    if (!EsperarFinPrograma(programa, 60000)) {
        // Still running: it is left alone, and not started a second time.
        std::fprintf(stderr, "Updater: el programa sigue en marcha: %s\n", qPrintable(programa));
        return 1;
    }
    int resultado = 0;
    QString error;
    if (!ReemplazarPrograma(programa, nuevo, &error)) {
        std::fprintf(stderr, "Updater: %s\n", qPrintable(error));
        resultado = 1;
    }
    if (!QProcess::startDetached(programa, {}, carpeta)) {
        std::fprintf(stderr, "Updater: no se puede iniciar %s\n", qPrintable(programa));
        return 1;
    }
    return resultado;
}
