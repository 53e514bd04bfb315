#include "Plantilla.h"
#include "IniTexto.h"
#include "TextosMisc.h"
#include "Verbario.h"

#include "ImprimirQt.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TElementoTexto elemento(const QString& name) {
    TElementoTexto e;
    e.nombre = name;
    return e;
}

struct CasoClave {
    const char* nombre;
    TElementoTexto elemento;
    QStringList claves; // keys expected in section FMain, with their values below
    QStringList valores;
};

QList<CasoClave> casosClave() {
    QList<CasoClave> casos;
    auto add = [&](const char* n, TElementoTexto e, QStringList k, QStringList v) {
        casos.append({n, std::move(e), std::move(k), std::move(v)});
    };
    TElementoTexto e = elemento("btnAbrir");
    e.caption = "Abrir";
    add("a caption of its own is written", e, {"FMain.btnAbrir.Caption"}, {"Abrir"});
    e.caption = "btnAbrir";
    add("a caption equal to the name is the layout default", e, {}, {});
    e.caption = "-";
    add("a menu separator has no caption key", e, {}, {});
    e.caption = "";
    add("an empty caption is not written", e, {}, {});
    e = elemento("btnAbrir");
    e.hint = "";
    add("an empty hint is not written", e, {}, {});
    e.hint = "Abrir un fichero";
    add("a hint is written", e, {"FMain.btnAbrir.Hint"}, {"Abrir un fichero"});
    e = elemento("edtBabel");
    e.texto = "";
    add("an edit box text is written even empty", e, {"FMain.edtBabel.Text"}, {""});
    e = elemento("outcbIdioma");
    e.caption = "Idioma";
    e.hint = "Seleccionar idioma";
    e.items = QStringList{"Español / Spanish", "Inglés / English"};
    add("an out element gives no key at all", e, {}, {});
    e.nombre = "OUTcbEstilo";
    add("the out test ignores letter case", e, {}, {});
    e = elemento("oDialog");
    e.filtro = "Todos los ficheros (*.*)|*.*";
    add("a plain filter is written unchanged", e, {"FMain.oDialog.Filter"},
        {"Todos los ficheros (*.*)|*.*"});
    e.filtro = "Fotos *|*.jpg|GPX|*.gpx";
    add("a marker in a filter gets a blank", e, {"FMain.oDialog.Filter"},
        {"Fotos * |*.jpg|GPX|*.gpx"});
    e = elemento("mmTexto");
    e.lineas = QStringList{"uno", "", "mmTexto", "cuatro"};
    add("lines stop before the box's own name", e,
        {"FMain.mmTexto.Lines[0]", "FMain.mmTexto.Lines[1]"}, {"uno", ""});
    e = elemento("cbZoomPerfil");
    e.items = QStringList{"10%", ""};
    add("every drop-down item, empty too", e,
        {"FMain.cbZoomPerfil.Items[0]", "FMain.cbZoomPerfil.Items[1]"}, {"10%", ""});
    e = elemento("dbgPuntos");
    e.columnas = QStringList{"Lat", "Lon"};
    add("grid column titles are items", e, {"FMain.dbgPuntos.Items[0]", "FMain.dbgPuntos.Items[1]"},
        {"Lat", "Lon"});
    e = elemento("lbFormatos");
    e.itemsLista = QStringList{"GPX"};
    add("list box items", e, {"FMain.lbFormatos.Items[0]"}, {"GPX"});
    return casos;
}

TEST(PlantillaVentana, WritesTheKeysOfEachKindOfElement) {
    for (const CasoClave& c : casosClave()) {
        SCOPED_TRACE(c.nombre);
        TIniTexto ini;
        QStringList combo;
        EscribirVentanaPlantilla({"FMain", std::nullopt, {c.elemento}}, ini, combo);
        EXPECT_EQ(ini.Claves("FMain"), c.claves);
        for (int i = 0; i < c.claves.size(); ++i)
            EXPECT_EQ(ini.Valor("FMain", c.claves[i], "ABSENT"), c.valores[i]);
        if (ExcluidoDePlantilla(c.elemento.nombre)) {
            EXPECT_TRUE(combo.isEmpty());
        }
    }
}

