#include "Configuracion.h"
#include "IniTexto.h"
#include "Temas.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TConfiguracion leer(const QString& texto) {
    return LeerConfiguracion(TIniTexto::DesdeTexto(texto, TIniTexto::Ajustes()));
}

TEST(LeerConfiguracion, MissingFileGivesTheDefaults) {
    QTemporaryDir dir;
    bool existe = true;
    const TConfiguracion c =
        LeerConfiguracion(dir.filePath(QStringLiteral("senderal.ini")), &existe);
    EXPECT_FALSE(existe);
    EXPECT_EQ(c.Idioma, QString());
    EXPECT_EQ(c.IdiomaTexto, QStringLiteral("0"));
    EXPECT_EQ(c.Tema, -1);
    EXPECT_EQ(c.seAnchoLinea_Value, 1);
    EXPECT_EQ(c.colbLinea_Selected, 255u);
    EXPECT_TRUE(c.cbConfigUpdateInicio_Checked);
    EXPECT_TRUE(c.ActionVerConLineas_Checked);
    EXPECT_FALSE(c.ActionVerConPuntos_Checked);
    EXPECT_EQ(c.TimerAnim_Interval, 50);
    EXPECT_EQ(c.sbVElocidad_Position, 2);
    EXPECT_TRUE(c.cbAnchoLineaAuto_Checked);
    EXPECT_EQ(c.outcbIdioma_ItemIndex, 0);
    EXPECT_FALSE(c.Ventana.Presente);
    EXPECT_TRUE(c.UpdateURL.isEmpty());
}

TEST(EscribirConfiguracion, WritesEveryKeyInOrderWithItsExactForm) {
    TConfiguracion c;
    c.Idioma = QStringLiteral("es.lng");
    c.IdiomaTexto = QStringLiteral("Español / Spanish");
    c.GPSBabel = QStringLiteral("/usr/bin/gpsbabel");
    c.Tema = 2;
    c.UpdateURL = QStringLiteral("https://senderal.org/");
    c.seAnchoLinea_Value = 4;
    c.colbLinea_Selected = 255;
    c.cbConfigUpdateInicio_Checked = false;
    c.edtBabel_Text = QStringLiteral("/usr/bin/gpsbabel");
    c.outcbIdioma_ItemIndex = 0;
    c.Ventana.ShowCmd = TPosicionVentana::swMaximizada;
    c.Ventana.NormPos = QRect(10, 20, 838, 707);
    TIniTexto ini(TIniTexto::Ajustes());
    EscribirConfiguracion(c, NombresTemas(), ini);
    const QString esperado = QStringLiteral(
        "[Config]\r\n"
        "Idioma=es.lng\r\nIdiomaTexto=Español / Spanish\r\nGPSBabel=/usr/bin/gpsbabel\r\n"
        "Tema=2\r\nUpdateURL=https://senderal.org/\r\nIBPIndexURL=\r\n"
        "FormVersion=0\r\nFlags=0\r\nShowCmd=3\r\nPixelsPerInch=96\r\nMinMaxPos=-1,-1,-1,-1\r\n"
        "NormPos=10,20,848,727\r\nVisible=True\r\n"
        "seAnchoLinea_Value=4\r\ncolbLinea_Selected=255\r\ncbConfigUpdateInicio_Checked=False\r\n"
        "ActionVerConLineas_Checked=True\r\nActionVerConPuntos_Checked=False\r\n"
        "edtBabel_Text=/usr/bin/gpsbabel\r\nTimerAnim_Interval=50\r\nsbVElocidad_Position=2\r\n"
        "cbAnchoLineaAuto_Checked=True\r\nedtConfigIdioma_Tag=0\r\noutcbIdioma_ItemIndex=0\r\n"
        "\r\n[Config.outcbConfigEstilo_Items]\r\n"
        "Count=3\r\nItem0=Ribbon - Obsidian\r\nItem1=Ribbon - Luna\r\nItem2=Ribbon - Silver\r\n");
    const QByteArray bytes = ini.Serializar();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)), esperado);
}

