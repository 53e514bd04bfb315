// Plan view, altitude and speed graphs, point inspection and animation: the page lives
// in the graphics library; the window lends it its commands, ribbon boxes and status bar.
#include "ColorBox.h"
#include "FormData.h"
#include "FormMain.h"
#include "PaginaDatos.h"
#include "PanelGrafico.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QStackedWidget>

void TFMain::CrearPaginaGrafico() {
    PanelGrafico = new TPanelGrafico(tsGraficoRuta);
    tsGraficoRuta->layout()->addWidget(PanelGrafico);
    PanelGrafico->Log = Log;
    PanelGrafico->Proteger = [](const std::function<void()>& handler) {
        TFMain::Proteger(handler);
    };
    PanelGrafico->UsarAnchoLinea(seAnchoLinea);
    TAccionesGrafico a;
    a.ZoomIn = ActionZoomIn;
    a.ZoomOut = ActionZoomOut;
    a.CentrarGraficoRuta = ActionCentrarGraficoRuta;
    a.VerGrid = ActionVerGrid;
    a.GraficoEdicion = ActionGraficoEdicion;
    a.GraficoMover = ActionGraficoMover;
    a.VerConPuntos = ActionVerConPuntos;
    a.VerConLineas = ActionVerConLineas;
    a.ImprimirRuta = ActionImprimirRuta;
    a.ExporGraficotBMP = ActionExporGraficotBMP;
    a.PLayAnim = ActionPLayAnim;
    a.PauseAnim = ActionPauseAnim;
    a.StopAnim = ActionStopAnim;
    PanelGrafico->EnlazarAcciones(a);
    connect(colbLinea, &TColorBox::Cambiado, PanelGrafico, [this](const QColor& c) {
        Proteger([this, c] { PanelGrafico->colbLineaChange(ColorDesdeQColor(c)); });
    });
    connect(colbFondoGrafico, &TColorBox::Cambiado, PanelGrafico, [this](const QColor& c) {
        Proteger([this, c] { PanelGrafico->colbFondoGraficoChange(ColorDesdeQColor(c)); });
    });
    // The box is made with the configuration page; without it the width is automatic.
    PanelGrafico->AnchoLineaAuto = [this] {
        return !cbAnchoLineaAuto || cbAnchoLineaAuto->isChecked();
    };
    PanelGrafico->AntesDeColocarPuntos = [this] { FillCustomIni(); };
    PanelGrafico->Figuras = [this]() -> std::shared_ptr<const TTablaFiguras> {
        return FormData ? FormData->Figuras() : nullptr;
    };
    PanelGrafico->Sensores = [this]() -> const TSensoresPuntos* {
        return FormData ? &FormData->cdsPoints.Sensores() : nullptr;
    };
    RegistrarSnapshot(QStringLiteral("grafico.png"), tsGraficoRuta);
}

void TFMain::CrearGraficoRuta() {
    TPanelGrafico* p = PanelGrafico;
    p->pbarMain = pbarMain;
    p->CarpetaRuta = FTrackPath.isEmpty() ? QString() : QFileInfo(FTrackPath).absolutePath();
    p->colbLineaChange(ColorDesdeQColor(colbLinea->Selected()));
    // A page the stack is not showing keeps its old size; the build fits to it.
    if (pcCentral->currentWidget() != tsGraficoRuta)
        tsGraficoRuta->setGeometry(pcCentral->contentsRect());
    p->CrearGraficoRuta(FormData->Medidas());
    AlturaMaxima = p->AlturaMaxima;
    VelocidadMaxima = p->VelocidadMaxima;
    PaginaDatos->edtDistanciaRuta->setText(p->TextoDistancia);
}

void TFMain::CrearGraficoAltura() {
    PanelGrafico->CrearGraficoAltura();
}
void TFMain::CrearGraficoVelocidad() {
    PanelGrafico->CrearGraficoVelocidad();
}
void TFMain::AjustarGraficos() {
    if (PanelGrafico)
        PanelGrafico->AjustarGraficos();
}
void TFMain::LimpiarGraficos() {
    PanelGrafico->Limpiar();
}
void TFMain::DetenerAnimacion() {
    PanelGrafico->pnlAnimacion->ActionStopAnimExecute();
}
void TFMain::MarcarPunto(int index) {
    PanelGrafico->MarcarPunto(index);
}

void TFMain::IniciarModoLineas() {
    ActionVerConPuntos->setChecked(false);
    // A stored check of the lines command must not contradict the mode it shows.
    ActionVerConLineas->setChecked(true);
    PanelGrafico->SetTipoRuta(trLineas);
}
