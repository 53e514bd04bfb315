// Plan view speed on a large track: build plus first paint, one repaint at the fitted
// zoom (lines only, lines and points), and the pointer lookup of one mouse move.
//
// usage: graphics-bench TRACK.gpx [MAPPING_FOLDER]
#include "FormData.h"
#include "Log.h"
#include "Medidas.h"
#include "PanelGrafico.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

void fila(const char* que, double medido, const char* objetivo) {
    std::printf("  %-52s %10.2f ms   %s\n", que, medido, objetivo);
}

double repintado(TSimpleGraph* g, int veces) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < veces; ++i)
        (void)g->viewport()->grab();
    return ms(t) / veces;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: graphics-bench TRACK.gpx [MAPPING_FOLDER]\n");
        return 2;
    }
    TLog log;
    TFormData data(&log);
    data.XMLDataFile = QString::fromLocal8Bit(argv[1]);
    if (argc > 2)
        data.CarpetaMapeo = QString::fromLocal8Bit(argv[2]);
    QString fallo;
    data.MostrarError = [&](const QString& s) { fallo = s; };
    QElapsedTimer t;
    t.start();
    data.OpenData();
    const double lectura = ms(t);
    if (!data.cdsTrack.Active()) {
        std::fprintf(stderr, "cannot read the track: %s\n", qPrintable(fallo));
        return 1;
    }

    t.start();
    const TResultadoMedidas medidas = CalcularMedidasRuta(data.cdsPoints);
    const double pasadaMedidas = ms(t);

    TPanelGrafico panel;
    panel.resize(1000, 700);
    panel.show();
    QCoreApplication::processEvents();

    t.start();
    panel.CrearGraficoRuta(data.cdsPoints);
    const double construccion = ms(t);
    (void)panel.sgTrack->viewport()->grab();
    const double conPintado = ms(t);
    t.start();
    panel.CrearGraficoAltura();
    panel.CrearGraficoVelocidad();
    panel.AjustarGraficos();
    const double graficos = ms(t);

    const double soloLineas = repintado(panel.sgTrack, 10);
    panel.ActionVerConPuntosExecute();
    const double lineasYPuntos = repintado(panel.sgTrack, 10);
    panel.ActionVerConLineasExecute();
    const double soloPuntos = repintado(panel.sgTrack, 10);

    // Pointer moves over the route's own points, as a user hovering it would.
    std::vector<QPoint> posiciones;
    QRandomGenerator rnd(1652);
    for (int i = 0; i < 2000; ++i) {
        const TTrackNode* n = panel.pList[size_t(rnd.bounded(int(panel.pList.size())))];
        posiciones.push_back(panel.sgTrack->GraphToClient(n->Center).toPoint());
    }
    t.start();
    panel.sgTrack->SeguirPuntero(posiciones[0]);
    const double primerMovimiento = ms(t);
    t.start();
    for (const QPoint& p : posiciones)
        panel.sgTrack->SeguirPuntero(p);
    const double movimiento = ms(t) / double(posiciones.size());

    // Wheel notches over the middle of the view, in and out in turn: five zoom steps
    // of one percent, each repainted at once, as the user sees them.
    const QPoint medio =
        panel.sgTrack->viewport()->mapToGlobal(panel.sgTrack->viewport()->rect().center());
    t.start();
    for (int i = 0; i < 10; ++i) {
        bool hecho = false;
        panel.sgTrackMouseWheel(medio, &hecho, i % 2 ? -1 : +1);
    }
    const double rueda = ms(t) / 10;
    panel.ActionCentrarExecute();

    // One animation tick, the timer driven by hand.
    panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    panel.pnlAnimacion->ActionPLayAnimExecute();
    t.start();
    for (int i = 0; i < 200; ++i)
        panel.pnlAnimacion->TimerAnimTimer();
    const double tick = ms(t) / 200;
    panel.pnlAnimacion->ActionStopAnimExecute();

    std::printf(
        "Plan view benchmark: %d points, canvas %d x %d px, fitted zoom %d %%, line width %d\n",
        data.cdsPoints.RecordCount(), panel.sgTrack->ClientWidth(), panel.sgTrack->ClientHeight(),
        panel.sgTrack->Zoom(), panel.seAnchoLinea->value());
    std::printf("  %-52s %10s      %s\n", "measure", "measured", "target");
    fila("reading the GPX (for reference)", lectura, "-");
    fila("measure pass alone (CalcularMedidasRuta, reference)", pasadaMedidas, "-");
    fila("plan view build (CrearGraficoRuta)", construccion, "-");
    fila("plan view build + first paint", conPintado, "< 1500 ms");
    fila("altitude + speed graphs build and spread", graficos, "-");
    fila("repaint at fitted zoom, lines only", soloLineas, "< 100 ms");
    fila("repaint at fitted zoom, lines and points", lineasYPuntos, "< 100 ms");
    fila("repaint at fitted zoom, points only", soloPuntos, "-");
    fila("pointer lookup, first move (builds the index)", primerMovimiento, "-");
    fila("pointer lookup, one mouse move (mean of 2000)", movimiento, "< 2 ms");
    fila("wheel notch, 5 zoom steps repainted (mean of 10)", rueda, "-");
    fila("animation tick (mean of 200)", tick, "-");
    return 0;
}