TEST(GuardarConfiguracion, SecondStartReadsBackWhatTheFirstSaved) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("senderal.ini"));
    TConfiguracion c;
    c.Idioma = QStringLiteral("ca.lng");
    c.IdiomaTexto = QStringLiteral("Catalán / Catalan");
    c.Tema = 0;
    c.seAnchoLinea_Value = 7;
    c.colbLinea_Selected = 0x00FF8000;
    c.cbAnchoLineaAuto_Checked = false;
    c.ActionVerConPuntos_Checked = true;
    c.TimerAnim_Interval = 20;
    c.sbVElocidad_Position = 4;
    c.outcbIdioma_ItemIndex = 2;
    c.IBPIndexURL = QStringLiteral("https://ibp.example/");
    c.Ventana.ShowCmd = TPosicionVentana::swNormal;
    c.Ventana.NormPos = QRect(-5, 30, 900, 720);
    QString error;
    ASSERT_TRUE(GuardarConfiguracion(c, NombresTemas(), ruta, &error)) << error.toStdString();

    bool existe = false;
    const TConfiguracion r = LeerConfiguracion(ruta, &existe);
    EXPECT_TRUE(existe);
    EXPECT_EQ(r.Idioma, c.Idioma);
    EXPECT_EQ(r.IdiomaTexto, c.IdiomaTexto);
    EXPECT_EQ(r.Tema, 0);
    EXPECT_EQ(r.seAnchoLinea_Value, 7);
    EXPECT_EQ(r.colbLinea_Selected, 0x00FF8000u);
    EXPECT_FALSE(r.cbAnchoLineaAuto_Checked);
    EXPECT_TRUE(r.ActionVerConPuntos_Checked);
    EXPECT_EQ(r.TimerAnim_Interval, 20);
    EXPECT_EQ(r.sbVElocidad_Position, 4);
    EXPECT_EQ(r.outcbIdioma_ItemIndex, 2);
    EXPECT_EQ(r.IBPIndexURL, c.IBPIndexURL);
    EXPECT_TRUE(r.Ventana.Presente);
    EXPECT_EQ(r.Ventana.NormPos, QRect(-5, 30, 900, 720));
}

TEST(GuardarConfiguracion, KeepsForeignKeysAndRewritesTheThemeList) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("senderal.ini"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Config]\r\nTema=1\r\nMiClave=mio\r\n[Config.outcbConfigEstilo_Items]\r\n"
            "Count=4\r\nItem3=Viejo\r\n[Extra]\r\nZ=9\r\n");
    f.close();
    TConfiguracion c;
    c.Tema = 2;
    ASSERT_TRUE(GuardarConfiguracion(c, NombresTemas(), ruta));
    const TIniTexto ini = TIniTexto::AjustesDesdeFichero(ruta);
    EXPECT_EQ(ini.Claves(kSeccionConfig).mid(0, 2),
              (QStringList{QStringLiteral("Tema"), QStringLiteral("MiClave")}));
    EXPECT_EQ(ini.Valor(kSeccionConfig, QStringLiteral("Tema")), QStringLiteral("2"));
    EXPECT_EQ(ini.Valor(QStringLiteral("Extra"), QStringLiteral("Z")), QStringLiteral("9"));
    EXPECT_EQ(ini.Valor(kSeccionListaTemas, QStringLiteral("Count")), QStringLiteral("3"));
    EXPECT_FALSE(ini.TieneClave(kSeccionListaTemas, QStringLiteral("Item3")));
    EXPECT_EQ(ini.Secciones().last(), kSeccionListaTemas);
}

