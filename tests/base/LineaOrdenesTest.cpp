// Which mode a command line chooses and which words the mode gets.
#include "LineaOrdenes.h"

#include <gtest/gtest.h>
#include <string>

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

// What the program does with a line, in one line: the mode, then its usage line or the
// words it got.
std::string describir(const TOrdenPrograma& o) {
    std::string s = nombre(o.Modo);
    if (!o.Uso.isEmpty())
        return s + ": " + o.Uso.toStdString();
    if (!o.Carpeta.isEmpty())
        s += " dir=" + o.Carpeta.toStdString();
    if (!o.Fichero.isEmpty())
        s += " file=" + o.Fichero.toStdString();
    if (o.Desde != 0 || o.Hasta != 0)
        s += " points=" + std::to_string(o.Desde) + "-" + std::to_string(o.Hasta);
    if (!o.Palabras.isEmpty())
        s += " words=" + o.Palabras.join(QLatin1Char('|')).toStdString();
    return s;
}

TEST(LineaOrdenes, EachLineChoosesItsModeAndWords) {
    const std::string usoInfo = std::string("info: ") + UsoInfo;
    const std::string raro = Raro;
    const struct {
        const char* guarda;
        QStringList argumentos; // after the program
        std::string esperado;
    } casos[] = {
        {"nothing opens the window", {}, "window"},
        {"a file is the window's", {"ruta.gpx"}, "window"},
        {"a file named with a dash is the window's", {"-x.gpx"}, "window"},
        {"an unknown option is the window's", {"--bogus", "ruta.gpx"}, "window"},
        {"the toolkit's own options are the window's",
         {"-platform", "offscreen", "a.gpx"},
         "window"},
        {"help anywhere wins", {"--info", "a.gpx", "--help"}, "help"},
        {"-h is help", {"-h"}, "help"},
        {"the version comes before --info", {"--info", "--version"}, "version"},
        {"--info takes the next word whatever it is", {"--info", Raro}, "info file=" + raro},
        {"--info takes a name with a dash", {"--info", "-x.gpx"}, "info file=-x.gpx"},
        {"--info after a file", {"ruta.gpx", "--info", "b.gpx"}, "info file=b.gpx"},
        {"--info without a file", {"--info"}, usoInfo},
        {"--from and --to",
         {"--info", "a.gpx", "--from", "2", "--to", "30"},
         "info file=a.gpx points=2-30"},
        {"--from and --to before --info",
         {"--to", "3", "--from", "2", "--info", "a.gpx"},
         "info file=a.gpx points=2-3"},
        {"--from without --to", {"--info", "a.gpx", "--from", "2"}, usoInfo},
        {"--to without --from", {"--info", "a.gpx", "--to", "2"}, usoInfo},
        {"point 0 is no point", {"--info", "a.gpx", "--from", "0", "--to", "2"}, usoInfo},
        {"point 0 on both ends is no point",
         {"--info", "a.gpx", "--from", "0", "--to", "0"},
         usoInfo},
        {"a word for a number", {"--info", "a.gpx", "--from", "two", "--to", "3"}, usoInfo},
        {"--to last without its number", {"--info", "a.gpx", "--from", "1", "--to"}, usoInfo},
        {"--convert gets the words after it",
         {"--convert", "a.gpx", Raro},
         "convert words=a.gpx|" + raro},
        {"--force before --convert goes last",
         {"--force", "--convert", "a.gpx", "b.plt"},
         "convert words=a.gpx|b.plt|--force"},
        {"--force among the words stays there",
         {"--convert", "a.gpx", "--force", "b.plt"},
         "convert words=a.gpx|--force|b.plt"},
        {"--convert without words leaves the check to it", {"--convert"}, "convert"},
        {"--convert comes before --export",
         {"--export", "kml", "a.gpx", "b.kml", "--convert", "c.gpx", "d.plt"},
         "convert words=c.gpx|d.plt"},
        {"--export takes a name with a dash",
         {"--export", "kml", "-x.gpx", "--y.kml"},
         "export words=kml|-x.gpx|--y.kml"},
        {"--snapshot with a folder only", {"--snapshot", "fotos"}, "snapshot dir=fotos"},
        {"--snapshot with a folder and a file",
         {"--snapshot", "fotos", Raro},
         "snapshot dir=fotos file=" + raro},
        {"--snapshot without a folder", {"--snapshot"}, std::string("snapshot: ") + UsoSnapshot},
        {"--info comes before --snapshot",
         {"--snapshot", "fotos", "--info", "a.gpx"},
         "info file=a.gpx"},
        {"--load-time", {"--load-time", "-a.gpx"}, "load-time file=-a.gpx"},
        {"--load-time without a file", {"--load-time"}, std::string("load-time: ") + UsoCarga},
        {"--snapshot comes before --load-time",
         {"--load-time", "--snapshot"},
         std::string("snapshot: ") + UsoSnapshot},
        {"-- does not end the options", {"--", "--info"}, usoInfo},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        EXPECT_EQ(describir(LeerLineaOrdenes(QStringList{QStringLiteral("/usr/bin/senderal")} +
                                             c.argumentos)),
                  c.esperado);
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
