// The web map page, the KML/PLT exports and the Google Earth view.
#include "FormMain.h"

#include "AppPaths.h"
#include "DialogoGuardar.h"
#include "EscritoresRuta.h"
#include "FormData.h"
#include "Formato.h"
#include "PaginaExportarRuta.h"
#include "PaginaGoogleMaps.h"
#include "Ribbon.h"
#include "Verbario.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QUrl>

namespace {
// The window's save dialog, which tests replace, as the pages ask for it.
TPedirFicheroGuardar pedirFichero(TFMain& w) {
    return [&w](const TDialogoGuardar& d) {
        return w.DialogoGuardar(d.titulo, d.filtros, d.filtroElegido, d.extensionDefecto,
                                d.fichero);
    };
}
} // namespace

void TFMain::CrearPaginaMapas() {
    DialogoGuardar = [this](const QString& title, const QStringList& filters, int chosen,
                            const QString& suffix, const QString& initial) {
        return PedirFicheroGuardar(this, {title, filters, chosen, suffix, initial});
    };
    AbrirConAsociado = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };

    PaginaGoogleMaps = new TPaginaGoogleMaps(tsGoogleMaps);
    tsGoogleMaps->layout()->addWidget(PaginaGoogleMaps);
    connect(PaginaGoogleMaps, &TPaginaGoogleMaps::MapaCargado, this,
            [this] { Proteger([this] { wbMapaGoogleDocumentComplete(); }); });

    // The export page: its tab is never shown.
    PaginaExportarRuta = new TPaginaExportarRuta(tsConvertir);
    tsConvertir->layout()->addWidget(PaginaExportarRuta);
    connect(PaginaExportarRuta->btnGrabarKLM, &QPushButton::clicked, this,
            [this] { Proteger([this] { ActionConvertirRutaKMLExecute(); }); });
    connect(PaginaExportarRuta->btnGrabarPLT, &QPushButton::clicked, this,
            [this] { Proteger([this] { ActionConvertirRutaPLTExecute(); }); });

    Conectar(ActionImprimirGoogleMaps, [this] { ActionImprimirGoogleMapsExecute(); });
    Conectar(ActionGrabarImagen, [this] { ActionGrabarImagenExecute(); });
    Conectar(ActionVerGoogleEarth, [this] { ActionVerGoogleEarthExecute(); });
    Conectar(ActionConvertKML, [this] { ActionConvertirRutaKMLExecute(); });
    Conectar(ActionConvertPLT, [this] { ActionConvertirRutaPLTExecute(); });
    RegistrarSnapshot(QStringLiteral("mapa.png"), tsGoogleMaps);
}

void TFMain::CargarGoogleMaps() {
    QWidget* remembered = pcCentral->currentWidget();
    pcCentral->setCurrentWidget(tsGoogleMaps);
    if (!DoneVisualization)
        return;
    PaginaGoogleMaps->MostrarRuta(FormData->cdsPoints, *FormData->Medidas(),
                                  [this](const QString& text) { MensajeError(text); });
    pcCentral->setCurrentWidget(remembered);
    // The page is written and loads as soon as the user opens it: nothing is being
    // generated any more, so the tab says what it holds.
    if (PaginaGoogleMaps->Pendiente())
        rpGoogleMaps->setCaption(
            LookupText(QStringLiteral("_STR_MI_TITLEGM"), QStringLiteral("&Google Maps")));
}

void TFMain::LimpiarMapas() {
    PaginaGoogleMaps->LimpiarMapas();
}

void TFMain::wbMapaGoogleDocumentComplete() {
    rpGoogleMaps->setCaption(
        LookupText(QStringLiteral("_STR_MI_TITLEGM"), QStringLiteral("&Google Maps")));
}

void TFMain::ActionImprimirGoogleMapsExecute() {
    PaginaGoogleMaps->ActionImprimirGoogleMapsExecute();
}

QString TFMain::CarpetaImagenes() const {
    // Not the cache folder: it is deleted at exit, and the picture with it.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() || !QDir(pictures).exists() ? QDir::homePath() : pictures;
}

void TFMain::ActionGrabarImagenExecute() {
    PaginaGoogleMaps->ActionGrabarImagenExecute(CarpetaImagenes(), pedirFichero(*this));
}

void TFMain::ActionVerGoogleEarthExecute() {
    QStringList lines;
    EscribirKML(FTrackPath, FormData->cdsPoints, *FormData->Medidas(), lines, 0xFF0000, 2);
    const QString path = CacheDir() + QStringLiteral("~gm.kml");
    QDir().mkpath(CacheDir());
    GrabarRuta(TFormatoRuta::frKML, lines, path);
    // Without a program for KML files the user is told where the file is, so that it can
    // be opened by hand.
    if (QFileInfo::exists(path) && !AbrirConAsociado(path)) {
        _Log(QStringLiteral("No se ha podido abrir: ") + path);
        MensajeAviso(FormatearTexto(
            LookupText(QStringLiteral("_STR_MI_NOKMLAPP"),
                       QStringLiteral("No hay ningún programa para ver ficheros KML (Google "
                                      "Earth) en el sistema.\r\nLa ruta se ha guardado en:"
                                      "\r\n%s\r\npara que pueda abrirla a mano.")),
            {QDir::toNativeSeparators(path)}));
    }
}

void TFMain::ActionConvertirRutaKMLExecute() {
    PaginaExportarRuta->Exportar(TFormatoRuta::frKML, *FormData, FTrackPath, pedirFichero(*this));
}

void TFMain::ActionConvertirRutaPLTExecute() {
    PaginaExportarRuta->Exportar(TFormatoRuta::frPLT, *FormData, FTrackPath, pedirFichero(*this));
}
