// Settings, themes, the cache folder and the update check.
#include "FormMain.h"

#include "AppPaths.h"

#include <QDir>

void TFMain::CrearPaginaConfig() {}
void TFMain::RestaurarConfiguracion() {}
void TFMain::AplicarTemaInicio() {}
void TFMain::RestaurarValoresInicio() {}
void TFMain::ComprobarActualizacionesInicio() {}
void TFMain::GuardarConfiguracion() {}
void TFMain::LimpiarCache() { QDir(CacheDir()).removeRecursively(); }
QString TFMain::TextoVersionPrograma() const { return QStringLiteral(SENDERAL_VERSION_TEXT); }
