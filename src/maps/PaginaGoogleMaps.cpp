#include "PaginaGoogleMaps.h"

#include "CargaAlMostrar.h"
#include "NavegadorMapa.h"
#include "PaginaMapa.h"
#include "Verbario.h"

#include <QDir>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

TPaginaGoogleMaps::TPaginaGoogleMaps(QWidget* parent)
    : QWidget(parent), wbMapaGoogle(new QWebEngineView(this)) {
    setObjectName(QStringLiteral("PaginaGoogleMaps"));
    wbMapaGoogle->setObjectName(QStringLiteral("wbMapaGoogle"));
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->addWidget(wbMapaGoogle);
    // The loader watches the browser's parent, so the browser is in its page first.
    TCargaAlMostrar::De(wbMapaGoogle);
    PrepararNavegadorMapa(wbMapaGoogle);
    connect(wbMapaGoogle, &QWebEngineView::loadFinished, this,
            &TPaginaGoogleMaps::documentoCompleto);
}

void TPaginaGoogleMaps::MostrarRuta(const TTrackPointStore& points, const TTablaMedidas& medidas,
                                    const TMostrarErrorMapa& mostrarError) {
    MostrarMapa(wbMapaGoogle, QString(), QString(), UnirLineas(ListaPuntosMapa(points, medidas)),
                QStringLiteral("G_PHYSICAL_MAP"), 1, mostrarError);
}

bool TPaginaGoogleMaps::Pendiente() const {
    return TCargaAlMostrar::De(wbMapaGoogle)->Pendiente();
}

void TPaginaGoogleMaps::LimpiarMapas() {
    TCargaAlMostrar::De(wbMapaGoogle)->Navegar(QUrl(QStringLiteral("about:blank")));
}

void TPaginaGoogleMaps::documentoCompleto() {
    if (wbMapaGoogle->url().scheme() == QLatin1String("about"))
        return;
    emit MapaCargado();
    wbMapaGoogle->page()->runJavaScript(QStringLiteral("document.body.style.overflow = 'hidden';"));
}

void TPaginaGoogleMaps::ActionImprimirGoogleMapsExecute() {
    ImprimirNavegador(wbMapaGoogle, window());
}

void TPaginaGoogleMaps::ActionGrabarImagenExecute(const QString& carpeta,
                                                  const TPedirFicheroGuardar& pedir) {
    const QString path =
        pedir(DialogoImagen(LookupText(QStringLiteral("_STR_TITLE_SAVEMAP"),
                                       QStringLiteral("Guardar imagen del mapa...")),
                            QDir(carpeta).filePath(QStringLiteral("Image%1").arg(ImageIndex))));
    if (path.isEmpty())
        return;
    ++ImageIndex;
    GrabarImagenNavegador(wbMapaGoogle, path);
}
