#include "AsistenteConversion.h"
#include "CatalogoFormatos.h"
#include "CatalogoPrueba.h"
#include "Conversor.h"
#include "FicherosPrueba.h"
#include "GpxPrueba.h"
#include "ImprimirQt.h"
#include "Log.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QStringList kSalidas{QStringLiteral("GPS Exchange Format (*.GPX)"),
                           QStringLiteral("OziExplorer Track (*.PLT)"),
                           QStringLiteral("Google Earth (*.KML)")};
const QStringList kLista{QStringLiteral("GPS Exchange Format (*.GPX)=gpx"),
                         QStringLiteral("OziExplorer Track (*.PLT)=plt"),
                         QStringLiteral("Google Earth (*.KML)=kml")};

// The page with every dialog, box and the conversion answered by the test.
class Asistente : public ::testing::Test {
  protected:
    void SetUp() override {
        a.SetFormatos(kSalidas, kLista);
        a.MensajeInfo = [this](const QString& t) { mensajes << "info: " + t; };
        a.MensajeAviso = [this](const QString& t) { mensajes << "aviso: " + t; };
        a.MensajeError = [this](const QString& t) { mensajes << "error: " + t; };
        a.MensajePregunta = [this](const QString& t) {
            mensajes << "pregunta: " + t;
            return respuesta;
        };
        a.Convertir = [this](const QString& o, const QString& d, const QString& desc) {
            llamadas << QStringList{o, d, desc};
            return resultado;
        };
        origen = dir.filePath(QStringLiteral("Ruta del día.PLT"));
        EscribirFichero(origen, "x");
    }
    void elegir(int i) {
        a._cbSalida->setCurrentIndex(i);
        a._cbSalidaChange();
    }

    QTemporaryDir dir;
    TAsistenteConversion a;
    QStringList mensajes;
    QList<QStringList> llamadas;
    TResultadoConversion resultado;
    bool respuesta = false;
    QString origen;
};

TEST_F(Asistente, EstadoInicial) {
    EXPECT_FALSE(a._cbSalida->isEnabled());
    EXPECT_FALSE(a._btnConvert->isEnabled());
    EXPECT_TRUE(a.cbMismoDir->isChecked());
    EXPECT_EQ(a._cbSalida->currentIndex(), -1);
    EXPECT_EQ(a._cbSalida->currentText(), QStringLiteral("Selecciona formato de destino..."));
    EXPECT_EQ(a.mmOutput->toPlainText(), QStringLiteral("Comando utilizado..."));
    EXPECT_EQ(a._cbSalida->count(), 3);
    EXPECT_EQ(a.Memo1->document()->blockCount(), 2);
}

TEST_F(Asistente, LosFormatosNoBorranElAvisoTraducido) {
    a._cbSalida->setEditText(QStringLiteral("Select the target format..."));
    a.SetFormatos(kSalidas, kLista);
    EXPECT_EQ(a._cbSalida->currentIndex(), -1);
    EXPECT_EQ(a._cbSalida->currentText(), QStringLiteral("Select the target format..."));
}

TEST_F(Asistente, ElOrigenHabilitaYDeshabilita) {
    a._edtFileName->setText(origen);
    EXPECT_TRUE(a._cbSalida->isEnabled());
    EXPECT_TRUE(a._edtFicheroSalida->isEnabled());
    elegir(2);
    EXPECT_TRUE(a._btnConvert->isEnabled());
    a._edtFileName->setText(origen + QStringLiteral("x"));
    EXPECT_FALSE(a._cbSalida->isEnabled());
    EXPECT_FALSE(a._edtFicheroSalida->isEnabled());
    EXPECT_FALSE(a._btnConvert->isEnabled());
}

TEST_F(Asistente, MismoDirectorioRellenaElDestinoYLuegoSoloCambiaLaExtension) {
    a._edtFileName->setText(origen);
    elegir(2);
    EXPECT_EQ(a._edtFicheroSalida->text(), dir.filePath(QStringLiteral("Ruta del día.KML")));
    elegir(0);
    EXPECT_EQ(a._edtFicheroSalida->text(), dir.filePath(QStringLiteral("Ruta del día.GPX")));
    EXPECT_TRUE(mensajes.isEmpty()) << mensajes.join('\n').toStdString();
}

TEST_F(Asistente, MismoFormatoAvisaPeroConvierte) {
    a._edtFileName->setText(origen);
    elegir(1); // plt target, PLT source
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_EQ(
        mensajes[0],
        QStringLiteral("error: Error; El formato de entrada y de salida parecen ser el mismo."));
    resultado.Exito = true;
    resultado.Comando = QStringLiteral("orden");
    a._edtFicheroSalida->setText(dir.filePath(QStringLiteral("otra.PLT")));
    a._btnConvertClick();
    ASSERT_EQ(llamadas.size(), 1);
    EXPECT_EQ(llamadas[0], (QStringList{origen, dir.filePath(QStringLiteral("otra.PLT")),
                                        QStringLiteral("OziExplorer Track (*.PLT)")}));
}

TEST_F(Asistente, UnFormatoEscritoQueNoExisteSeAvisaYNoSeEjecuta) {
    a._edtFileName->setText(origen);
    a._edtFicheroSalida->setText(dir.filePath(QStringLiteral("b.xyz")));
    a._cbSalida->setEditText(QStringLiteral("Formato inventado"));
    resultado.NoIniciado = true;
    resultado.Detalle = QStringLiteral("no está en el catálogo");
    a._btnConvertClick();
    ASSERT_EQ(llamadas.size(), 1);
    EXPECT_EQ(llamadas[0][2], QStringLiteral("Formato inventado"));
    EXPECT_EQ(mensajes, (QStringList{"error: No se ha seleccionado un formato de salida.",
                                     "error: no está en el catálogo"}));
    EXPECT_EQ(a.mmOutput->toPlainText(), QStringLiteral("Comando utilizado..."));
}

