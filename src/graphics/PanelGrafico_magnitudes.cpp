// The quantity the right-hand graph plots: speed, or a sensor quantity the track has.
#include "Numeros.h"
#include "PanelGrafico.h"
#include "Sensores.h"
#include "TablaMedidas.h"
#include "Trazado.h"
#include "Verbario.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QVBoxLayout>
#include <cmath>

namespace {
struct TMagnitud {
    const char* claveNombre;
    const char* nombre;
    const char* claveTitulo;
    const char* titulo;
    double unidadesPorValor; // graph units per unit of the quantity, up the graph
    TColor color;
};

// Speed is drawn by its own rule (whole km/h steps); the rest one unit per value, scaled
// so that the usual range of each fills the strip about as much as speed does.
const TMagnitud Magnitudes[] = {
    {"_STR_MAG_VELOCIDAD", "Velocidad", nullptr, nullptr, 10, clHotLight},
    {"_STR_MAG_PULSO", "Pulso", "_STR_GRAF_PULSO", "Gráfico de Pulso", 2, 0x3C3CFF},
    {"_STR_MAG_CADENCIA", "Cadencia", "_STR_GRAF_CADENCIA", "Gráfico de Cadencia", 2, 0xFFFF00},
    {"_STR_MAG_POTENCIA", "Potencia", "_STR_GRAF_POTENCIA", "Gráfico de Potencia", 0.5, 0x00A5FF},
    {"_STR_MAG_TEMPERATURA", "Temperatura", "_STR_GRAF_TEMPERATURA", "Gráfico de Temperatura", 10,
     0xFF00FF},
};

Sensor sensorDe(TPanelGrafico::TMagnitudGrafico m) {
    return Sensor(int(m) - 1);
}

QString nombreMagnitud(int m) {
    return LookupText(QLatin1String(Magnitudes[m].claveNombre),
                      QString::fromUtf8(Magnitudes[m].nombre));
}
} // namespace

TColor TPanelGrafico::ColorMagnitud(TMagnitudGrafico m) {
    return Magnitudes[int(m)].color;
}

// ------------------------------------------------------------------ right-hand graph

void TPanelGrafico::crearListaGrafico() {
    if (cbGraficoDerecho)
        return;
    cbGraficoDerecho = new QComboBox(pnlAuxVelocidad);
    cbGraficoDerecho->setObjectName(QStringLiteral("cbGraficoDerecho"));
    // Its items follow the track and come from the run-time texts.
    cbGraficoDerecho->setProperty("SinTraduccion", true);
    cbGraficoDerecho->setFocusPolicy(Qt::NoFocus);
    cbGraficoDerecho->setToolTip(
        LookupText(QStringLiteral("_STR_MAG_ELEGIR"), QStringLiteral("Qué muestra este gráfico")));
    cbGraficoDerecho->hide();
    pnlAuxVelocidad->installEventFilter(this);
    connect(cbGraficoDerecho, qOverload<int>(&QComboBox::activated), this, [this](int fila) {
        const int m = cbGraficoDerecho->itemData(fila).toInt();
        ejecutar([this, m] { ElegirMagnitudGrafico(TMagnitudGrafico(m)); });
    });
}

// The list sits at the right end of the graph's title row.
void TPanelGrafico::colocarListaGrafico() {
    if (!cbGraficoDerecho)
        return;
    const QSize h = cbGraficoDerecho->sizeHint();
    const int alto = std::min(h.height(), 22);
    cbGraficoDerecho->setGeometry(pnlAuxVelocidad->width() - h.width() - 4, 0, h.width(), alto);
    cbGraficoDerecho->raise();
}

