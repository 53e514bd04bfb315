#include "CatalogoFormatos.h"
#include "CatalogoPrueba.h"
#include "FicherosPrueba.h"
#include "ImprimirQt.h"
#include "Log.h"
#include "SenderalError.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kTodos = QStringLiteral("Todos los ficheros (*.*)|*.*");

struct CasoProductos {
    const char* nombre;
    std::vector<TFilaFormato> filas;
    QString acceptTypes;
    QString filtro; // empty: the dialog keeps its own list
    QStringList convertList;
};

class Productos : public ::testing::TestWithParam<CasoProductos> {};

TEST_P(Productos, LosCuatroProductosSiguenElOrdenDeLasFilas) {
    const CasoProductos& c = GetParam();
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("DataCnv.s3db"));
    CrearCatalogo(db, c.filas);
    TLog log;
    const TProductosCatalogo p = TCatalogoFormatos(db, &log).LeerProductos(kTodos);
    EXPECT_TRUE(p.Error.isEmpty()) << p.Error.toStdString();
    EXPECT_EQ(p.StrAcceptTypes, c.acceptTypes);
    EXPECT_EQ(p.FiltroAsignado, !c.filtro.isEmpty());
    if (!c.filtro.isEmpty()) {
        EXPECT_EQ(p.Filtro, c.filtro);
    }
    EXPECT_EQ(p.ConvertList, c.convertList);
    QStringList salidas;
    for (const TFilaFormato& f : c.filas)
        salidas << f.Descripcion;
    EXPECT_EQ(p.Salidas, salidas);
    // One log line per row, each the whole filter so far.
    EXPECT_EQ(log.Lineas().size(), 1 + int(c.filas.size()));
    if (!c.filtro.isEmpty()) {
        EXPECT_EQ(log.Lineas().last(), c.filtro);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogo, Productos,
    ::testing::Values(
        CasoProductos{
            "gpx_then_plt_in_row_order",
            {{"gpx", "GPS Exchange Format (*.GPX)", "gpx"}, {"plt", "OziExplorer (*.PLT)", "ozi"}},
            "(GPX ,PLT)",
            kTodos + "|GPS Exchange Format (*.GPX)|*.gpx|OziExplorer (*.PLT)|*.plt",
            {"GPS Exchange Format (*.GPX)=gpx", "OziExplorer (*.PLT)=plt"}},
        CasoProductos{"one_row_has_no_separator",
                      {{"kml", "Keyhole", "kml"}},
                      "(KML)",
                      kTodos + "|Keyhole|*.kml",
                      {"Keyhole=kml"}},
        CasoProductos{"empty_table_gives_empty_parentheses", {}, "()", "", {}},
        CasoProductos{"accented_extension_kept_unchanged",
                      {{QString::fromUtf8("trké"), "Acento", "x"}},
                      QString::fromUtf8("(TRKé)"),
                      kTodos + QString::fromUtf8("|Acento|*.trké"),
                      {QString::fromUtf8("Acento=trké")}},
        CasoProductos{"stored_case_upper_in_types_lower_in_pattern_as_stored_in_list",
                      {{"TcX", "Training", "gtrnctr"}},
                      "(TCX)",
                      kTodos + "|Training|*.tcx",
                      {"Training=TcX"}}),
    [](const auto& info) { return std::string(info.param.nombre); });

struct CasoFallo {
    const char* nombre;
    QString sql; // empty: no database file at all
    QString errorContiene;
};

class FalloCatalogo : public ::testing::TestWithParam<CasoFallo> {};

