// The updater: started by the program with its own path and the new program folder (the
// update unpacked and checked beside the program's folder), it waits for the program to
// end, carries the user's files over, swaps the folders and starts the program again.
// When anything goes wrong the old folder stays as it was and the old program is started.
#include "Actualizador.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "uso: Updater \"programa\" \"carpeta nueva\"\n");
        return 2;
    }
    const QString programa = QFileInfo(args[1]).absoluteFilePath();
    const QString nueva = QFileInfo(args[2]).absoluteFilePath();
    const QString carpeta = QFileInfo(programa).absolutePath();

    if (!EsperarFinPrograma(programa, 60000)) {
        // Still running: it is left alone, and not started a second time; the folder
        // unpacked for it goes, so a later check starts afresh.
        std::fprintf(stderr, "Updater: el programa sigue en marcha: %s\n", qPrintable(programa));
        if (EsCarpetaNueva(carpeta, nueva))
            QDir(nueva).removeRecursively();
        return 1;
    }
    int resultado = 0;
    QString error;
    if (!ReemplazarCarpeta(programa, nueva, &error)) {
        std::fprintf(stderr, "Updater: %s\n", qPrintable(error));
        // Only a folder beside the program's is ever removed, never the program's own.
        if (EsCarpetaNueva(carpeta, nueva))
            QDir(nueva).removeRecursively();
        resultado = 1;
    } else if (!error.isEmpty()) {
        std::fprintf(stderr, "Updater: %s\n", qPrintable(error));
    }
    if (!QProcess::startDetached(programa, {}, carpeta)) {
        std::fprintf(stderr, "Updater: no se puede iniciar %s\n", qPrintable(programa));
        return 1;
    }
    return resultado;
}
