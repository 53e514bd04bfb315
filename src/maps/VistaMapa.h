#pragma once

#include "PaginaMapa.h"

#include <QString>
#include <functional>

class QWebEngineView;
class QWidget;

// How a failure is told to the user; by default an error box with an OK button.
using TMostrarErrorMapa = std::function<void(const QString&)>;

// Writes the page into the cache folder and points the browser at "~dat.html". A failure
// is shown with its message and leaves the browser as it was.
void GenerarMapa(QWebEngineView* browser, const TParametrosMapa& p,
                 const TMostrarErrorMapa& mostrarError = {});

// The control list and default zoom, then GenerarMapa; nothing when there is neither a
// centre nor a point.
void MostrarMapa(QWebEngineView* browser, const QString& latCentro, const QString& lonCentro,
                 const QString& puntos, const QString& tipoMapa, int zoom,
                 const TMostrarErrorMapa& mostrarError = {});

// Saves what the browser shows, as large as the control, in the format the extension
// picks (bmp, jpg, png). Nothing when the browser holds no page.
bool GrabarImagenNavegador(QWebEngineView* browser, const QString& fileName);

// The browser's rendering of the page, after the user has confirmed the print dialog.
void ImprimirNavegador(QWebEngineView* browser, QWidget* parent);
