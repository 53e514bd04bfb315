// Plan view, altitude and speed graphs, point inspection and animation.
#include "FormMain.h"

void TFMain::CrearPaginaGrafico() {}
void TFMain::CrearGraficoRuta() {}
void TFMain::CrearGraficoAltura() {}
void TFMain::CrearGraficoVelocidad() {}
void TFMain::AjustarGraficos() {}
void TFMain::LimpiarGraficos() {}
void TFMain::DetenerAnimacion() {}
void TFMain::MarcarPunto(int index) { Q_UNUSED(index); }
void TFMain::IniciarModoLineas() {}
