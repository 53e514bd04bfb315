#include "TextosVentana.h"
#include "FiltroDialogo.h"
#include "IniTexto.h"

#include "ImprimirQt.h"
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {
template <class T> T* nombrado(QWidget* parent, const char* name) {
    T* o = new T(parent);
    o->setObjectName(QLatin1String(name));
    return o;
}

// A small window with one element of each kind the language files reach.
struct Ventana {
    QWidget w;
    QPushButton* boton;
    QLabel* etiqueta;
    QLabel* etiquetaAdjunta;
    QLineEdit* edicion;
    QAction* accion;
    QGroupBox* grupo;
    QTabWidget* pestanas;
    QWidget* pagina;
    QPlainTextEdit* memo;
    QComboBox* combo;
    QComboBox* outCombo;
    QListWidget* lista;
    QTableView* rejilla;
    QStandardItemModel modelo{0, 2};
    QFileDialog* dialogo;
    QWidget* interno;

    Ventana() {
        w.setObjectName("FMain");
        w.setWindowTitle("Ventana");
        boton = nombrado<QPushButton>(&w, "btnAbrir");
        boton->setText("&Abrir");
        boton->setToolTip("Abrir un fichero");
        etiqueta = nombrado<QLabel>(&w, "lblTitulo");
        etiqueta->setText("Título");
        etiquetaAdjunta = new QLabel("&Ancho:", &w);
        edicion = nombrado<QLineEdit>(&w, "edtBabel");
        etiquetaAdjunta->setBuddy(edicion);
        accion = nombrado<QAction>(&w, "ActionZoomIn");
        accion->setText("Zoom &In");
        accion->setStatusTip("Acercar");
        grupo = nombrado<QGroupBox>(&w, "gbDatos");
        grupo->setTitle("Datos");
        pestanas = nombrado<QTabWidget>(&w, "pcPaginas");
        pagina = nombrado<QWidget>(nullptr, "tsUna");
        pestanas->addTab(pagina, "Una");
        memo = nombrado<QPlainTextEdit>(&w, "mmMensajes");
        memo->setPlainText("uno\ndos\ntres");
        combo = nombrado<QComboBox>(&w, "cbZoom");
        combo->addItems({"10%", "25%", "50%"});
        combo->setCurrentIndex(1);
        outCombo = nombrado<QComboBox>(&w, "outcbIdioma");
        outCombo->addItems({"Español", "Inglés", "Catalán"});
        lista = nombrado<QListWidget>(&w, "lbFormatos");
        lista->addItems({"GPX", "KML"});
        rejilla = nombrado<QTableView>(&w, "dbgPuntos");
        modelo.setHorizontalHeaderLabels({"Latitud", "Longitud"});
        rejilla->setModel(&modelo);
        dialogo = nombrado<QFileDialog>(&w, "sDialog");
        dialogo->setWindowTitle("Guardar track");
        AsignarFiltro(dialogo, "Ficheros GPX (*.gpx)|*.gpx|Todos los ficheros (*.*)|*.*");
        // Inside the dialog: not an element of this window.
        interno = nombrado<QWidget>(dialogo, "btnInterno");
    }
};

QString textoFichero(const char* section) {
    return QString::fromUtf8(section);
}

TEST(fillProps, ReplacesEachKindOfText) {
    Ventana v;
    const TIniTexto file = TIniTexto::DesdeTexto(textoFichero(R"([FMain]
FMain.Caption=Window
FMain.btnAbrir.Caption=&Open
FMain.btnAbrir.Hint=Open a file
FMain.lblTitulo.Caption=Title
FMain.edtBabel.Text=gpsbabel
FMain.edtBabel.EditLabel.Caption=&Width:
FMain.ActionZoomIn.Caption=Zoom &in
FMain.ActionZoomIn.Hint=Zoom in closer
FMain.gbDatos.Caption=Data
FMain.tsUna.Caption=One
FMain.mmMensajes.lines[0]=one
FMain.mmMensajes.lines[1]=
FMain.mmMensajes.lines[2]=fsdef
FMain.cbZoom.items[0]=ten
FMain.cbZoom.items[5]=past the end
FMain.outcbIdioma.items[5]=past the end
FMain.lbFormatos.items[1]=Keyhole
FMain.dbgPuntos.items[0]=Latitude
FMain.sDialog.Filter=GPX files (*.gpx)|*.gpx
FMain.btnInterno.Caption=never
)"));
    fillProps({&v.w}, file);
    EXPECT_EQ(v.w.windowTitle(), "Window");
    EXPECT_EQ(v.boton->text(), "&Open");
    EXPECT_EQ(v.boton->toolTip(), "Open a file");
    EXPECT_EQ(v.boton->statusTip(), "Open a file");
    EXPECT_EQ(v.etiqueta->text(), "Title");
    EXPECT_EQ(v.edicion->text(), "gpsbabel");
    EXPECT_EQ(v.etiquetaAdjunta->text(), "&Width:");
    EXPECT_EQ(v.accion->text(), "Zoom &in");
    EXPECT_EQ(v.accion->statusTip(), "Zoom in closer");
    EXPECT_EQ(v.grupo->title(), "Data");
    EXPECT_EQ(v.pestanas->tabText(0), "One");
    // An empty line value empties the line; "fsdef" leaves it.
    EXPECT_EQ(v.memo->toPlainText(), "one\n\ntres");
    EXPECT_EQ(v.combo->itemText(0), "ten");
    EXPECT_EQ(v.combo->count(), 3); // keys never add items
    EXPECT_EQ(v.combo->currentIndex(), 1);
    EXPECT_EQ(v.outCombo->count(), 3);
    EXPECT_EQ(v.lista->item(1)->text(), "Keyhole");
    EXPECT_EQ(v.modelo.headerData(0, Qt::Horizontal).toString(), "Latitude");
    EXPECT_EQ(v.modelo.headerData(1, Qt::Horizontal).toString(), "Longitud");
    EXPECT_EQ(FiltroDialogo(v.dialogo), "GPX files (*.gpx)|*.gpx");
    EXPECT_EQ(v.dialogo->nameFilters(), QStringList{"GPX files (*.gpx)"});
}

TEST(fillProps, EmptyValuesAndMissingKeysKeepTheTexts) {
    Ventana v;
    const TIniTexto file = TIniTexto::DesdeTexto(textoFichero(R"([FMain]
FMain.Caption=
FMain.btnAbrir.Caption=
FMain.btnAbrir.Hint=
FMain.cbZoom.items[0]=
FMain.sDialog.Filter=
[FSplash]
FMain.lblTitulo.Caption=another window's section
)"));
    fillProps({&v.w}, file);
    EXPECT_EQ(v.w.windowTitle(), "Ventana");
    EXPECT_EQ(v.boton->text(), "&Abrir");
    EXPECT_EQ(v.boton->toolTip(), "Abrir un fichero");
    EXPECT_EQ(v.combo->itemText(0), "10%");
    EXPECT_EQ(v.etiqueta->text(), "Título");
    EXPECT_EQ(FiltroDialogo(v.dialogo), "Ficheros GPX (*.gpx)|*.gpx|Todos los ficheros (*.*)|*.*");
}

TEST(fillProps, SkipsElementsMarkedAsProgramOutput) {
    Ventana v;
    v.memo->setProperty("SinTraduccion", true);
    fillProps({&v.w}, TIniTexto::DesdeTexto("[FMain]\nFMain.mmMensajes.lines[0]=x"));
    EXPECT_EQ(v.memo->toPlainText(), "uno\ndos\ntres");
}

TEST(LeerTextosVentana, TemplateOfTheWindow) {
    Ventana v;
    TIniTexto ini;
    QStringList combo;
    EscribirVentanaPlantilla(LeerTextosVentana(&v.w), ini, combo);
    const QStringList expected{
        "FMain.Caption",
        "FMain.btnAbrir.Caption",
        "FMain.btnAbrir.Hint",
        "FMain.lblTitulo.Caption",
        "FMain.edtBabel.Text",
        "FMain.edtBabel.EditLabel.Caption",
        "FMain.ActionZoomIn.Caption",
        "FMain.ActionZoomIn.Hint",
        "FMain.gbDatos.Caption",
        "FMain.tsUna.Caption",
        "FMain.mmMensajes.Lines[0]",
        "FMain.mmMensajes.Lines[1]",
        "FMain.mmMensajes.Lines[2]",
        "FMain.cbZoom.Items[0]",
        "FMain.cbZoom.Items[1]",
        "FMain.cbZoom.Items[2]",
        "FMain.lbFormatos.Items[0]",
        "FMain.lbFormatos.Items[1]",
        "FMain.dbgPuntos.Items[0]",
        "FMain.dbgPuntos.Items[1]",
        "FMain.sDialog.Caption", // the dialog's title
        "FMain.sDialog.Filter",
    };
    QStringList keys = ini.Claves("FMain");
    // The tab page is created before it is moved into the tab widget: compare as sets.
    std::sort(keys.begin(), keys.end());
    QStringList sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(keys, sortedExpected);
    EXPECT_EQ(ini.Valor("FMain", "FMain.edtBabel.Text", "ABSENT"), "");
    EXPECT_EQ(ini.Valor("FMain", "FMain.ActionZoomIn.Hint"), "Acercar");
    EXPECT_EQ(combo.value(2), "[FMain]");
    EXPECT_EQ(combo.value(4), "  cc [0] := cbZoom.ItemIndex ;");
}

TEST(LeerTextosVentana, TemplateReadsBackIntoAFreshWindow) {
    Ventana origen;
    origen.boton->setText("&Open");
    origen.memo->setPlainText("one\n\nthree");
    TIniTexto ini;
    QStringList combo;
    EscribirVentanaPlantilla(LeerTextosVentana(&origen.w), ini, combo);
    Ventana destino;
    fillProps({&destino.w}, TIniTexto::DesdeBytes(ini.Serializar()));
    EXPECT_EQ(destino.boton->text(), "&Open");
    EXPECT_EQ(destino.memo->toPlainText(), "one\n\nthree");
}

TEST(FiltroDialogo, ConvertsBetweenTheProgramFormAndQtNameFilters) {
    struct Caso {
        const char* nombre;
        const char* filtro;
        QStringList qt;
    } casos[] = {
        {"description already shows its patterns", "GPX (*.gpx)|*.gpx", {"GPX (*.gpx)"}},
        {"patterns are added when missing",
         "Google Earth|*.kml;*.kmz",
         {"Google Earth (*.kml *.kmz)"}},
        {"several pairs", "A (*.a)|*.a|B|*.b", {"A (*.a)", "B (*.b)"}},
        {"a description without patterns is dropped", "A (*.a)|*.a|B", {"A (*.a)"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(FiltroANombresQt(c.filtro), c.qt);
    }
    EXPECT_EQ(NombresQtAFiltro({"Google Earth (*.kml *.kmz)"}),
              "Google Earth (*.kml *.kmz)|*.kml;*.kmz");
}
} // namespace
