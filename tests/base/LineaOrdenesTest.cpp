// Which mode a command line chooses and which words the mode gets.
#include "LineaOrdenes.h"

#include <gtest/gtest.h>

namespace {
const char* nombre(TModoPrograma m) {
    switch (m) {
    case TModoPrograma::Ventana:
        return "window";
    case TModoPrograma::Ayuda:
        return "help";
    case TModoPrograma::Version:
        return "version";
    case TModoPrograma::Info:
        return "info";
    case TModoPrograma::Convertir:
        return "convert";
    case TModoPrograma::Exportar:
        return "export";
    case TModoPrograma::Snapshot:
        return "snapshot";
    case TModoPrograma::MedirCarga:
        return "load-time";
    }
    return "?";
}

const char* const UsoInfo = "usage: senderal --info FILE [--from N --to M]";
const char* const UsoSnapshot = "usage: senderal --snapshot DIR [FILE]";
const char* const UsoCarga = "usage: senderal --load-time FILE";
// A name a shell would have made much of, had it been given one.
const char* const Raro = "a b 'c' \"d\" $(rm x) `e` ;f.gpx";
} // namespace

TEST(LineaOrdenes, EachLineChoosesItsModeAndWords) {
    const struct {
        const char* guarda;
        QStringList argumentos; // after the program
        TModoPrograma modo;
        const char* uso; // nullptr: none
        QString fichero;
        QString carpeta;
        int desde, hasta;
        QStringList palabras;
    } casos[] = {
        {"nothing opens the window", {}, TModoPrograma::Ventana, nullptr, {}, {}, 0, 0, {}},
        {"a file is the window's", {"ruta.gpx"}, TModoPrograma::Ventana, nullptr, {}, {}, 0, 0, {}},
        {"a file named with a dash is the window's",
         {"-x.gpx"},
         TModoPrograma::Ventana,
         nullptr,
         {},
         {},
         0,
         0,
         {}},
        {"an unknown option is the window's",
         {"--bogus", "ruta.gpx"},
         TModoPrograma::Ventana,
         nullptr,
         {},
         {},
         0,
         0,
         {}},
        {"the toolkit's own options are the window's",
         {"-platform", "offscreen", "ruta.gpx"},
         TModoPrograma::Ventana,
         nullptr,
         {},
         {},
         0,
         0,
         {}},
        {"help anywhere wins",
         {"--info", "a.gpx", "--help"},
         TModoPrograma::Ayuda,
         nullptr,
         {},
         {},
         0,
         0,
         {}},
        {"-h is help", {"-h"}, TModoPrograma::Ayuda, nullptr, {}, {}, 0, 0, {}},
        {"the version comes before --info",
         {"--info", "--version"},
         TModoPrograma::Version,
         nullptr,
         {},
         {},
         0,
         0,
         {}},
        {"--info takes the next word whatever it is",
         {"--info", Raro},
         TModoPrograma::Info,
         nullptr,
         Raro,
         {},
         0,
         0,
         {}},
        {"--info takes a name with a dash",
         {"--info", "-x.gpx"},
         TModoPrograma::Info,
         nullptr,
         "-x.gpx",
         {},
         0,
         0,
         {}},
        {"--info after a file",
         {"ruta.gpx", "--info", "b.gpx"},
         TModoPrograma::Info,
         nullptr,
         "b.gpx",
         {},
         0,
         0,
         {}},
        {"--info without a file", {"--info"}, TModoPrograma::Info, UsoInfo, {}, {}, 0, 0, {}},
        {"--from and --to",
         {"--info", "a.gpx", "--from", "2", "--to", "30"},
         TModoPrograma::Info,
         nullptr,
         "a.gpx",
         {},
         2,
         30,
         {}},
        {"--from and --to before --info",
         {"--to", "3", "--from", "2", "--info", "a.gpx"},
         TModoPrograma::Info,
         nullptr,
         "a.gpx",
         {},
         2,
         3,
         {}},
        {"--from without --to",
         {"--info", "a.gpx", "--from", "2"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
        {"--to without --from",
         {"--info", "a.gpx", "--to", "2"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
        {"point 0 is no point",
         {"--info", "a.gpx", "--from", "0", "--to", "2"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
        {"point 0 on both ends is no point",
         {"--info", "a.gpx", "--from", "0", "--to", "0"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
        {"a word for a number",
         {"--info", "a.gpx", "--from", "two", "--to", "3"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
        {"--to last without its number",
         {"--info", "a.gpx", "--from", "1", "--to"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
        {"--convert gets the words after it",
         {"--convert", "a.gpx", Raro},
         TModoPrograma::Convertir,
         nullptr,
         {},
         {},
         0,
         0,
         {"a.gpx", Raro}},
        {"--force before --convert goes last",
         {"--force", "--convert", "a.gpx", "b.plt"},
         TModoPrograma::Convertir,
         nullptr,
         {},
         {},
         0,
         0,
         {"a.gpx", "b.plt", "--force"}},
        {"--force among the words stays there",
         {"--convert", "a.gpx", "--force", "b.plt"},
         TModoPrograma::Convertir,
         nullptr,
         {},
         {},
         0,
         0,
         {"a.gpx", "--force", "b.plt"}},
        {"--convert without words leaves the check to it",
         {"--convert"},
         TModoPrograma::Convertir,
         nullptr,
         {},
         {},
         0,
         0,
         {}},
        {"--convert comes before --export",
         {"--export", "kml", "a.gpx", "b.kml", "--convert", "c.gpx", "d.plt"},
         TModoPrograma::Convertir,
         nullptr,
         {},
         {},
         0,
         0,
         {"c.gpx", "d.plt"}},
        {"--export takes a name with a dash",
         {"--export", "kml", "-x.gpx", "--y.kml"},
         TModoPrograma::Exportar,
         nullptr,
         {},
         {},
         0,
         0,
         {"kml", "-x.gpx", "--y.kml"}},
        {"--snapshot with a folder only",
         {"--snapshot", "fotos"},
         TModoPrograma::Snapshot,
         nullptr,
         {},
         "fotos",
         0,
         0,
         {}},
        {"--snapshot with a folder and a file",
         {"--snapshot", "fotos", Raro},
         TModoPrograma::Snapshot,
         nullptr,
         Raro,
         "fotos",
         0,
         0,
         {}},
        {"--snapshot without a folder",
         {"--snapshot"},
         TModoPrograma::Snapshot,
         UsoSnapshot,
         {},
         {},
         0,
         0,
         {}},
        {"--info comes before --snapshot",
         {"--snapshot", "fotos", "--info", "a.gpx"},
         TModoPrograma::Info,
         nullptr,
         "a.gpx",
         {},
         0,
         0,
         {}},
        {"--load-time",
         {"--load-time", "-a.gpx"},
         TModoPrograma::MedirCarga,
         nullptr,
         "-a.gpx",
         {},
         0,
         0,
         {}},
        {"--load-time without a file",
         {"--load-time"},
         TModoPrograma::MedirCarga,
         UsoCarga,
         {},
         {},
         0,
         0,
         {}},
        {"--snapshot comes before --load-time",
         {"--load-time", "--snapshot"},
         TModoPrograma::Snapshot,
         UsoSnapshot,
         {},
         {},
         0,
         0,
         {}},
        {"-- does not end the options",
         {"--", "--info"},
         TModoPrograma::Info,
         UsoInfo,
         {},
         {},
         0,
         0,
         {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const TOrdenPrograma o =
            LeerLineaOrdenes(QStringList{QStringLiteral("/usr/bin/senderal")} + c.argumentos);
        EXPECT_STREQ(nombre(o.Modo), nombre(c.modo));
        EXPECT_EQ(o.Uso.toStdString(), c.uso ? c.uso : "");
        if (c.uso)
            continue; // the program stops at the usage line
        EXPECT_EQ(o.Fichero.toStdString(), c.fichero.toStdString());
        EXPECT_EQ(o.Carpeta.toStdString(), c.carpeta.toStdString());
        EXPECT_EQ(o.Desde, c.desde);
        EXPECT_EQ(o.Hasta, c.hasta);
        EXPECT_EQ(o.Palabras.join(QLatin1Char('|')).toStdString(),
                  c.palabras.join(QLatin1Char('|')).toStdString());
    }
}

// The program hands its argv over as it got it: bytes in the user's encoding.
TEST(LineaOrdenes, ArgvIsReadInTheLocalEncoding) {
    char programa[] = "senderal";
    char opcion[] = "--info";
    char fichero[] = "ruta \xc3\xb1 $(x).gpx"; // "ñ" in UTF-8
    char* argv[] = {programa, opcion, fichero, nullptr};
    const TOrdenPrograma o = LeerLineaOrdenes(3, argv);
    EXPECT_TRUE(o.Modo == TModoPrograma::Info);
    EXPECT_EQ(o.Fichero, QString::fromUtf8("ruta ñ $(x).gpx"));
}
