// The conversion pieces as the main window uses them: the catalogue at start-up, the
// import of non-GPX tracks in the load sequence and the wizard command.
#include "AppPaths.h"
#include "AsistenteConversion.h"
#include "CatalogoFormatos.h"
#include "CatalogoPrueba.h"
#include "Conversor.h"
#include "FicherosPrueba.h"
#include "FormData.h"
#include "FormMain.h"
#include "GpxPrueba.h"
#include "ImprimirQt.h"
#include "Log.h"
#include "VentanaPrueba.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {
class VentanaConversion : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetAppDirOverride(dir.path());
        // The program folder's data files (mapping file, catalogue, map page files); without
        // language files every text is the program's own default.
        CopiarDatosPrograma(dir.path(), false);
        EscribirAjustesSinRed();
        TFMain::ManejadorErrorGlobal = [this](const QString& t) { globales << t; };
        rutas = dir.filePath(QStringLiteral("mis rutas"));
        QDir().mkpath(rutas);
        gpx = QDir(rutas).filePath(QStringLiteral("origen.gpx"));
        EscribirFichero(gpx, GpxPequeno());
    }
    void TearDown() override {
        TFMain::ManejadorErrorGlobal = nullptr;
        ventana.reset();
        datos.reset();
        SetAppDirOverride(QString());
    }

    // The settings file: no update check against the outside world during tests, and
    // the stored GPSBabel location when one is given.
    void configurar(const QByteArray& babel) {
        EscribirAjustesSinRed("GPSBabel=" + babel + "\r\n");
    }

    TFMain& arrancar() {
        ventana = std::make_unique<TFMain>(QStringList{QStringLiteral("senderal")});
        datos = std::make_unique<TFormData>(ventana->Log);
        ventana->SetFormData(datos.get());
        ventana->MensajeError = [this](const QString& t) { mensajes << "error: " + t; };
        ventana->MensajeAviso = [this](const QString& t) { mensajes << "aviso: " + t; };
        ventana->MensajeInfo = [this](const QString& t) { mensajes << "info: " + t; };
        ventana->MensajePregunta = [this](const QString& t) {
            mensajes << "pregunta: " + t;
            return respuesta;
        };
        ventana->ArranqueDiferido();
        return *ventana;
    }
    // A track file of another format, written by GPSBabel from the small GPX.
    QString pista(const QString& nombre, const char* formato) {
        const QString path = QDir(rutas).filePath(nombre);
        TCatalogoFormatos catalogo(CatalogoEntregado());
        TConversor c(catalogo);
        c.Babel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
        EXPECT_TRUE(c.Ejecutar(gpx, path, QStringLiteral("gpx"), QLatin1String(formato)).Exito);
        return path;
    }
    void abrir(TFMain& w, const QString& path) {
        w.DialogoAbrir = [path] { return path; };
        w.Action1->trigger();
    }

    QTemporaryDir dir;
    QString rutas, gpx;
    std::unique_ptr<TFMain> ventana;
    std::unique_ptr<TFormData> datos;
    QStringList mensajes, globales;
    bool respuesta = true;
};

TEST_F(VentanaConversion, ElCatalogoLlenaLosCuatroProductosAlArrancar) {
    TFMain& w = arrancar();
    EXPECT_TRUE(mensajes.isEmpty()) << mensajes.join('\n').toStdString();
    EXPECT_TRUE(w.StrAcceptTypes.startsWith(QStringLiteral("(GPX ,KML ,PLT ,TCX")))
        << w.StrAcceptTypes.toStdString();
    EXPECT_TRUE(w.StrAcceptTypes.endsWith(QLatin1Char(')')));
    EXPECT_EQ(w.mmPanelInfo->document()->findBlockByNumber(3).text(), w.StrAcceptTypes);
    const QStringList filtros = w.FiltroAbrir.split(QStringLiteral(";;"));
    EXPECT_EQ(filtros.value(0), QStringLiteral("Todos los ficheros (*.*) (*.*)"));
    EXPECT_EQ(filtros.value(1), QStringLiteral("GPS Exchange Format (*.GPX) (*.gpx *.GPX)"));
    EXPECT_EQ(w.ConvertList.value(0), QStringLiteral("GPS Exchange Format (*.GPX)=gpx"));
    EXPECT_EQ(w.AsistenteConversion->_cbSalida->count(), w.ConvertList.size());
    EXPECT_EQ(filtros.size(), w.ConvertList.size() + 1);
    EXPECT_EQ(w.RutaGPSBabel(), QStandardPaths::findExecutable(QStringLiteral("gpsbabel")));
    EXPECT_TRUE(w.ActionConversionRutas->isEnabled());
}

TEST_F(VentanaConversion, SinCatalogoUnErrorYElDialogoConservaSusTipos) {
    QFile::remove(dir.filePath(TCatalogoFormatos::NombreFichero()));
    TFMain& w = arrancar();
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(mensajes[0].startsWith(
        QStringLiteral("error: Error al acceder a los datos de Conversión; \r\n")))
        << mensajes[0].toStdString();
    EXPECT_EQ(w.StrAcceptTypes, QStringLiteral("("));
    EXPECT_TRUE(w.FiltroAbrir.isEmpty());
    EXPECT_TRUE(w.ConvertList.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(TCatalogoFormatos::NombreFichero())));
}

struct CasoApertura {
    const char* nombre;
    const char* fichero;
    const char* formato;
    const char* gpx;
};