TEST(PlantillaVentana, WindowTitleRules) {
    struct Caso {
        const char* nombre;
        std::optional<QString> caption;
        bool escrito;
    } casos[] = {
        {"a title of its own", QString("Senderal  v. 1.0"), true},
        {"a title equal to the name", QString("FMain"), false},
        {"an empty title is written empty", QString(""), true},
        {"no title property", std::nullopt, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        TIniTexto ini;
        QStringList combo;
        EscribirVentanaPlantilla({"FMain", c.caption, {}}, ini, combo);
        EXPECT_EQ(ini.TieneClave("FMain", "FMain.Caption"), c.escrito);
        if (c.escrito) {
            EXPECT_EQ(ini.Valor("FMain", "FMain.Caption"), *c.caption);
        }
    }
}

TEST(PlantillaVentana, TwoWindowsGiveTwoComboBlocksNumberedFromZero) {
    auto combo = [](const char* name) {
        TElementoTexto e = elemento(name);
        e.items = QStringList{"a"};
        return e;
    };
    TIniTexto ini;
    QStringList lines;
    EscribirVentanaPlantilla({"FMain",
                              std::nullopt,
                              {combo("cbA"), elemento("lbl"), combo("cbB"), combo("outcbIdioma")}},
                             ini, lines);
    EscribirVentanaPlantilla({"FSplash", std::nullopt, {combo("cbC"), combo("cbD")}}, ini, lines);
    const QStringList expected{
        " ",
        "//-----------------------------------------------------------",
        "[FMain]",
        "  cc: array[0..1] of Integer;",
        "  cc [0] := cbA.ItemIndex ;",
        "  cc [1] := cbB.ItemIndex ;",
        "<<<<<< Código de - Code of Verbario:  fillProps([Form],CL) ",
        "  cbA.ItemIndex := cc [0] ;",
        "  cbB.ItemIndex := cc [1] ;",
        " ",
        "//-----------------------------------------------------------",
        "[FSplash]",
        "  cc: array[0..1] of Integer;",
        "  cc [0] := cbC.ItemIndex ;",
        "  cc [1] := cbD.ItemIndex ;",
        "<<<<<< Código de - Code of Verbario:  fillProps([Form],CL) ",
        "  cbC.ItemIndex := cc [0] ;",
        "  cbD.ItemIndex := cc [1] ;",
    };
    EXPECT_EQ(lines, expected);
}

TEST(PlantillaMisc, EveryRunTimeTextReadsBackAsItsDefault) {
    TIniTexto ini;
    EscribirMiscPlantilla(ini);
    const TIniTexto back = TIniTexto::DesdeBytes(ini.Serializar());
    EstablecerIdiomaActual(&back);
    for (const TTextoMisc& t : TextosMisc) {
        SCOPED_TRACE(t.clave);
        const QString def = QString::fromUtf8(t.textoDefecto);
        EXPECT_FALSE(back.Valor("Misc", t.clave).contains('\n'));
        // The reader trims values: only trailing blanks may be lost.
        EXPECT_EQ(LookupText(t.clave, "DEF"), def.trimmed());
    }
    EstablecerIdiomaActual(nullptr);
}

QByteArray leer(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("MISSING");
}

TEST(EscribirPlantilla, ReplacesOldFilesAndWritesComboBoxOnlyWithLists) {
    QTemporaryDir dir;
    const QString ini = dir.path() + "/Custom.ini", combo = dir.path() + "/cache/ComboBox.txt";
    TElementoTexto lista = elemento("cbZoom");
    lista.items = QStringList{"10%"};
    QString error;
    ASSERT_TRUE(EscribirPlantilla({{"FMain", QString("Senderal"), {lista}}}, ini, combo, &error))
        << qPrintable(error);
    EXPECT_TRUE(leer(combo).endsWith("\r\n \r\n"));
    const TIniTexto written = TIniTexto::DesdeFichero(ini);
    EXPECT_EQ(written.Valor("FMain", "FMain.Caption"), QStringLiteral("Senderal"));
    EXPECT_EQ(written.Valor("Misc", "_STR_MI_METERS"), QStringLiteral("metros"));

    ASSERT_TRUE(EscribirPlantilla({{"FSplash", std::nullopt, {}}}, ini, combo, &error));
    EXPECT_FALSE(QFile::exists(combo));
    EXPECT_FALSE(TIniTexto::DesdeFichero(ini).TieneSeccion("FMain"));
}

TEST(EscribirPlantilla, AnUnwritableFolderIsReportedByName) {
    QTemporaryDir dir;
    QFile blocker(dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString ini = dir.path() + "/file/Custom.ini";
    QString error;
    EXPECT_FALSE(EscribirPlantilla({}, ini, dir.path() + "/ComboBox.txt", &error));
    EXPECT_TRUE(error.contains("Custom.ini")) << qPrintable(error);
}
} // namespace
