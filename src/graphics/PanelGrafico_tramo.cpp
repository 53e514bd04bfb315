// Choosing a stretch of the track: click a point on the plan view or a graph and
// shift-click another, or drag across a graph. The stretch is highlighted on the three
// canvases and its figures fill the stretch panel; Escape, a click away from the track
// or closing the track forgets it.
#include "Figuras.h"
#include "Numeros.h"
#include "PanelGrafico.h"
#include "Verbario.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace {
// How far from a point a click still takes it, in pixels.
constexpr int kAlcanceClicPx = 8;
// A press that moves less than this before it is released is a click.
constexpr int kMovimientoClicPx = 4;

// Opaque: a see-through wide line costs much more to draw where the track crosses itself.
const QColor kResalteRuta(0, 150, 255);
const QColor kBandaGrafico(80, 160, 255, 80);
} // namespace

QWidget* TPanelGrafico::crearPanelTramo() {
    pnlTramo = new QGroupBox(QStringLiteral("Tramo seleccionado"), this);
    pnlTramo->setObjectName(QStringLiteral("pnlTramo"));
    pnlTramo->setToolTip(
        QStringLiteral("Pulse Esc o haga clic fuera de la ruta para quitar el tramo"));
    auto* g = new QGridLayout(pnlTramo);
    g->setVerticalSpacing(3);
    lblTramoPuntos = new QLabel(pnlTramo);
    lblTramoPuntos->setObjectName(QStringLiteral("lblTramoPuntos"));
    lblTramoPuntos->setProperty("SinTraduccion", true);
    QFont negrita = lblTramoPuntos->font();
    negrita.setBold(true);
    lblTramoPuntos->setFont(negrita);
    g->addWidget(lblTramoPuntos, 0, 0, 1, 2);
    struct Fila {
        QLabel** valor;
        const char* nombre;
        QString titulo;
    };
    const Fila filas[] = {
        {&lblTramoDistancia, "Distancia", QStringLiteral("Distancia:")},
        {&lblTramoTiempo, "Tiempo", QStringLiteral("Tiempo:")},
        {&lblTramoMovimiento, "Movimiento", QStringLiteral("En movimiento:")},
        {&lblTramoDesnivel, "Desnivel", QStringLiteral("Ascenso / descenso:")},
        {&lblTramoDesnivelFiltrado, "DesnivelFiltrado", QStringLiteral("Filtrado:")},
        {&lblTramoVelocidad, "Velocidad", QStringLiteral("Velocidad media:")},
        {&lblTramoPendienteMedia, "PendienteMedia", QStringLiteral("Pendiente media:")},
        {&lblTramoPendienteMaxima, "PendienteMaxima", QStringLiteral("Pendiente máx. (100 m):")},
    };
    int fila = 1;
    for (const Fila& f : filas) {
        auto* titulo = new QLabel(f.titulo, pnlTramo);
        titulo->setObjectName(QStringLiteral("lblTramoTit") + QLatin1String(f.nombre));
        auto* valor = new QLabel(pnlTramo);
        valor->setObjectName(QStringLiteral("lblTramo") + QLatin1String(f.nombre));
        valor->setProperty("SinTraduccion", true);
        valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *f.valor = valor;
        g->addWidget(titulo, fila, 0);
        g->addWidget(valor, fila, 1);
        ++fila;
    }
    g->setColumnStretch(1, 1);
    // The page keeps the panel's room whether or not a stretch is chosen: were the column
    // to widen when it shows, the graphs would spread again under a drag across them.
    lblTramoPuntos->setText(QStringLiteral("Puntos 000000 a 000000"));
    lblTramoDesnivel->setText(QStringLiteral("+00,000.0 / -00,000.0 m"));
    pnlTramo->setMinimumWidth(pnlTramo->sizeHint().width());
    lblTramoPuntos->clear();
    lblTramoDesnivel->clear();
    QSizePolicy politica = pnlTramo->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    pnlTramo->setSizePolicy(politica);
    pnlTramo->hide();
    return pnlTramo;
}

int TPanelGrafico::PuntoEnPlano(const QPoint& clientPos) const {
    if (!liRuta)
        return -1;
    const auto& pts = liRuta->Points();
    const int n = int(std::min(pts.size(), pList.size()));
    // The point marks are drawn at the line's width around each point.
    const double alcance = std::max<double>(kAlcanceClicPx, anchoLinea() * sgTrack->Zoom() / 100.0);
    double mejor = alcance * alcance;
    int cual = -1;
    // On a loop the first point wins where the track passes twice (its start and end).
    for (int i = 0; i < n; ++i) {
        const QPointF d = sgTrack->GraphToClient(pts[size_t(i)]) - QPointF(clientPos);
        const double d2 = d.x() * d.x() + d.y() * d.y();
        if (d2 < mejor || (cual < 0 && d2 <= mejor)) {
            mejor = d2;
            cual = i;
        }
    }
    return cual;
}

