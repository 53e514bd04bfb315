#pragma once

#include "DialogoGuardar.h"
#include "VistaMapa.h"

#include <QWidget>

class QWebEngineView;
class TTablaMedidas;
class TTrackPointStore;

// The page "Google Map": the map browser `wbMapaGoogle` and the commands that act on the
// map it shows. The main window owns the tab's caption, which it sets on MapaCargado.
class TPaginaGoogleMaps : public QWidget {
    Q_OBJECT
  public:
    explicit TPaginaGoogleMaps(QWidget* parent = nullptr);

    QWebEngineView* wbMapaGoogle;
    int ImageIndex = 1; // the number in the map picture's default name

    // Writes the route's map page; the browser loads it the first time it is on screen.
    // A failure is told through `mostrarError` and leaves the browser as it was.
    void MostrarRuta(const TTrackPointStore& points, const TTablaMedidas& medidas,
                     const TMostrarErrorMapa& mostrarError);
    // A written map still waits for the page to be shown.
    bool Pendiente() const;
    void LimpiarMapas(); // browser to "about:blank"
    void ActionImprimirGoogleMapsExecute();
    // Asks for a file, proposing "Image<ImageIndex>" in `carpeta`, and saves the map's
    // picture there; the number grows with every file chosen, written or not.
    void ActionGrabarImagenExecute(const QString& carpeta, const TPedirFicheroGuardar& pedir);

  signals:
    // A route's map finished loading (the blank page of a closed route is no map).
    void MapaCargado();

  private:
    void documentoCompleto();
};