TEST_P(FalloCatalogo, SeInformaYSeConservaLoConstruido) {
    const CasoFallo& c = GetParam();
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("DataCnv.s3db"));
    if (!c.sql.isEmpty())
        CrearBaseDatos(db, c.sql);
    const TProductosCatalogo p = TCatalogoFormatos(db).LeerProductos(kTodos);
    EXPECT_TRUE(p.Error.contains(c.errorContiene)) << p.Error.toStdString();
    EXPECT_EQ(p.StrAcceptTypes, QStringLiteral("("));
    EXPECT_FALSE(p.FiltroAsignado);
    EXPECT_TRUE(p.Salidas.isEmpty());
    EXPECT_TRUE(p.ConvertList.isEmpty());
    // Reading never creates a catalogue that was not there.
    EXPECT_EQ(QFile::exists(db), !c.sql.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Catalogo, FalloCatalogo,
    ::testing::Values(CasoFallo{"missing_database", "", "unable to open"},
                      CasoFallo{"missing_table", "CREATE TABLE Otra (a TEXT);",
                                "no such table: FormatDesc"},
                      CasoFallo{"missing_column",
                                "CREATE TABLE FormatDesc (Codigo TEXT, Descripcion TEXT);"
                                "INSERT INTO FormatDesc VALUES ('gpx', 'GPX');",
                                "Code"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(CatalogoFormatos, UnFicheroQueNoEsBaseDeDatosSeInforma) {
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("DataCnv.s3db"));
    EscribirFichero(db, "esto no es una base de datos, solo texto suficiente para la cabecera");
    const TProductosCatalogo p = TCatalogoFormatos(db).LeerProductos(kTodos);
    EXPECT_FALSE(p.Error.isEmpty());
    EXPECT_EQ(p.StrAcceptTypes, QStringLiteral("("));
}

class Consultas : public ::testing::Test {
  protected:
    void SetUp() override {
        db = dir.filePath(QStringLiteral("DataCnv.s3db"));
        CrearCatalogo(db, {{"gpx", "GPS Exchange Format (*.GPX)", "gpx"},
                           {"plt", "OziExplorer's Track (*.PLT)", "ozi"},
                           {"plt", "Second plt row", "otro"}});
    }
    QTemporaryDir dir;
    QString db;
    TLog log;
};

TEST_F(Consultas, UnaComillaEnLaDescripcionSeDuplicaEnLaSentencia) {
    TCatalogoFormatos cat(db, &log);
    EXPECT_EQ(cat.CodigoGPSBabelPorDescripcion(QStringLiteral("OziExplorer's Track (*.PLT)")),
              QStringLiteral("ozi"));
    EXPECT_EQ(log.Lineas().last(), QStringLiteral("SQL: Select * from FormatDesc where "
                                                  "Descripcion='OziExplorer''s Track (*.PLT)'"));
}

TEST_F(Consultas, LaExtensionDevuelveLaPrimeraFila) {
    TCatalogoFormatos cat(db, &log);
    EXPECT_EQ(cat.CodigoGPSBabelPorExtension(QStringLiteral("plt")), QStringLiteral("ozi"));
    EXPECT_EQ(log.Lineas().last(),
              QStringLiteral("SQL: Select * from FormatDesc where Codigo='plt'"));
}

TEST_F(Consultas, SinFilaNoDevuelveNada) {
    TCatalogoFormatos cat(db, &log);
    // The stored extensions are lower case and "=" on text respects letter case.
    EXPECT_FALSE(cat.CodigoGPSBabelPorExtension(QStringLiteral("PLT")));
    EXPECT_FALSE(cat.CodigoGPSBabelPorDescripcion(QStringLiteral("Nada")));
}

TEST_F(Consultas, UnaInyeccionNoSaleDelLiteral) {
    TCatalogoFormatos cat(db, &log);
    EXPECT_FALSE(cat.CodigoGPSBabelPorDescripcion(QStringLiteral("x' or '1'='1")));
    EXPECT_FALSE(cat.CodigoGPSBabelPorExtension(QStringLiteral("%s")));
}

TEST_F(Consultas, CadaConsultaLeeElFicheroComoEstaAhora) {
    TCatalogoFormatos cat(db, &log);
    EXPECT_EQ(cat.CodigoGPSBabelPorExtension(QStringLiteral("gpx")), QStringLiteral("gpx"));
    CrearCatalogo(db, {{"gpx", "GPS Exchange Format (*.GPX)", "gpx_nuevo"}});
    EXPECT_EQ(cat.CodigoGPSBabelPorExtension(QStringLiteral("gpx")), QStringLiteral("gpx_nuevo"));
}

TEST_F(Consultas, UnFalloDeLaBaseDeDatosLlevaElTextoDelUsuario) {
    TCatalogoFormatos cat(dir.filePath(QStringLiteral("no-existe.s3db")), &log);
    try {
        cat.CodigoGPSBabelPorExtension(QStringLiteral("gpx"));
        FAIL() << "no error raised";
    } catch (const ESenderalError& e) {
        EXPECT_TRUE(
            e.text().startsWith(QStringLiteral("Error al acceder a los datos de Conversión; \r\n")))
            << e.text().toStdString();
    }
}

TEST(ConvertList, ValorPorDescripcionSinDistinguirMayusculas) {
    const QStringList lista{QStringLiteral("Uno=a"), QStringLiteral("OziExplorer (*.PLT)=plt"),
                            QStringLiteral("ozIexplorer (*.plt)=segundo"),
                            QStringLiteral("Con=igual=x")};
    EXPECT_EQ(ValorConvertList(lista, QStringLiteral("oziexplorer (*.plt)")),
              QStringLiteral("plt"));
    EXPECT_EQ(ValorConvertList(lista, QStringLiteral("Con")), QStringLiteral("igual=x"));
    EXPECT_FALSE(ValorConvertList(lista, QStringLiteral("Dos")));
}

TEST(ConvertList, FiltroDelDialogoEnFormaQt) {
    const QStringList f = FiltroDialogoQt(
        kTodos + QStringLiteral("|GPS Exchange Format (*.GPX)|*.gpx|Acento|*.trké"));
    ASSERT_EQ(f.size(), 3);
    EXPECT_EQ(f[0], QStringLiteral("Todos los ficheros (*.*) (*.*)"));
    EXPECT_EQ(f[1], QStringLiteral("GPS Exchange Format (*.GPX) (*.gpx *.GPX)"));
    EXPECT_EQ(f[2], QString::fromUtf8("Acento (*.trké *.TRKé)"));
}

struct CasoFilas {
    const char* nombre;
    std::vector<TFilaFormato> filas;
    const char* problema; // nullptr: sound
};

TEST(ComprobarFilas, ReglasQueElProgramaNecesita) {
    const TFilaFormato gpx{"gpx", "GPS Exchange Format (*.GPX)", "gpx"};
    const CasoFilas casos[] = {
        {"sound", {gpx, {"kml", "KML", "kml"}}, nullptr},
        {"upper_case_extension", {gpx, {"KML", "KML", "kml"}}, "lower case"},
        {"equals_in_description", {gpx, {"kml", "K=L", "kml"}}, "'='"},
        {"bar_in_description", {gpx, {"kml", "K|L", "kml"}}, "'|'"},
        {"repeated_description", {gpx, {"kml", "KML", "kml"}, {"kmz", "KML", "kml"}}, "repeated"},
        {"repeated_extension", {gpx, {"kml", "KML", "kml"}, {"kml", "KML 2", "kml"}}, "repeated"},
        {"no_gpx_row", {{"kml", "KML", "kml"}}, "GPS Exchange Format (*.GPX)"},
        {"no_gpsbabel_name", {gpx, {"kml", "KML", ""}}, "GPSBabel"},
    };
    for (const CasoFilas& c : casos) {
        SCOPED_TRACE(c.nombre);
        const QStringList p = ComprobarFilasCatalogo(c.filas);
        if (!c.problema) {
            EXPECT_TRUE(p.isEmpty()) << p.join('\n').toStdString();
        } else {
            EXPECT_TRUE(p.join('\n').contains(QLatin1String(c.problema)))
                << p.join('\n').toStdString();
        }
    }
}

// GPSBabel's own list: "file" formats with their capabilities (waypoints, tracks, routes).
QMap<QString, QString> FormatosDeFicheroGPSBabel() {
    QProcess p;
    p.start(QStringLiteral("gpsbabel"), {QStringLiteral("-^3")});
    EXPECT_TRUE(p.waitForFinished(30000));
    QMap<QString, QString> formatos;
    for (const QString& linea : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        const QStringList campos = linea.split('\t');
        if (campos.size() >= 3 && (campos[0] == QLatin1String("file")))
            formatos.insert(campos[2], campos[1]);
    }
    return formatos;
}

TEST(CatalogoEntregado, CumpleLasReglasYSusFormatosLeenYEscribenTracks) {
    QString error;
    const auto filas = TCatalogoFormatos(CatalogoEntregado()).LeerFilas(error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_FALSE(filas.empty());
    EXPECT_EQ(filas.front().Descripcion, TCatalogoFormatos::DescripcionGPX());
    EXPECT_TRUE(ComprobarFilasCatalogo(filas).isEmpty());
    const auto gpsbabel = FormatosDeFicheroGPSBabel();
    ASSERT_FALSE(gpsbabel.isEmpty());
    QStringList codigos;
    for (const TFilaFormato& f : filas) {
        SCOPED_TRACE(f.Descripcion.toStdString());
        codigos << f.Codigo;
        ASSERT_TRUE(gpsbabel.contains(f.Code)) << f.Code.toStdString();
        // Capabilities: "rw" pairs for waypoints, tracks, routes; tracks are read and written.
        EXPECT_EQ(gpsbabel.value(f.Code).mid(2, 2), QStringLiteral("rw"));
    }
    for (const char* ext : {"gpx", "kml", "plt", "tcx", "fit", "igc", "nmea", "csv", "gdb"})
        EXPECT_TRUE(codigos.contains(QLatin1String(ext))) << ext;
}
} // namespace