void TPanelGrafico::llenarListaGrafico() {
    const TSensoresPuntos* sensores = !pList.empty() && Sensores ? Sensores() : nullptr;
    cbGraficoDerecho->clear();
    cbGraficoDerecho->addItem(nombreMagnitud(mgVelocidad), int(mgVelocidad));
    for (int m = mgPulso; m <= mgTemperatura; ++m)
        if (sensores && sensores->Tiene(sensorDe(TMagnitudGrafico(m))))
            cbGraficoDerecho->addItem(nombreMagnitud(m), m);
    // A quantity the new track lacks gives way to speed.
    if (cbGraficoDerecho->findData(int(FMagnitud)) < 0)
        FMagnitud = mgVelocidad;
    cbGraficoDerecho->setCurrentIndex(cbGraficoDerecho->findData(int(FMagnitud)));
    cbGraficoDerecho->setVisible(cbGraficoDerecho->count() > 1);
    auto* l = qobject_cast<QVBoxLayout*>(pnlAuxVelocidad->layout());
    if (l)
        l->setContentsMargins(2, cbGraficoDerecho->isVisible() ? 10 : 2, 2, 2);
    colocarListaGrafico();

    FValoresGrafico.clear();
    FMaximoGrafico = 0;
    if (FMagnitud != mgVelocidad) {
        // A point without a value keeps the one before (the first ones the first value).
        const Sensor s = sensorDe(FMagnitud);
        const int n = int(pList.size());
        FValoresGrafico.assign(size_t(n), std::nan(""));
        double ultimo = std::nan("");
        for (int i = 0; i < n; ++i) {
            if (sensores->TieneValor(i, s))
                ultimo = sensores->Valor(i, s);
            FValoresGrafico[size_t(i)] = ultimo;
        }
        double primero = std::nan("");
        for (double v : FValoresGrafico)
            if (!std::isnan(v)) {
                primero = v;
                break;
            }
        bool alguno = false;
        for (double& v : FValoresGrafico) {
            if (std::isnan(v))
                v = primero;
            FMaximoGrafico = alguno ? std::max(FMaximoGrafico, v) : v;
            alguno = true;
        }
    }
    // The title says what is drawn; speed keeps the page's own title.
    if (FMagnitud == mgVelocidad) {
        if (!FTituloVelocidad.isEmpty())
            pnlAuxVelocidad->setTitle(FTituloVelocidad);
        FTituloVelocidad.clear();
    } else {
        if (FTituloVelocidad.isEmpty())
            FTituloVelocidad = pnlAuxVelocidad->title();
        const TMagnitud& m = Magnitudes[int(FMagnitud)];
        pnlAuxVelocidad->setTitle(
            LookupText(QLatin1String(m.claveTitulo), QString::fromUtf8(m.titulo)));
    }
}

int TPanelGrafico::yGrafico(int i, bool altura) const {
    const TTablaMedidas& tabla = *tablaRuta();
    if (altura)
        return YAltura(AlturaMaxima, tabla.Elevacion(i));
    if (FMagnitud == mgVelocidad || size_t(i) >= FValoresGrafico.size())
        return YVelocidad(VelocidadMaxima, tabla.VelocidadInstant(i));
    return int(Magnitudes[int(FMagnitud)].unidadesPorValor *
               (FMaximoGrafico - FValoresGrafico[size_t(i)])) +
           10;
}

void TPanelGrafico::ElegirMagnitudGrafico(TMagnitudGrafico m) {
    if (pList.empty() || m == FMagnitud)
        return;
    FMagnitud = m;
    const int marcado = FMarcado;
    // Built again as the load builds it, on a cleared canvas at 100 %.
    sgVelocidad->Clear();
    sgVelocidad->SetZoom(100);
    CrearGraficoVelocidad();
    AjustarGraficoAncho(sgVelocidad);
    if (marcado >= 0)
        MarcarPunto(marcado);
    else if (sgVelocidad->ObjectCount() > 1 && sgAltura->ObjectCount() > 1)
        sgVelocidad->Object(1)->SetVisible(sgAltura->Object(1)->Visible());
    resaltarTramo();
}
