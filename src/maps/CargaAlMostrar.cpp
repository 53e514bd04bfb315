#include "CargaAlMostrar.h"

#include <QEvent>
#include <QTimer>
#include <QWebEngineView>

TCargaAlMostrar::TCargaAlMostrar(QWebEngineView* view)
    : QObject(view), FVista(view), FVigilado(view->parentWidget() ? view->parentWidget() : view) {
    setObjectName(QStringLiteral("CargaAlMostrar"));
    // A browser that is merely shown already starts the engine: it stays hidden inside
    // its page until it has something to load, and the page is what is watched.
    if (FVigilado != view && !view->isVisible())
        view->hide();
    FVigilado->installEventFilter(this);
}

TCargaAlMostrar* TCargaAlMostrar::De(QWebEngineView* view) {
    if (auto* existing = view->findChild<TCargaAlMostrar*>(QStringLiteral("CargaAlMostrar"),
                                                           Qt::FindDirectChildrenOnly))
        return existing;
    return new TCargaAlMostrar(view);
}

void TCargaAlMostrar::cargar(const QUrl& url) {
    FPendiente = false;
    FIniciado = true;
    emit AntesDeCargar(url);
    if (FVigilado != FVista && FVista->isHidden()) {
        // Loaded off screen (a print, a picture) it still gets the size of its page.
        FVista->resize(FVigilado->size());
        FVista->show();
    }
    FVista->setUrl(url);
}

void TCargaAlMostrar::Navegar(const QUrl& url) {
    FDestino = url;
    if (url.scheme() == QLatin1String("about")) {
        // An empty page for a browser that never started is what it shows already.
        if (FIniciado)
            cargar(url);
        else
            FPendiente = false;
        return;
    }
    FPendiente = true;
    if (FVigilado->isVisible())
        comprobarMasTarde();
}

void TCargaAlMostrar::comprobarMasTarde() {
    // A page can be on screen for a moment while the window is being laid out (a load
    // passes through the map page): load only if it is still on screen afterwards.
    QTimer::singleShot(0, this, [this] {
        if (FVigilado && FVigilado->isVisible())
            CargarYa();
    });
}

void TCargaAlMostrar::CargarYa() {
    if (FPendiente)
        cargar(FDestino);
}

QUrl TCargaAlMostrar::Destino() const {
    return FDestino;
}

bool TCargaAlMostrar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FVigilado && event->type() == QEvent::Show && FPendiente)
        comprobarMasTarde();
    return QObject::eventFilter(watched, event);
}