TEST(LeerConfiguracion, UnusableValuesKeepTheirDefaults) {
    struct Caso {
        const char* nombre;
        const char* linea;
        std::function<bool(const TConfiguracion&)> ok;
    };
    const Caso casos[] = {
        {"line width 0", "seAnchoLinea_Value=0", [](auto& c) { return c.seAnchoLinea_Value == 1; }},
        {"line width 11", "seAnchoLinea_Value=11",
         [](auto& c) { return c.seAnchoLinea_Value == 1; }},
        {"timer interval 0 would spin", "TimerAnim_Interval=0",
         [](auto& c) { return c.TimerAnim_Interval == 50; }},
        {"speed 6", "sbVElocidad_Position=6", [](auto& c) { return c.sbVElocidad_Position == 2; }},
        {"boolean of another form", "cbAnchoLineaAuto_Checked=quizas",
         [](auto& c) { return c.cbAnchoLineaAuto_Checked; }},
        {"colour not a number", "colbLinea_Selected=rojo",
         [](auto& c) { return c.colbLinea_Selected == 255u; }},
        {"theme not a number", "Tema=Luna", [](auto& c) { return c.Tema == -1; }},
        {"placement with three numbers", "NormPos=1,2,3",
         [](auto& c) { return !c.Ventana.Presente; }},
        {"empty placement rectangle", "NormPos=10,10,10,50",
         [](auto& c) { return !c.Ventana.Presente; }},
        {"climb threshold with a comma", "UmbralDesnivel=2,5",
         [](auto& c) { return c.UmbralDesnivel == 5; }},
        {"negative climb threshold", "UmbralDesnivel=-1",
         [](auto& c) { return c.UmbralDesnivel == 5; }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_TRUE(c.ok(leer(QStringLiteral("[Config]\n") + QLatin1String(c.linea))));
    }
}

TEST(LeerConfiguracion, ClimbThresholdSetByHand) {
    EXPECT_DOUBLE_EQ(leer(QStringLiteral("[Config]\nUmbralDesnivel=2.5\n")).UmbralDesnivel, 2.5);
    EXPECT_DOUBLE_EQ(leer(QStringLiteral("[Config]\nUmbralDesnivel=0\n")).UmbralDesnivel, 0);
}

TEST(LeerConfiguracion, AcceptsBothBooleanFormsAndSystemColours) {
    const TConfiguracion c = leer(QStringLiteral("[Config]\ncbConfigUpdateInicio_Checked=false\n"
                                                 "ActionVerConPuntos_Checked=1\n"
                                                 "colbLinea_Selected=-16777201\n"));
    EXPECT_FALSE(c.cbConfigUpdateInicio_Checked);
    EXPECT_TRUE(c.ActionVerConPuntos_Checked);
    EXPECT_EQ(c.colbLinea_Selected, 0xFF00000Fu);
    TIniTexto ini(TIniTexto::Ajustes());
    EscribirConfiguracion(c, NombresTemas(), ini);
    EXPECT_EQ(ini.Valor(kSeccionConfig, QStringLiteral("colbLinea_Selected")),
              QStringLiteral("-16777201"));
}

TEST(Temas, PictureTagsAndListIndexesNameTheSameTheme) {
    struct Caso {
        int etiqueta;
        const char* nombre;
        QRgb color;
    };
    const Caso casos[] = {{1, "Ribbon - Obsidian", qRgb(162, 162, 160)},
                          {2, "Ribbon - Luna", qRgb(194, 216, 241)},
                          {3, "Ribbon - Silver", qRgb(208, 212, 221)}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const TTema* t = TemaDeEtiqueta(c.etiqueta);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t, TemaDeIndice(c.etiqueta - 1));
        EXPECT_EQ(t->Nombre, QString::fromUtf8(c.nombre));
        EXPECT_EQ(t->ColorVentana.rgb(), c.color);
    }
    EXPECT_EQ(TemaDeEtiqueta(0), nullptr);
    EXPECT_EQ(TemaDeIndice(-1), nullptr);
    EXPECT_EQ(TemaDeIndice(3), nullptr);
    // The colour values of the table, 0x00BBGGRR.
    EXPECT_EQ(ValorDesdeColor(TemaDeIndice(0)->ColorVentana), 10527394u);
    EXPECT_EQ(ValorDesdeColor(TemaDeIndice(1)->ColorVentana), 15849666u);
    EXPECT_EQ(ValorDesdeColor(TemaDeIndice(2)->ColorVentana), 14537936u);
}
} // namespace