int TPanelGrafico::PuntoEnGrafico(TSimpleGraph* grafico, int clientX, bool alBorde) const {
    if (!grafico || grafico->ObjectCount() == 0)
        return -1;
    auto* linea = dynamic_cast<TGraphLink*>(grafico->Object(0));
    if (!linea || linea->PointCount() == 0)
        return -1;
    const auto& pts = linea->Points();
    const double escala = grafico->Zoom() / 100.0;
    const double x = grafico->ClientToGraph(QPointF(clientX, 0)).x();
    const double margen = kAlcanceClicPx / escala;
    if (!alBorde && (x < pts.front().x() - margen || x > pts.back().x() + margen))
        return -1;
    // The x of the points grow with their number.
    auto it = std::lower_bound(pts.begin(), pts.end(), x,
                               [](const QPoint& p, double v) { return p.x() < v; });
    int i = int(it - pts.begin());
    if (i == int(pts.size()) || (i > 0 && x - pts[size_t(i - 1)].x() < pts[size_t(i)].x() - x))
        --i;
    return std::min(i, int(pList.size()) - 1);
}

void TPanelGrafico::ElegirTramo(int a, int b) {
    const int n = int(pList.size());
    if (n == 0 || !Figuras)
        return;
    a = std::clamp(a, 0, n - 1);
    b = std::clamp(b, 0, n - 1);
    if (a == b)
        return;
    FTramoDesde = std::min(a, b);
    FTramoHasta = std::max(a, b);
    mostrarTramo();
    resaltarTramo();
}

void TPanelGrafico::QuitarTramo() {
    FTramoDesde = FTramoHasta = -1;
    FAncla = -1;
    FArrastreDesde = -1;
    FArrastrando = false;
    pnlTramo->hide();
    resaltarTramo();
}

void TPanelGrafico::mostrarTramo() {
    const auto figuras = Figuras ? Figuras() : nullptr;
    if (!figuras || FTramoDesde < 0 || FTramoHasta >= figuras->Puntos())
        return;
    const TFigurasTramo f = figuras->Tramo(FTramoDesde, FTramoHasta);
    const QString mil = Locale.groupSeparator(), dec = Locale.decimalPoint();
    auto patron = [&](double v, const QString& p) {
        return std::isfinite(v) ? FormatoPatron(v, p, mil, dec) : QString();
    };
    auto desnivel = [&](double subida, double bajada) {
        auto conSigno = [&](QChar signo, double v) {
            const QString t = patron(v, QStringLiteral("#,##0.0"));
            return v > 0 && t != patron(0, QStringLiteral("#,##0.0")) ? signo + t : t;
        };
        return QStringLiteral("%1 / %2 m")
            .arg(conSigno(QLatin1Char('+'), subida), conSigno(QLatin1Char('-'), bajada));
    };
    // The two numbers in turn: a translation may put other words between them.
    lblTramoPuntos->setText(
        LookupTextCon(QStringLiteral("_STR_TRAMO_PUNTOS"), QStringLiteral("Puntos %s a %s"),
                      {QString::number(FTramoDesde + 1), QString::number(FTramoHasta + 1)}));
    lblTramoDistancia->setText(patron(f.DistanciaM / 1000, QStringLiteral("#,##0.00 km")));
    lblTramoTiempo->setText(TextoDuracion(f.DuracionS));
    lblTramoMovimiento->setText(TextoDuracion(f.MovimientoS));
    lblTramoDesnivel->setText(desnivel(f.AscensoM, f.DescensoM));
    lblTramoDesnivelFiltrado->setText(desnivel(f.AscensoFiltradoM, f.DescensoFiltradoM));
    lblTramoVelocidad->setText(patron(f.VelocidadMediaKmh, QStringLiteral("#,#0.0 km/h")));
    lblTramoPendienteMedia->setText(patron(f.PendienteMediaPct, QStringLiteral("#,#0.0 %")));
    lblTramoPendienteMaxima->setText(patron(f.PendienteMaximaPct, QStringLiteral("#,#0.0 %")));
    pnlTramo->show();
}

// One mark per canvas over the stretch's part of its line, whatever the canvas holds.
void TPanelGrafico::resaltarTramo() {
    if (FTramoDesde < 0) {
        for (TSimpleGraph* g : {sgTrack, sgAltura, sgVelocidad})
            g->QuitarResalte();
        return;
    }
    TResalte ruta;
    if (liRuta && FTramoHasta < liRuta->PointCount())
        ruta.Puntos.assign(liRuta->Points().begin() + FTramoDesde,
                           liRuta->Points().begin() + FTramoHasta + 1);
    ruta.Color = kResalteRuta;
    ruta.AnchoPx = 5;
    sgTrack->SetResalte(std::move(ruta));
    // The graphs shade the stretch behind their line, so that the line and the marker
    // keep showing; the band needs only the stretch's ends.
    for (TSimpleGraph* g : {sgAltura, sgVelocidad}) {
        TResalte r;
        auto* linea = g->ObjectCount() > 0 ? dynamic_cast<TGraphLink*>(g->Object(0)) : nullptr;
        if (linea && FTramoHasta < linea->PointCount())
            r.Puntos = {linea->Point(FTramoDesde), linea->Point(FTramoHasta)};
        r.ColorBanda = kBandaGrafico;
        g->SetResalte(std::move(r));
    }
}

