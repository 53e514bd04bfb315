#include "ComandoGPSBabel.h"
#include "Conversor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct CasoComando {
    const char* nombre;
    QString origen;
    QString destino;
    QString esperado;
};

TEST(LineaComando, PlantillaRellenaConRutasRaras) {
    const CasoComando casos[] = {
        {"plain", "/r/a.kml", "/r/a.GPX",
         R"("/usr/bin/gpsbabel" -t -i kml -f "/r/a.kml" -x nuketypes,waypoints,routes -o gpx -F "/r/a.GPX")"},
        {"blanks_and_quotes", "/mis rutas/\"la\" buena.kml", "/mis rutas/o'k.GPX",
         R"("/usr/bin/gpsbabel" -t -i kml -f "/mis rutas/"la" buena.kml" -x nuketypes,waypoints,routes -o gpx -F "/mis rutas/o'k.GPX")"},
        {"dollar_kept", "/r/$HOME.kml", "/r/`x`.GPX",
         R"("/usr/bin/gpsbabel" -t -i kml -f "/r/$HOME.kml" -x nuketypes,waypoints,routes -o gpx -F "/r/`x`.GPX")"},
        {"placeholder_inside_a_path_is_not_expanded", "/r/%DEST%.kml", "/r/%BABEL%%ORIGTYPE%.GPX",
         R"("/usr/bin/gpsbabel" -t -i kml -f "/r/%DEST%.kml" -x nuketypes,waypoints,routes -o gpx -F "/r/%BABEL%%ORIGTYPE%.GPX")"},
    };
    for (const CasoComando& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(LineaComando(QStringLiteral("/usr/bin/gpsbabel"), c.origen, c.destino,
                               QStringLiteral("kml"), QStringLiteral("gpx")),
                  c.esperado);
        // The argument list carries each path as one untouched argument.
        const QStringList args =
            ArgumentosGPSBabel(c.origen, c.destino, QStringLiteral("kml"), QStringLiteral("gpx"));
        EXPECT_EQ(args, (QStringList{"-t", "-i", "kml", "-f", c.origen, "-x",
                                     "nuketypes,waypoints,routes", "-o", "gpx", "-F", c.destino}));
    }
}

TEST(Extensiones, SoloCuentaElTextoTrasElUltimoPuntoDelNombre) {
    const struct {
        const char* nombre;
        QString path;
        QString ext;
        QString cambiada; // with ".GPX"
    } casos[] = {
        {"several_dots", "/r/a.b.PLT", "PLT", "/r/a.b.GPX"},
        {"dot_in_folder_only", "/r.d/track", "", "/r.d/track.GPX"},
        {"gpx_before_bak", "/r/ruta.gpx.bak", "bak", "/r/ruta.gpx.GPX"},
        {"no_extension", "track", "", "track.GPX"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(ExtensionFichero(c.path), c.ext);
        EXPECT_EQ(CambiarExtension(c.path, QStringLiteral(".GPX")), c.cambiada);
    }
}

TEST(NombreLibre, BuscaElPrimerNumeroSinFichero) {
    QTemporaryDir dir;
    const QString gpx = dir.filePath(QStringLiteral("ruta.GPX"));
    EXPECT_EQ(NombreLibre(gpx), gpx);
    QFile(gpx).open(QIODevice::WriteOnly);
    EXPECT_EQ(NombreLibre(gpx), dir.filePath(QStringLiteral("ruta (2).GPX")));
    QFile(dir.filePath(QStringLiteral("ruta (2).GPX"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(NombreLibre(gpx), dir.filePath(QStringLiteral("ruta (3).GPX")));
}

struct CasoComprobacion {
    const char* nombre;
    TDatosComprobacion datos;
    QString error; // empty: no message
    bool foco;
    QString strIn, strOut; // after the checks (start: "OLD", "OLD")
};

TEST(ComprobarConversion, CadaFalloDetieneLasComprobaciones) {
    const QStringList lista{QStringLiteral("OziExplorer (*.PLT)=plt"),
                            QStringLiteral("Keyhole (*.KML)= kml "), QStringLiteral("Vacio=")};
    const auto datos = [&](QString origen, bool existe, bool elegida, QString texto) {
        TDatosComprobacion d;
        d.Origen = origen;
        d.OrigenExiste = existe;
        d.SalidaElegida = elegida;
        d.TextoSalida = texto;
        d.ConvertList = lista;
        return d;
    };
    const CasoComprobacion casos[] = {
        {"missing_source", datos("/r/a.kml", false, true, "OziExplorer (*.PLT)"),
         "El fichero de ruta no existe.", false, "OLD", "OLD"},
        {"nothing_chosen_or_typed", datos("/r/a.kml", true, false, ""),
         "No se ha seleccionado un formato de salida.", true, "OLD", "OLD"},
        {"empty_item", datos("/r/a.kml", true, true, ""),
         "Error; El elemento seleccionado en la salida no es correcto.", false, "kml", "OLD"},
        {"PLT_source_and_plt_target_are_the_same",
         datos("/r/a.b.PLT", true, true, "oziexplorer (*.plt)"),
         "Error; El formato de entrada y de salida parecen ser el mismo.", false, "PLT", "PLT"},
        {"different_formats_trimmed_and_upper", datos("/r/a.plt", true, true, "Keyhole (*.KML)"),
         "", false, "PLT", "KML"},
    };
    for (const CasoComprobacion& c : casos) {
        SCOPED_TRACE(c.nombre);
        QString in = QStringLiteral("OLD"), out = QStringLiteral("OLD");
        bool foco = false;
        EXPECT_EQ(ComprobarConversion(c.datos, in, out, foco), c.error);
        EXPECT_EQ(foco, c.foco);
        EXPECT_EQ(in, c.strIn);
        EXPECT_EQ(out, c.strOut);
    }
}
} // namespace
