#include "VistaMapa.h"

#include "CargaAlMostrar.h"

#include "AppPaths.h"
#include "ImagenVista.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
#include <QWebEngineView>

namespace {
void mostrar(const TMostrarErrorMapa& mostrarError, QWidget* parent, const QString& text) {
    if (mostrarError)
        mostrarError(text);
    else
        QMessageBox::critical(parent, QStringLiteral("Error"), text);
}
} // namespace

void GenerarMapa(QWebEngineView* browser, const TParametrosMapa& p,
                 const TMostrarErrorMapa& mostrarError) {
    const TResultadoMapa r = EscribirMapa(p, CacheDir(), CarpetaSoportePagina());
    if (!r.ok()) {
        mostrar(mostrarError, browser, r.Mensaje());
        return;
    }
    if (browser)
        TCargaAlMostrar::De(browser)->Navegar(QUrl::fromLocalFile(r.paginaDatos));
}

void MostrarMapa(QWebEngineView* browser, const QString& latCentro, const QString& lonCentro,
                 const QString& puntos, const QString& tipoMapa, int zoom,
                 const TMostrarErrorMapa& mostrarError) {
    if (const auto p = ParametrosMostrarMapa(latCentro, lonCentro, puntos, tipoMapa, zoom))
        GenerarMapa(browser, *p, mostrarError);
}

bool GrabarImagenNavegador(QWebEngineView* browser, const QString& fileName) {
    if (browser)
        TCargaAlMostrar::De(browser)->CargarYa();
    if (!browser || browser->url().isEmpty())
        return false;
    const QImage image = browser->grab(QRect(QPoint(0, 0), browser->size())).toImage();
    return GrabarImagenPorExtension(image, fileName);
}

void ImprimirNavegador(QWebEngineView* browser, QWidget* parent) {
    if (!browser)
        return;
    TCargaAlMostrar::De(browser)->CargarYa();
    auto* printer = new QPrinter(QPrinter::HighResolution);
    QPrintDialog dialog(printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        delete printer;
        return;
    }
    // The page is printed in the background; the printer lives until it has finished.
    QObject::connect(
        browser, &QWebEngineView::printFinished, browser, [printer](bool) { delete printer; },
        Qt::SingleShotConnection);
    browser->print(printer);
}
