// The web map page, the KML/PLT exports and the Google Earth view.
#include "FormMain.h"

#include "AppPaths.h"
#include "CargaAlMostrar.h"
#include "DialogoGuardar.h"
#include "EscritoresRuta.h"
#include "FormData.h"
#include "Formato.h"
#include "NavegadorMapa.h"
#include "PaginaMapa.h"
#include "Ribbon.h"
#include "Verbario.h"
#include "VistaMapa.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QUrl>
#include <QWebEngineView>

namespace {
// The save dialog of the two export commands (`sdTrack`).
TDialogoGuardar dialogoExportar(TFormatoRuta format, const QString& trackPath) {
    TDialogoGuardar d;
    d.titulo =
        LookupText(QStringLiteral("_STR_CAPTION_EXPORT"), QStringLiteral("Exportar track..."));
    const bool kml = format == TFormatoRuta::frKML;
    d.filtros = {
        kml ? LookupText(QStringLiteral("_STR_FILTER_KML"), QStringLiteral("Google Earth (*.kml)"))
            : LookupText(QStringLiteral("_STR_FILTER_PLT"),
                         QStringLiteral("Ozi Track File (*.plt)"))};
    const QFileInfo track(trackPath);
    d.fichero = QDir(track.path())
                    .filePath(track.completeBaseName() +
                              (kml ? QStringLiteral(".KML") : QStringLiteral(".PLT")));
    return d;
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

    wbMapaGoogle = new QWebEngineView(tsGoogleMaps);
    wbMapaGoogle->setObjectName(QStringLiteral("wbMapaGoogle"));
    tsGoogleMaps->layout()->addWidget(wbMapaGoogle);
    TCargaAlMostrar::De(wbMapaGoogle);
    PrepararNavegadorMapa(wbMapaGoogle);
    connect(wbMapaGoogle, &QWebEngineView::loadFinished, this,
            [this] { Proteger([this] { wbMapaGoogleDocumentComplete(); }); });

    // The export page: its tab is never shown.
    mmConvertTrack = new QPlainTextEdit(tsConvertir);
    mmConvertTrack->setObjectName(QStringLiteral("mmConvertTrack"));
    mmConvertTrack->setLineWrapMode(QPlainTextEdit::NoWrap);
    tsConvertir->layout()->addWidget(mmConvertTrack);
    auto* buttons = new QHBoxLayout;
    btnGrabarKLM = new QPushButton(QStringLiteral("&Convertir ruta a KML"), tsConvertir);
    btnGrabarKLM->setObjectName(QStringLiteral("btnGrabarKLM"));
    btnGrabarKLM->setToolTip(QStringLiteral(
        "Convertir la ruta existente a formato KML (KeyHole Markup language -Google Maps-)"));
    btnGrabarPLT = new QPushButton(QStringLiteral("&Convertir ruta a PLT"), tsConvertir);
    btnGrabarPLT->setObjectName(QStringLiteral("btnGrabarPLT"));
    btnGrabarPLT->setToolTip(
        QStringLiteral("Convertir la ruta existente a formato PLT (OziExplorer)"));
    buttons->addWidget(btnGrabarKLM);
    buttons->addWidget(btnGrabarPLT);
    buttons->addStretch();
    static_cast<QBoxLayout*>(tsConvertir->layout())->addLayout(buttons);
    connect(btnGrabarKLM, &QPushButton::clicked, this,
            [this] { Proteger([this] { ActionConvertirRutaKMLExecute(); }); });
    connect(btnGrabarPLT, &QPushButton::clicked, this,
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
    MostrarMapa(wbMapaGoogle, QString(), QString(),
                UnirLineas(ListaPuntosMapa(FormData->cdsPoints, *FormData->Medidas())),
                QStringLiteral("G_PHYSICAL_MAP"), 1,
                [this](const QString& text) { MensajeError(text); });
    pcCentral->setCurrentWidget(remembered);
    // The page is written and loads as soon as the user opens it: nothing is being
    // generated any more, so the tab says what it holds.
    if (TCargaAlMostrar::De(wbMapaGoogle)->Pendiente())
        rpGoogleMaps->setCaption(
            LookupText(QStringLiteral("_STR_MI_TITLEGM"), QStringLiteral("&Google Maps")));
}

void TFMain::LimpiarMapas() {
    TCargaAlMostrar::De(wbMapaGoogle)->Navegar(QUrl(QStringLiteral("about:blank")));
}

void TFMain::wbMapaGoogleDocumentComplete() {
    // The blank page of a closed route is no map: the tab keeps "Generando..." then.
    if (wbMapaGoogle->url().scheme() == QLatin1String("about"))
        return;
    rpGoogleMaps->setCaption(
        LookupText(QStringLiteral("_STR_MI_TITLEGM"), QStringLiteral("&Google Maps")));
    wbMapaGoogle->page()->runJavaScript(QStringLiteral("document.body.style.overflow = 'hidden';"));
}

void TFMain::ActionImprimirGoogleMapsExecute() {
    ImprimirNavegador(wbMapaGoogle, this);
}

QString TFMain::CarpetaImagenes() const {
    // Not the cache folder: it is deleted at exit, and the picture with it.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() || !QDir(pictures).exists() ? QDir::homePath() : pictures;
}

void TFMain::ActionGrabarImagenExecute() {
    const TDialogoGuardar d =
        DialogoImagen(LookupText(QStringLiteral("_STR_TITLE_SAVEMAP"),
                                 QStringLiteral("Guardar imagen del mapa...")),
                      QDir(CarpetaImagenes()).filePath(QStringLiteral("Image%1").arg(ImageIndex)));
    const QString path =
        DialogoGuardar(d.titulo, d.filtros, d.filtroElegido, d.extensionDefecto, d.fichero);
    if (path.isEmpty())
        return;
    ++ImageIndex;
    GrabarImagenNavegador(wbMapaGoogle, path);
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

namespace {
void exportar(TFMain& w, TFormatoRuta format) {
    w.mmConvertTrack->clear();
    const QStringList lines = LineasExportacion(format, *w.FormData);
    w.mmConvertTrack->setPlainText(lines.join(QLatin1Char('\n')));
    const TDialogoGuardar d = dialogoExportar(format, w.FTrackPath);
    const QString path =
        w.DialogoGuardar(d.titulo, d.filtros, d.filtroElegido, d.extensionDefecto, d.fichero);
    if (!path.isEmpty())
        GrabarRuta(format, lines, path);
}
} // namespace

void TFMain::ActionConvertirRutaKMLExecute() {
    exportar(*this, TFormatoRuta::frKML);
}

void TFMain::ActionConvertirRutaPLTExecute() {
    exportar(*this, TFormatoRuta::frPLT);
}