TEST_F(VentanaConversion, UnaPistaQueNoEsGpxSeImportaYSeCarga) {
    const CasoApertura casos[] = {
        {"kml", "Ruta de hoy.kml", "kml", "Ruta de hoy.GPX"},
        {"PLT_in_capitals", "Ruta.de.ayer.PLT", "ozi", "Ruta.de.ayer.GPX"},
        {"tcx", "Entreno.tcx", "gtrnctr", "Entreno.GPX"},
    };
    TFMain& w = arrancar();
    for (const CasoApertura& c : casos) {
        SCOPED_TRACE(c.nombre);
        mensajes.clear();
        const QString fuente = pista(QString::fromUtf8(c.fichero), c.formato);
        abrir(w, fuente);
        EXPECT_TRUE(mensajes.isEmpty()) << mensajes.join('\n').toStdString();
        EXPECT_TRUE(globales.isEmpty()) << globales.join('\n').toStdString();
        EXPECT_EQ(w.FTrackPath, QDir(rutas).filePath(QString::fromUtf8(c.gpx)));
        EXPECT_EQ(w.FormData->cdsPoints.RecordCount(), 4);
        EXPECT_TRUE(w.ActionCerrarRuta->isEnabled());
        EXPECT_TRUE(
            w.Log->Lineas().join('\n').contains(QStringLiteral("Se ha importado el track")));
    }
}

TEST_F(VentanaConversion, UnGpxJuntoALaPistaNoSeReemplazaSinPreguntar) {
    TFMain& w = arrancar();
    const QString kml = pista(QStringLiteral("hoy.kml"), "kml");
    const QString junto = QDir(rutas).filePath(QStringLiteral("hoy.GPX"));
    EscribirFichero(junto, "mi GPX anterior");
    respuesta = false;
    abrir(w, kml);
    ASSERT_FALSE(mensajes.isEmpty());
    EXPECT_TRUE(mensajes[0].startsWith(QStringLiteral("pregunta: Ya existe el fichero GPX")));
    EXPECT_EQ(w.FTrackPath, QDir(rutas).filePath(QStringLiteral("hoy (2).GPX")));
    EXPECT_EQ(w.FormData->cdsPoints.RecordCount(), 4);
    EXPECT_EQ(LeerFichero(junto), QByteArray("mi GPX anterior"));
}

TEST_F(VentanaConversion, UnaImportacionFallidaNoCargaElGpxAnterior) {
    TFMain& w = arrancar();
    const QString kml = QDir(rutas).filePath(QStringLiteral("roto.kml"));
    EscribirFichero(kml, "esto no es KML");
    const QString junto = QDir(rutas).filePath(QStringLiteral("roto.GPX"));
    EscribirFichero(junto, GpxPequeno());
    respuesta = true; // replace it
    abrir(w, kml);
    ASSERT_EQ(mensajes.size(), 2);
    EXPECT_TRUE(
        mensajes[1].startsWith(QStringLiteral("aviso: Parece que ha ocurrido un problema")));
    EXPECT_TRUE(mensajes[1].contains(QString::fromUtf8("código de salida 1")))
        << mensajes[1].toStdString();
    EXPECT_TRUE(w.FTrackPath.isEmpty());
    EXPECT_FALSE(w.FormData->cdsTrack.Active());
    EXPECT_EQ(w.ActualPanelInfo, tiArrastre);
    EXPECT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
    EXPECT_EQ(LeerFichero(junto), GpxPequeno());
}

TEST_F(VentanaConversion, SinGPSBabelElAsistenteSeDeshabilitaYLaImportacionFallaConClaridad) {
    const QString falta = dir.filePath(QStringLiteral("no hay/gpsbabel"));
    configurar(falta.toUtf8());
    TFMain& w = arrancar();
    EXPECT_EQ(w.RutaGPSBabel(), falta);
    EXPECT_FALSE(w.ActionConversionRutas->isEnabled());
    const QString kml = QDir(rutas).filePath(QStringLiteral("hoy.kml"));
    EscribirFichero(kml, "<kml/>");
    abrir(w, kml);
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(mensajes[0].startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(mensajes[0].contains(falta)) << mensajes[0].toStdString();
    EXPECT_TRUE(globales.isEmpty());
    EXPECT_EQ(w.ActualPanelInfo, tiArrastre);
    EXPECT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
    EXPECT_FALSE(QFile::exists(QDir(rutas).filePath(QStringLiteral("hoy.GPX"))));
}

TEST_F(VentanaConversion, ElComandoAbreElAsistenteConLaRutaCargada) {
    TFMain& w = arrancar();
    abrir(w, gpx);
    ASSERT_EQ(w.FTrackPath, gpx);
    w.ActionConversionRutas->trigger();
    TAsistenteConversion* a = w.AsistenteConversion;
    EXPECT_EQ(w.pcCentral->currentWidget(), w.tsConvert);
    EXPECT_TRUE(w.pcCentral->isVisibleTo(&w));
    EXPECT_FALSE(w.pnlArrastrar->isVisibleTo(&w));
    EXPECT_EQ(a->_edtFileName->text(), gpx);
    ASSERT_TRUE(a->_cbSalida->isEnabled());
    a->_cbSalida->setCurrentIndex(
        a->_cbSalida->findText(QStringLiteral("Garmin Training Center (*.TCX)")));
    a->_cbSalidaChange();
    EXPECT_EQ(a->_edtFicheroSalida->text(), QDir(rutas).filePath(QStringLiteral("origen.TCX")));
    a->_btnConvert->click();
    EXPECT_EQ(mensajes, QStringList{"info: El fichero se ha convertido correctamente."});
    EXPECT_TRUE(LeerFichero(a->_edtFicheroSalida->text()).contains("TrainingCenterDatabase"));
    EXPECT_TRUE(a->mmOutput->toPlainText().contains(QLatin1String(" -o gtrnctr -F ")));
}
} // namespace
