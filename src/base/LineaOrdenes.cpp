#include "LineaOrdenes.h"

namespace {
// QCommandLineParser is not used: it takes a word such as "-x.gpx" for options of its own
// and refuses the options the window's toolkit reads itself ("-platform offscreen"), where
// the program has always taken the first as a file and left the second to the window.

// Where `opcion` first stands after the program; -1 when it is absent.
qsizetype posicion(const QStringList& a, const QString& opcion) {
    return a.indexOf(opcion, 1);
}

// The positive whole number after `opcion`: 0 when the option is absent, -1 when it is
// given without such a number.
int numeroTras(const QStringList& a, const QString& opcion) {
    const qsizetype i = posicion(a, opcion);
    if (i < 0)
        return 0;
    bool ok = false;
    const int n = a.value(i + 1).toInt(&ok);
    return ok && n > 0 ? n : -1;
}

TOrdenPrograma info(const QStringList& a, qsizetype at) {
    TOrdenPrograma o;
    o.Modo = TModoPrograma::Info;
    o.Desde = numeroTras(a, QStringLiteral("--from"));
    o.Hasta = numeroTras(a, QStringLiteral("--to"));
    if (at + 1 >= a.size() || o.Desde < 0 || o.Hasta < 0 || (o.Desde == 0) != (o.Hasta == 0))
        o.Uso = QStringLiteral("usage: senderal --info FILE [--from N --to M]");
    else
        o.Fichero = a[at + 1];
    return o;
}

TOrdenPrograma palabras(const QStringList& a, qsizetype at, TModoPrograma modo) {
    TOrdenPrograma o;
    o.Modo = modo;
    o.Palabras = a.mid(at + 1);
    const QString force = QStringLiteral("--force");
    if (a.mid(1, at).contains(force))
        o.Palabras << force;
    return o;
}

TOrdenPrograma snapshot(const QStringList& a, qsizetype at) {
    TOrdenPrograma o;
    o.Modo = TModoPrograma::Snapshot;
    if (at + 1 >= a.size())
        o.Uso = QStringLiteral("usage: senderal --snapshot DIR [FILE]");
    else
        o.Carpeta = a[at + 1];
    o.Fichero = a.value(at + 2);
    return o;
}

TOrdenPrograma medirCarga(const QStringList& a, qsizetype at) {
    TOrdenPrograma o;
    o.Modo = TModoPrograma::MedirCarga;
    if (at + 1 >= a.size())
        o.Uso = QStringLiteral("usage: senderal --load-time FILE");
    else
        o.Fichero = a[at + 1];
    return o;
}
} // namespace

TOrdenPrograma LeerLineaOrdenes(const QStringList& a) {
    TOrdenPrograma o;
    if (posicion(a, QStringLiteral("--help")) > 0 || posicion(a, QStringLiteral("-h")) > 0)
        o.Modo = TModoPrograma::Ayuda;
    else if (posicion(a, QStringLiteral("--version")) > 0)
        o.Modo = TModoPrograma::Version;
    else if (const qsizetype i = posicion(a, QStringLiteral("--info")); i > 0)
        o = info(a, i);
    else if (const qsizetype c = posicion(a, QStringLiteral("--convert")); c > 0)
        o = palabras(a, c, TModoPrograma::Convertir);
    else if (const qsizetype e = posicion(a, QStringLiteral("--export")); e > 0)
        o = palabras(a, e, TModoPrograma::Exportar);
    else if (const qsizetype s = posicion(a, QStringLiteral("--snapshot")); s > 0)
        o = snapshot(a, s);
    else if (const qsizetype t = posicion(a, QStringLiteral("--load-time")); t > 0)
        o = medirCarga(a, t);
    return o;
}

TOrdenPrograma LeerLineaOrdenes(int argc, char* argv[]) {
    QStringList a;
    a.reserve(argc);
    for (int i = 0; i < argc; ++i)
        a << QString::fromLocal8Bit(argv[i]);
    return LeerLineaOrdenes(a);
}
