#pragma once

#include <QString>
#include <QStringList>

// What the command line asks the program to do. The program reads it to choose between
// its command-line tools and the window, and the window module reads it again for the
// modes that draw without a display; both go through LeerLineaOrdenes, so they agree.
enum class TModoPrograma {
    Ventana,
    Ayuda,
    Version,
    Info,
    Convertir,
    Exportar,
    Snapshot,
    MedirCarga
};

struct TOrdenPrograma {
    TModoPrograma Modo = TModoPrograma::Ventana;
    // The usage line when the words the mode needs are missing or wrong: the program
    // prints it and ends with status 2.
    QString Uso;
    // The track of --info, --load-time and --snapshot (empty for --snapshot without one).
    QString Fichero;
    // The folder of --snapshot.
    QString Carpeta;
    // --info --from N --to M: the points asked for, numbered from 1; 0 when not given.
    int Desde = 0;
    int Hasta = 0;
    // --convert and --export: the words after the option, then "--force" when that was
    // given before the option (their own readers check the words).
    QStringList Palabras;
};

// Reads a command line, the program first as in argv. An option counts wherever it stands;
// the first of --help (or -h), --version, --info, --convert, --export, --snapshot and
// --load-time that is present chooses the mode, and the mode's words are the ones right
// after its option whatever they look like, so "-x.gpx" there is a file name. Without any
// of them the line is the window's, unknown options included: the window opens its first
// argument when that names a file.
TOrdenPrograma LeerLineaOrdenes(const QStringList& argumentos);
TOrdenPrograma LeerLineaOrdenes(int argc, char* argv[]);