TEST_F(Asistente, ResultadoEnLosMensajesYEnLaSalida) {
    a._edtFileName->setText(origen);
    elegir(2);
    resultado.Exito = true;
    resultado.Comando = QStringLiteral("\"gpsbabel\" -t ...");
    a._btnConvertClick();
    EXPECT_EQ(mensajes.last(), QStringLiteral("info: El fichero se ha convertido correctamente."));
    EXPECT_EQ(a.mmOutput->toPlainText(), resultado.Comando);

    resultado.Exito = false;
    resultado.Detalle = QStringLiteral("GPSBabel terminó con el código de salida 1.");
    QFile::remove(a._edtFicheroSalida->text());
    a._btnConvertClick();
    EXPECT_EQ(mensajes.last(),
              QStringLiteral("aviso: Parece que ha ocurrido un problema al realizar la "
                             "conversión.\r\nError: GPSBabel terminó con el código de salida 1."));
    EXPECT_TRUE(a.mmOutput->toPlainText().isEmpty());
}

TEST_F(Asistente, UnDestinoExistenteSePreguntaAntesDeReemplazar) {
    a._edtFileName->setText(origen);
    elegir(2);
    EscribirFichero(a._edtFicheroSalida->text(), "ya estaba");
    respuesta = false;
    a._btnConvertClick();
    EXPECT_TRUE(llamadas.isEmpty());
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(
        mensajes[0].startsWith(QStringLiteral("pregunta: El fichero de destino ya existe")));
    respuesta = true;
    a._btnConvertClick();
    EXPECT_EQ(llamadas.size(), 1);
}

TEST_F(Asistente, ElDialogoDeGuardarProponeNombreYCarpeta) {
    a.DialogoAbrir = [this] { return origen; };
    QStringList visto;
    a.DialogoGuardar = [&](const QString& carpeta, const QString& propuesto, const QString& ext) {
        visto = {carpeta, propuesto, ext};
        return dir.filePath(QStringLiteral("elegido.kml"));
    };
    a._edtFileNameRightButtonClick();
    EXPECT_EQ(a._edtFileName->text(), origen);
    a._cbSalida->setCurrentIndex(2);
    a._edtFicheroSalidaRightButtonClick();
    EXPECT_EQ(visto, (QStringList{dir.path(), dir.filePath(QStringLiteral("Ruta del día.kml")),
                                  QStringLiteral("KML")}));
    EXPECT_EQ(a._edtFicheroSalida->text(), dir.filePath(QStringLiteral("elegido.kml")));
    EXPECT_TRUE(a._btnConvert->isEnabled());
    // Agreed to in the save dialog: no second question.
    EscribirFichero(dir.filePath(QStringLiteral("elegido.kml")), "x");
    a._btnConvertClick();
    EXPECT_EQ(llamadas.size(), 1);
    EXPECT_FALSE(mensajes.join('\n').contains(QLatin1String("pregunta")));
}

TEST_F(Asistente, LimpiarDejaElPrimerFormatoElegido) {
    a._edtFileName->setText(origen);
    elegir(2);
    a.mmOutput->setPlainText(QStringLiteral("algo"));
    a._btnLimpiarConvertClick();
    EXPECT_EQ(a._cbSalida->currentIndex(), 0);
    EXPECT_EQ(a._cbSalida->currentText(), kSalidas[0]);
    EXPECT_TRUE(a._edtFileName->text().isEmpty());
    EXPECT_TRUE(a._edtFicheroSalida->text().isEmpty());
    EXPECT_FALSE(a._btnConvert->isEnabled());
    EXPECT_FALSE(a._cbSalida->isEnabled());
    EXPECT_EQ(a.mmOutput->toPlainText(), QStringLiteral("Comando utilizado..."));
}

TEST_F(Asistente, ConversionRealDesdeLaPagina) {
    const QString babel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    ASSERT_FALSE(babel.isEmpty());
    TLog log;
    TCatalogoFormatos catalogo(CatalogoEntregado(), &log);
    const TProductosCatalogo p = catalogo.LeerProductos(QStringLiteral("Todos|*.*"));
    TConversor conversor(catalogo, &log);
    conversor.Babel = babel;
    a.SetFormatos(p.Salidas, p.ConvertList);
    a.Convertir = [&](const QString& o, const QString& d, const QString& desc) {
        return conversor.ConvertirFichero(o, d, desc);
    };
    const QString gpx = dir.filePath(QStringLiteral("pequeña ruta.gpx"));
    EscribirFichero(gpx, GpxPequeno());
    a._edtFileName->setText(gpx);
    a._cbSalida->setCurrentIndex(p.Salidas.indexOf(QStringLiteral("OziExplorer Track (*.PLT)")));
    a._cbSalidaChange();
    ASSERT_EQ(a._edtFicheroSalida->text(), dir.filePath(QStringLiteral("pequeña ruta.PLT")));
    QTest::mouseClick(a._btnConvert, Qt::LeftButton);
    EXPECT_EQ(mensajes, QStringList{"info: El fichero se ha convertido correctamente."});
    EXPECT_TRUE(LeerFichero(a._edtFicheroSalida->text()).startsWith("OziExplorer Track"));
    EXPECT_TRUE(a.mmOutput->toPlainText().contains(QLatin1String("-o ozi -F")));
}
} // namespace