void TPanelGrafico::marcarDesdeClic(int i, Qt::KeyboardModifiers mods) {
    if (i < 0 || size_t(i) >= pList.size())
        return;
    if ((mods & Qt::ShiftModifier) && FAncla >= 0 && FAncla != i) {
        const int ancla = FAncla;
        ElegirTramo(ancla, i);
        FAncla = ancla; // further shift-clicks move the other end
        return;
    }
    QuitarTramo();
    FAncla = i;
    // The clicked point is inspected as when the pointer comes over it.
    if (!pnlAnimacion->EstaAnimando)
        sgTrackObjectMouseEnter(nullptr, pList[size_t(i)]);
}

void TPanelGrafico::clicEnPlano(const QPoint& pos, Qt::KeyboardModifiers mods) {
    const int i = PuntoEnPlano(pos);
    if (i < 0)
        QuitarTramo();
    else
        marcarDesdeClic(i, mods);
}

bool TPanelGrafico::ratonEnGrafico(TSimpleGraph* grafico, QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    auto* m = static_cast<QMouseEvent*>(e);
    const QPoint pos = m->position().toPoint();
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        if (m->button() != Qt::LeftButton)
            return false;
        // Escape reaches the page through the plan view.
        sgTrack->setFocus(Qt::MouseFocusReason);
        const int i = PuntoEnGrafico(grafico, pos.x());
        FArrastreDesde = -1;
        FArrastrando = false;
        if (i < 0) {
            QuitarTramo();
        } else if ((m->modifiers() & Qt::ShiftModifier) && FAncla >= 0) {
            marcarDesdeClic(i, m->modifiers());
        } else {
            FArrastreDesde = i;
            FArrastreInicio = pos;
            FRelojArrastre.invalidate();
            FCosteArrastreMs = 0;
        }
        return true;
    }
    case QEvent::MouseMove: {
        if (!(m->buttons() & Qt::LeftButton) || FArrastreDesde < 0)
            return false;
        if (!FArrastrando && std::abs(pos.x() - FArrastreInicio.x()) < kMovimientoClicPx)
            return true;
        FArrastrando = true;
        // On a long track a stretch takes a while to work out: while the button is down the
        // page follows the pointer at most half of the time, and the release always settles it.
        if (FRelojArrastre.isValid() && FRelojArrastre.elapsed() < FCosteArrastreMs)
            return true;
        FRelojArrastre.start();
        const int desde = FArrastreDesde;
        ElegirTramo(desde, PuntoEnGrafico(grafico, pos.x(), true));
        FArrastreDesde = desde;
        FCosteArrastreMs = FRelojArrastre.elapsed();
        FRelojArrastre.start();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (m->button() != Qt::LeftButton)
            return false;
        const int desde = FArrastreDesde;
        if (desde < 0)
            return true;
        if (FArrastrando) {
            ElegirTramo(desde, PuntoEnGrafico(grafico, pos.x(), true));
            FAncla = desde;
        } else {
            marcarDesdeClic(desde, Qt::NoModifier);
        }
        FArrastreDesde = -1;
        FArrastrando = false;
        return true;
    }
    case QEvent::MouseButtonDblClick:
        return m->button() == Qt::LeftButton;
    default:
        return false;
    }
}

bool TPanelGrafico::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pnlAuxVelocidad) {
        if (e->type() == QEvent::Resize)
            colocarListaGrafico();
        return false;
    }
    if (watched == sgTrack->viewport()) {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() != Qt::LeftButton)
                return false;
            const QPoint pos = m->position().toPoint();
            if (e->type() == QEvent::MouseButtonPress) {
                FPulsacion = pos;
                FPulsado = true;
            } else if (FPulsado) {
                FPulsado = false;
                if ((pos - FPulsacion).manhattanLength() < kMovimientoClicPx) {
                    const Qt::KeyboardModifiers mods = m->modifiers();
                    ejecutar([this, pos, mods] { clicEnPlano(pos, mods); });
                }
            }
        }
        return false; // the canvas goes on with its own use of the mouse
    }
    for (TSimpleGraph* g : {sgAltura, sgVelocidad})
        if (watched == g->viewport()) {
            bool tomado = false;
            ejecutar([&] { tomado = ratonEnGrafico(g, e); });
            return tomado;
        }
    return QWidget::eventFilter(watched, e);
}

void TPanelGrafico::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && (FTramoDesde >= 0 || FAncla >= 0)) {
        QuitarTramo();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}
