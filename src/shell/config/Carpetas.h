#pragma once

#include <QList>
#include <QRect>
#include <QString>

// Creates the cache folder with its missing parents; false when it cannot.
bool CrearCacheDir(const QString& carpeta);

// Clears and removes the cache folder at exit; every error is ignored. Links are removed
// as links: nothing outside the folder is touched, even when the folder itself is a link.
// Files that resist the first pass are deleted again one by one; when the folder is still
// there after that, `esperaMs` gives other programs time to let go before the last try.
void LimpiarCacheDir(const QString& carpeta, int esperaMs = 600);

// A stored window rectangle moved onto the screens: kept when a grip of its title area
// lies on one of `pantallas`, otherwise moved (and shrunk if needed) onto the first one.
QRect TraerAPantalla(const QRect& ventana, const QList<QRect>& pantallas);
