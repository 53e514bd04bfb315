#pragma once

#include "TeselasMapa.h"

#include <QString>

class QWebEngineView;

// The map browser's own profile: every request to a tile server names the program, tiles
// are kept on disk between runs, and refusals by a tile server are told on the page.

// The tile settings every map browser uses from now on (the shell sets them from the
// settings file at start-up).
void EstablecerConfigTeselas(const TConfigTeselas& c);
const TConfigTeselas& ConfigTeselasActual();

// The folder of the map browser's disk cache and storage: the user's cache folder, kept
// between runs (the program's own cache folder is emptied at exit).
QString CarpetaCacheMapa();
// Tests point it somewhere else; an empty text restores the user's folder. Takes effect
// when no map browser is open.
void SetCarpetaCacheMapaOverride(const QString& dir);

// Gives `view` a page on the map profile when it first loads a page (the browser engine
// starts only then), and hands each page it loads the current tile settings and texts.
void PrepararNavegadorMapa(QWebEngineView* view);
