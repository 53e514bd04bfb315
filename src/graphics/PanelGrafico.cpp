#include "PanelGrafico.h"

#include "Log.h"
#include "SenderalError.h"
#include "TablaMedidas.h"
#include "TrackStores.h"
#include "Trazado.h"
#include "Verbario.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
QString textoMetros() {
    return LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros"));
}

// A fitted zoom made smaller by a tenth (a twentieth...): in whole percent, dropping the
// fraction of the cut, except for a graph only a fractional zoom shows whole.
double reducirZoom(double zoom, int divisor) {
    if (zoom < TSimpleGraph::ZoomMin)
        return zoom - zoom / divisor;
    return zoom - int(zoom) / divisor;
}
} // namespace

TPanelGrafico::TPanelGrafico(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tsGraficoRuta"));
    crearPagina();
    UsarAnchoLinea(nullptr);
}

TPanelGrafico::~TPanelGrafico() {
    // The line width box may live in the ribbon; a box of our own has no parent.
    if (seAnchoLinea && !seAnchoLinea->parent())
        delete seAnchoLinea;
}

void TPanelGrafico::crearPagina() {
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(2);

    pnlTitulo = new QLabel(this);
    pnlTitulo->setObjectName(QStringLiteral("pnlTitulo"));
    pnlTitulo->setAutoFillBackground(true);
    pnlTitulo->setStyleSheet(QStringLiteral("QLabel#pnlTitulo { background: #3a5f8f; color: white; "
                                            "font-weight: bold; padding: 3px; }"));
    raiz->addWidget(pnlTitulo);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->setSpacing(4);
    raiz->addLayout(cuerpo, 1);

    // The point and stretch panels scroll when the window is too short for all their rows,
    // rather than squeezing the rows over one another.
    auto* paneles = new QWidget(this);
    auto* columna = new QVBoxLayout(paneles);
    columna->setContentsMargins(0, 0, 0, 0);
    pnlGraficoDatos = new TPanelPunto(this);
    columna->addWidget(pnlGraficoDatos);
    columna->addWidget(crearPanelTramo());
    columna->addStretch(1);
    auto* desplazable = new QScrollArea(this);
    desplazable->setObjectName(QStringLiteral("sbPanelesPunto"));
    desplazable->setFrameShape(QFrame::NoFrame);
    desplazable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    desplazable->setWidgetResizable(true);
    desplazable->setWidget(paneles);
    desplazable->setMinimumWidth(paneles->minimumSizeHint().width() +
                                 desplazable->verticalScrollBar()->sizeHint().width());
    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(desplazable, 1);
    pnlAnimacion = new TAnimacionRuta(*this, this);
    izquierda->addWidget(pnlAnimacion);
    cuerpo->addLayout(izquierda);

    auto* derecha = new QVBoxLayout;
    derecha->setSpacing(2);
    sgTrack = new TSimpleGraph(this);
    sgTrack->setObjectName(QStringLiteral("sgTrack"));
    sgTrack->SetColor(clWhite);
    derecha->addWidget(sgTrack, 1);

    pnlGraficosAux = new QWidget(this);
    pnlGraficosAux->setObjectName(QStringLiteral("pnlGraficosAux"));
    pnlGraficosAux->setFixedHeight(140);
    auto* tira = new QHBoxLayout(pnlGraficosAux);
    tira->setContentsMargins(0, 0, 0, 0);
    auto crearAux = [this, tira](QGroupBox*& caja, TSimpleGraph*& canvas, const char* nombre,
                                 const char* nombreCanvas, const QString& titulo) {
        caja = new QGroupBox(titulo, pnlGraficosAux);
        caja->setObjectName(QLatin1String(nombre));
        auto* l = new QVBoxLayout(caja);
        l->setContentsMargins(2, 2, 2, 2);
        canvas = new TSimpleGraph(caja);
        canvas->setObjectName(QLatin1String(nombreCanvas));
        canvas->SetColor(clBtnText);
        canvas->SetScrollBarsAllowed(false);
        canvas->setFocusPolicy(Qt::NoFocus);
        l->addWidget(canvas);
        // Half the strip each: the altitude panel takes the integer half.
        tira->addWidget(caja, 1);
    };
    crearAux(pnlAuxAltura, sgAltura, "pnlAuxAltura", "sgAltura",
             QStringLiteral("Gráfico de Altura"));
    crearAux(pnlAuxVelocidad, sgVelocidad, "pnlAuxVelocidad", "sgVelocidad",
             QStringLiteral("Gráfico de Velocidad"));
    crearListaGrafico();
    derecha->addWidget(pnlGraficosAux);
    cuerpo->addLayout(derecha, 1);

    // Clicks choose points and stretches: on the plan view alongside its own use of the
    // mouse, on the graphs instead of it.
    for (TSimpleGraph* g : {sgTrack, sgAltura, sgVelocidad})
        g->viewport()->installEventFilter(this);

    connect(sgTrack, &TSimpleGraph::ObjectMouseEnter, this,
            [this](TSimpleGraph* c, TGraphObject* o) {
                ejecutar([=] { sgTrackObjectMouseEnter(c, o); });
            });
    connect(sgTrack, &TSimpleGraph::ObjectMouseLeave, this,
            [this](TSimpleGraph* c, TGraphObject* o) { sgTrackObjectMouseLeave(c, o); });
    connect(sgTrack, &TSimpleGraph::Exit, this, [this] { ejecutar([this] { sgTrackExit(); }); });
    connect(sgTrack, &TSimpleGraph::DblClick, this,
            [this] { ejecutar([this] { sgTrackDblClick(); }); });
    connect(sgTrack, &TSimpleGraph::MouseWheelDown, this,
            [this](const QPoint& p, bool* h) { ejecutar([=] { sgTrackMouseWheel(p, h, -1); }); });
    connect(sgTrack, &TSimpleGraph::MouseWheelUp, this,
            [this](const QPoint& p, bool* h) { ejecutar([=] { sgTrackMouseWheel(p, h, +1); }); });
    // The graphs follow their panels' width on every resize.
    for (TSimpleGraph* g : {sgTrack, sgAltura, sgVelocidad})
        connect(g, &TSimpleGraph::Redimensionado, this,
                [this, g] { ejecutar([this, g] { alRedimensionar(g); }); });
}

void TPanelGrafico::SetTitulo(const QString& texto) {
    pnlTitulo->setText(texto);
}

QString TPanelGrafico::Titulo() const {
    return pnlTitulo->text();
}

void TPanelGrafico::HabilitarAnimacion(bool enabled) {
    pnlAnimacion->sbAnimacion->setEnabled(enabled);
    pnlAnimacion->sbVElocidad->setEnabled(enabled);
}

int TPanelGrafico::VelocidadAnimacion() const {
    return pnlAnimacion->sbVElocidad->value();
}

void TPanelGrafico::PonerVelocidadAnimacion(int posicion) {
    pnlAnimacion->sbVElocidad->setValue(posicion);
}

int TPanelGrafico::IntervaloAnimacion() const {
    return pnlAnimacion->TimerAnim->interval();
}

void TPanelGrafico::PonerIntervaloAnimacion(int ms) {
    pnlAnimacion->TimerAnim->setInterval(ms);
}

void TPanelGrafico::PintarFondo(const QColor& color) {
    for (QWidget* w : {static_cast<QWidget*>(pnlTitulo), static_cast<QWidget*>(pnlGraficoDatos),
                       pnlGraficosAux, static_cast<QWidget*>(pnlAnimacion)}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, color);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}

void TPanelGrafico::UsarAnchoLinea(QSpinBox* box) {
    if (seAnchoLinea) {
        disconnect(seAnchoLinea, nullptr, this, nullptr);
        if (!seAnchoLinea->parent())
            delete seAnchoLinea;
    }
    seAnchoLinea = box ? box : new QSpinBox;
    seAnchoLinea->setObjectName(QStringLiteral("seAnchoLinea"));
    seAnchoLinea->setRange(1, 10);
    seAnchoLinea->setToolTip(QStringLiteral("Ancho de línea"));
    connect(seAnchoLinea, &QSpinBox::valueChanged, this,
            [this] { ejecutar([this] { seAnchoLineaChange(); }); });
}

void TPanelGrafico::EnlazarAcciones(const TAccionesGrafico& a) {
    FAcciones = a;
    auto enlazar = [this](QAction* act, void (TPanelGrafico::*handler)()) {
        if (act)
            connect(act, &QAction::triggered, this,
                    [this, handler] { ejecutar([this, handler] { (this->*handler)(); }); });
    };
    enlazar(a.ZoomIn, &TPanelGrafico::actZoomInExecute);
    enlazar(a.ZoomOut, &TPanelGrafico::actZoomOutExecute);
    enlazar(a.CentrarGraficoRuta, &TPanelGrafico::ActionCentrarExecute);
    enlazar(a.VerGrid, &TPanelGrafico::actVerGridExecute);
    enlazar(a.GraficoEdicion, &TPanelGrafico::ActionEditModeExecute);
    enlazar(a.GraficoMover, &TPanelGrafico::ActionGraficoMoverExecute);
    enlazar(a.VerConPuntos, &TPanelGrafico::ActionVerConPuntosExecute);
    enlazar(a.VerConLineas, &TPanelGrafico::ActionVerConLineasExecute);
    enlazar(a.ImprimirRuta, &TPanelGrafico::ActionImprimirRutaExecute);
    enlazar(a.ExporGraficotBMP, &TPanelGrafico::ActionExporGraficotBMPExecute);
    if (a.VerGrid)
        a.VerGrid->setCheckable(true);
    for (QAction* act : {a.VerConPuntos, a.VerConLineas})
        if (act)
            act->setCheckable(true);
    pnlAnimacion->EnlazarAcciones(a.PLayAnim, a.PauseAnim, a.StopAnim);
    sincronizarChecks();
}

void TPanelGrafico::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Once shown at its size, the page's fit is settled: later resizes keep the user's view.
    // A build made while the page was hidden fits again now, at the size it really has
    // (the resize that would do it may come before the page counts as shown).
    QTimer::singleShot(0, this, [this] {
        asegurarGeometria();
        if (FAjustePendienteRuta && liRuta && sgTrack->isVisible())
            ActionCentrarExecute();
        FAjustePendienteRuta = FAjustePendienteAltura = FAjustePendienteVelocidad = false;
    });
}

void TPanelGrafico::ejecutar(const std::function<void()>& handler) {
    if (Proteger)
        Proteger(handler);
    else
        handler();
}

void TPanelGrafico::sincronizarChecks() {
    if (FAcciones.VerConLineas)
        FAcciones.VerConLineas->setChecked(FTipoRuta & trLineas);
    if (FAcciones.VerConPuntos)
        FAcciones.VerConPuntos->setChecked(FTipoRuta & trPuntos);
    if (FAcciones.VerGrid)
        FAcciones.VerGrid->setChecked(sgTrack->ShowGrid());
}

// A page that is not on screen is not laid out again when the window changes size; the
// build fits the canvases to their client areas, so those must be current.
void TPanelGrafico::asegurarGeometria() {
    if (layout())
        layout()->activate();
    for (QWidget* w : findChildren<QWidget*>())
        if (w->layout())
            w->layout()->activate();
}

int TPanelGrafico::anchoLinea() const {
    return seAnchoLinea->value();
}

// ------------------------------------------------------------------ plan view

void TPanelGrafico::dejarPasarEventos(int hechos, int total) {
    // The bar and the window are kept alive without giving the event loop every point:
    // on a track of hundreds of thousands of points that alone would cost seconds.
    static QElapsedTimer reloj;
    if (reloj.isValid() && reloj.elapsed() < 40 && hechos != total)
        return;
    reloj.start();
    if (pbarMain)
        pbarMain->setValue(hechos);
    // Keyboard and mouse wait until the build is over: a command run in the middle of it
    // (opening another track, closing this one) would pull the nodes from under it.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TPanelGrafico::CrearGraficoRuta(const TTrackPointStore& points) {
    CrearGraficoRuta(TTablaMedidas::Calcular(points));
}

void TPanelGrafico::CrearGraficoRuta(std::shared_ptr<const TTablaMedidas> medidas) {
    if (FConstruyendo)
        throw ESenderalError(
            LookupText(QStringLiteral("_STR_MI_GRAPHBUSY"),
                       QStringLiteral("Ya se está construyendo el gráfico de la ruta.")));
    FConstruyendo = true;
    const auto fin = qScopeGuard([this] { FConstruyendo = false; });

    const TTablaMedidas& tabla = *medidas;
    FMedidas.push_back(std::move(medidas));
    const int n = tabla.Puntos();
    asegurarGeometria();
    sgTrack->SetShowGrid(FAcciones.VerGrid ? FAcciones.VerGrid->isChecked() : sgTrack->ShowGrid());
    sgTrack->SetMinNodeSize(2);
    {
        sgTrack->BeginUpdate();
        // The canvas update ends whatever way the build leaves.
        const auto finUpdate = qScopeGuard([this] { sgTrack->EndUpdate(); });

        liRuta = sgTrack->Crear<TGraphLink>();
        liRuta->SetOptions(liRuta->Options() & ~goSelectable);
        liRuta->BeginStyle = lsNone;
        liRuta->EndStyle = lsNone;
        seAnchoLinea->setValue(2);
        liRuta->SetPenWidth(anchoLinea());
        liRuta->SetPenColor(FColorLinea);
        liRuta->Reserve(n);

        if (pbarMain) {
            pbarMain->setRange(0, 2 * n);
            pbarMain->setValue(0);
        }
        TProyeccion proyeccion;
        const int conCoordenadas = tabla.PuntosConCoordenadas();
        for (int i = 0; i < conCoordenadas; ++i) {
            proyeccion.Incluir(CoordenadaEntera(tabla.Latitud(i)),
                               CoordenadaEntera(tabla.Longitud(i)));
            dejarPasarEventos(i + 1, 2 * n);
        }
        tabla.ComprobarCoordenadas();
        if (AntesDeColocarPuntos)
            AntesDeColocarPuntos();

        const bool lineas = FTipoRuta & trLineas;
        const int medidos = tabla.PuntosMedidos();
        std::vector<QPoint> centros;
        centros.reserve(size_t(medidos));
        for (int i = 0; i < medidos; ++i) {
            const QPoint pos = proyeccion.Posicion(CoordenadaEntera(tabla.Latitud(i)),
                                                   CoordenadaEntera(tabla.Longitud(i)));
            liRuta->AddPoint(pos);
            liRuta->SetVisible(lineas);
            centros.push_back(pos);
            dejarPasarEventos(n + i + 1, 2 * n);
        }
        // One object draws and answers for every point's mark; a point's node (its Tag the
        // point number, not selectable, reading its measures) is made when asked for.
        auto* marcas = sgTrack->Crear<TTrackPointMarks>();
        marcas->SetOptions(marcas->Options() & ~goSelectable);
        marcas->SetPoints(std::move(centros), &tabla);
        pList = TTrackNodeList(marcas);
        // The maxima as far as the points were measured, as when the pass ran here.
        AlturaMaxima = tabla.AlturaMaxima();
        VelocidadMaxima = tabla.VelocidadMaxima();
        tabla.ComprobarMedidas();

        // Keeps the canvas's bounds at the origin.
        auto* ancla = sgTrack->Crear<TRectangularNode>();
        ancla->SetOptions(ancla->Options() & ~goSelectable);
        ancla->SetPenStyle(psClear);
        ancla->SetBrushStyle(bsClear);
        ancla->SetBounds(0, 0, 16, 16);
        RedibujarRuta(-1, -1, -1);

        mostrarFilasSensores();
        pnlAnimacion->ColocarBarra();
        const double distancia = pList.empty() ? 0.0 : tabla.Distancia(int(pList.size()) - 1);
        TextoDistancia = QString::number(qint64(distancia)) + QLatin1Char(' ') + textoMetros();
    }

    if (AnchoLineaAuto && AnchoLineaAuto()) {
        const int v = AnchoLineaAutomatico(sgTrack->GraphBounds().width());
        seAnchoLinea->setValue(v); // the box clamps to 10 and lays the view out
    }
    RedibujarRuta(-1, -1, -1);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ActionCentrarExecute();
    FAjustePendienteRuta = !sgTrack->isVisible();
}

// The load builds the page while the data page is on screen; the size it fitted to may
// not be the one the page takes when shown, so the first real size fits once more.
void TPanelGrafico::alRedimensionar(TSimpleGraph* canvas) {
    // The size a page gets as it is shown arrives just before it counts as visible.
    const bool enPantalla = canvas->isVisibleTo(canvas->window());
    if (canvas == sgTrack) {
        if (enPantalla && FAjustePendienteRuta && liRuta) {
            FAjustePendienteRuta = false;
            ActionCentrarExecute();
        }
        return;
    }
    bool& pendiente = canvas == sgAltura ? FAjustePendienteAltura : FAjustePendienteVelocidad;
    if (enPantalla && pendiente) {
        // As the build does on a fresh canvas: spread at 100 %, then fit.
        pendiente = false;
        canvas->SetZoom(100);
        canvas->SetScrollPos(QPoint(0, 0));
        AjustarGraficoAncho(canvas);
        ajustarGrafico(canvas);
    }
    AjustarGraficoAncho(canvas);
}

// The graphs' fit: 5 % inside the whole, the zoom the same on both axes.
void TPanelGrafico::ajustarGrafico(TSimpleGraph* canvas) {
    canvas->ZoomGraph();
    canvas->SetZoomExacto(reducirZoom(canvas->ZoomExacto(), 20));
}

void TPanelGrafico::RedibujarRuta(int ancho, qint64 colorLinea, qint64 /*colorFondo*/) {
    if (!liRuta)
        return;
    const int w = ancho == -1 ? anchoLinea() : ancho;
    const TColor color = colorLinea == -1 ? FColorLinea : TColor(colorLinea);
    const bool puntos = FTipoRuta & trPuntos;
    sgTrack->BeginUpdate();
    const auto fin = qScopeGuard([this] { sgTrack->EndUpdate(); });
    liRuta->SetVisible(FTipoRuta & trLineas);
    liRuta->SetPenWidth(w);
    liRuta->SetPenColor(pnlAnimacion->Reproduciendo() ? clSilver : color);
    liRuta->BeginStyle = lsNone;
    liRuta->EndStyle = lsNone;
    liRuta->SetOptions(liRuta->Options() & ~goSelectable);
    // Every mark: 2w across around its point, navy, no pen, filled only when the points
    // are shown (a clear mark still answers the pointer), in point order on top.
    if (TTrackPointMarks* marcas = pList.Marks()) {
        TGraphPen pluma;
        pluma.Color = clNavy;
        pluma.Width = 1;
        pluma.Style = psClear;
        TGraphBrush relleno;
        relleno.Color = clNavy;
        relleno.Style = puntos ? bsSolid : bsClear;
        marcas->SetLook(w, pluma, relleno);
        marcas->SetVisible(true);
        marcas->BringToFront();
    }
    emit RutaRedibujada();
}

void TPanelGrafico::seAnchoLineaChange() {
    RedibujarRuta(anchoLinea(), -1, -1);
}

void TPanelGrafico::colbLineaChange(TColor color) {
    FColorLinea = color;
    RedibujarRuta(anchoLinea(), -1, -1);
}

void TPanelGrafico::colbFondoGraficoChange(TColor color) {
    FColorFondo = color;
    if (!liRuta)
        return;
    sgTrack->BeginUpdate();
    sgTrack->SetColor(color);
    sgTrack->EndUpdate();
}

void TPanelGrafico::SetTipoRuta(TTipoRuta value) {
    if (!FMostrandoAnimacion)
        FTipoRutaUsuario = value;
    if (value == FTipoRuta)
        return;
    FTipoRuta = value;
    RedibujarRuta(-1, -1, -1);
    sincronizarChecks();
}

void TPanelGrafico::ActionVerConLineasExecute() {
    alternarVista(trLineas);
}

void TPanelGrafico::ActionVerConPuntosExecute() {
    alternarVista(trPuntos);
}

// Shows or hides the line or the points; hiding the one that shows alone shows the other
// instead, never neither. The user's choice, kept over the replay's own display.
void TPanelGrafico::alternarVista(TTipoRuta parte) {
    TTipoRuta t = FTipoRuta ^ parte;
    if (!(t & (trLineas | trPuntos)))
        t = parte == trLineas ? trPuntos : trLineas;
    SetTipoRuta(t);
    FTipoRutaUsuario = FTipoRuta;
}

void TPanelGrafico::actZoomInExecute() {
    FAjustePendienteRuta = false;
    sgTrack->ChangeZoomBy(+10, zoCenter);
}
void TPanelGrafico::actZoomOutExecute() {
    FAjustePendienteRuta = false;
    sgTrack->ChangeZoomBy(-10, zoCenter);
}

void TPanelGrafico::actVerGridExecute() {
    sgTrack->SetShowGrid(!sgTrack->ShowGrid());
    sincronizarChecks();
}

void TPanelGrafico::ActionGraficoMoverExecute() {
    sgTrack->SetCommandMode(cmPan);
}
void TPanelGrafico::ActionEditModeExecute() {
    sgTrack->SetCommandMode(cmViewOnly);
}

void TPanelGrafico::ActionCentrarExecute() {
    // The route itself is fitted and centred: the anchor at the origin lies half the
    // route's width to its left and would pull it off the middle.
    if (liRuta && liRuta->PointCount() > 0) {
        const auto& pts = liRuta->Points();
        int x0 = pts.front().x(), x1 = x0, y0 = pts.front().y(), y1 = y0;
        for (const QPoint& p : pts) {
            x0 = std::min(x0, p.x());
            x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
        // Centred on the middle of the points, with room for the line's width around.
        const int w = anchoLinea();
        sgTrack->ZoomRect(QRect(x0 - w, y0 - w, x1 - x0 + 2 * w, y1 - y0 + 2 * w));
    } else {
        sgTrack->ZoomGraph();
    }
    sgTrack->SetZoomExacto(reducirZoom(sgTrack->ZoomExacto(), 10));
}

void TPanelGrafico::ActionExporGraficotBMPExecute() {
    const QString carpeta = CarpetaRuta.isEmpty() ? QDir::homePath() : CarpetaRuta;
    const QString propuesto = QDir(carpeta).filePath(QStringLiteral("ruta1.bmp"));
    QString nombre;
    if (DialogoGrabarBMP) {
        nombre = DialogoGrabarBMP(propuesto);
    } else {
        QFileDialog dlg(
            this,
            LookupText(QStringLiteral("_STR_TITLE_SAVEBMP"), QStringLiteral("Grabar como imagen")),
            carpeta,
            LookupText(QStringLiteral("_STR_FILTER_BMP"), QStringLiteral("Bitmaps (*.bmp)")));
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(QStringLiteral("bmp"));
        dlg.selectFile(propuesto);
        if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
            nombre = dlg.selectedFiles().first();
    }
    if (nombre.isEmpty())
        return;
    if (QFileInfo(nombre).suffix().isEmpty())
        nombre += QStringLiteral(".bmp");
    // What the user sees, at the zoom and scroll of the view.
    const QImage vista =
        sgTrack->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB888);
    QImageWriter writer(nombre, "bmp");
    if (!writer.write(vista))
        throw ESenderalError(
            LookupTextCon(QStringLiteral("_STR_MI_ERRSAVEIMAGE"),
                          QStringLiteral("No se ha podido grabar la imagen %s: %s"),
                          {nombre, writer.errorString()}));
}

void TPanelGrafico::ActionImprimirRutaExecute() {
    QPrinter printer(QPrinter::HighResolution);
    const bool aceptado = DialogoImpresora
                              ? DialogoImpresora(printer)
                              : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    if (!aceptado)
        return;
    printer.setDocName(window()->windowTitle().isEmpty() ? QApplication::applicationDisplayName()
                                                         : window()->windowTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        throw ESenderalError(
            LookupTextCon(QStringLiteral("_STR_MI_ERRPRINT"),
                          QStringLiteral("No se ha podido empezar a imprimir en %s."),
                          {printer.outputFileName().isEmpty() ? printer.printerName()
                                                              : printer.outputFileName()}));
    const QRect pagina = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect destino = QRect(0, 0, pagina.width(), pagina.height()).adjusted(50, 50, -50, -50);
    const auto finDoc = qScopeGuard([&painter] { painter.end(); });
    sgTrack->Print(painter, destino);
}

void TPanelGrafico::sgTrackDblClick() {
    if (!Log)
        return;
    const QPoint origen = sgTrack->viewport()->mapToGlobal(QPoint(0, 0));
    const QRect r = sgTrack->viewport()->rect();
    Log->_Log(QStringLiteral("sgTrack.ClientHeight: %1").arg(sgTrack->ClientHeight()), false);
    Log->_Log(QStringLiteral("sgTrack.ClientWidth: %1").arg(sgTrack->ClientWidth()), false);
    Log->_Log(QStringLiteral("sgTrack.ClientOrigin: %1-%2").arg(origen.x()).arg(origen.y()), false);
    Log->_Log(QStringLiteral("sgTrack.ClientRect: (%1,%2) - (%3-%4)")
                  .arg(r.left())
                  .arg(r.top())
                  .arg(r.left() + r.width())
                  .arg(r.top() + r.height()),
              false);
}

void TPanelGrafico::sgTrackMouseWheel(const QPoint& screenPos, bool* handled, int step) {
    const QPoint cliente = sgTrack->ScreenToClient(screenPos);
    if (!sgTrack->viewport()->rect().contains(cliente))
        return;
    // One notch is five visible steps of one percent around the pointer.
    for (int i = 0; i < 5; ++i) {
        sgTrack->ChangeZoomBy(step, zoCursor, cliente);
        if (sgTrack->isVisible())
            sgTrack->viewport()->repaint();
    }
    if (handled)
        *handled = true;
}

// ------------------------------------------------------------------ graphs

void TPanelGrafico::crearGrafico(TSimpleGraph* canvas, TColor color, bool altura) {
    asegurarGeometria();
    auto* linea = canvas->Crear<TGraphLink>();
    linea->SetOptions(linea->Options() & ~goSelectable);
    linea->BeginStyle = lsNone;
    linea->EndStyle = lsNone;
    linea->SetPenWidth(1);
    linea->SetPenColor(color);

    auto* marca = canvas->Crear<TEllipticNode>();
    marca->SetBrushColor(clYellow);
    marca->SetBrushStyle(bsSolid);
    marca->SetPenColor(clYellow);
    marca->SetPenWidth(1);
    marca->SetPenStyle(psSolid);
    const QRect b = canvas->GraphBounds();
    const int tam = std::max(2, (b.x() + b.width()) / 100);
    marca->SetBounds(0, 0, tam, tam);
    marca->SetSelected(true);

    canvas->SetShowGrid(false);
    canvas->SetMinNodeSize(1);
    const int n = int(pList.size());
    // A track without points leaves the graph empty: there is nothing to spread.
    if (n == 0)
        return;
    const QRect vb = canvas->VisibleBounds();
    const double s = double(vb.x() + vb.width()) / n;
    canvas->BeginUpdate();
    {
        const auto fin = qScopeGuard([canvas] { canvas->EndUpdate(); });
        std::vector<QPoint> pts;
        pts.reserve(size_t(n));
        for (int i = 0; i < n; ++i)
            pts.emplace_back(XGrafico(i, s), yGrafico(i, altura));
        linea->SetPoints(std::move(pts));
        ajustarGrafico(canvas);
    }
    ajustarGrafico(canvas);
    (canvas == sgAltura ? FAjustePendienteAltura : FAjustePendienteVelocidad) =
        !canvas->isVisible();
}

void TPanelGrafico::CrearGraficoAltura() {
    crearGrafico(sgAltura, clLime, true);
}
void TPanelGrafico::CrearGraficoVelocidad() {
    llenarListaGrafico();
    crearGrafico(sgVelocidad, ColorMagnitud(FMagnitud), false);
}

void TPanelGrafico::AjustarGraficoAncho(TSimpleGraph* canvas) {
    if (!canvas || canvas->ObjectCount() == 0)
        return;
    auto* linea = dynamic_cast<TGraphLink*>(canvas->Object(0));
    if (!linea || linea->PointCount() == 0)
        return;
    // The spread starts at the canvas's left edge: a fit centres the graph, and spreading
    // from wherever that left the view would leave its left part empty.
    canvas->SetScrollPos(QPoint(0, canvas->ScrollPos().y()));
    const QRect vb = canvas->VisibleBounds();
    const double s = double(vb.x() + vb.width()) / linea->PointCount();
    std::vector<QPoint> pts = linea->Points();
    for (size_t i = 0; i < pts.size(); ++i)
        pts[i].setX(XGrafico(int(i), s));
    canvas->BeginUpdate();
    linea->SetPoints(std::move(pts));
    canvas->EndUpdate();
    resaltarTramo();
}

void TPanelGrafico::AjustarGraficos() {
    AjustarGraficoAncho(sgVelocidad);
    AjustarGraficoAncho(sgAltura);
}

// ------------------------------------------------------------------ inspection

void TPanelGrafico::sgTrackObjectMouseEnter(TSimpleGraph* canvas, TGraphObject* object) {
    if (canvas && pnlAnimacion->EstaAnimando)
        return;
    auto* nodo = dynamic_cast<TTrackNode*>(object);
    if (!nodo) {
        MarcarPunto(-99);
        return;
    }
    const auto figuras = Figuras ? Figuras() : nullptr;
    pnlGraficoDatos->Mostrar(*nodo, figuras.get(), Sensores ? Sensores() : nullptr, Locale);
    MarcarPunto(nodo->Tag - 1);
}

void TPanelGrafico::sgTrackObjectMouseLeave(TSimpleGraph*, TGraphObject*) {}

void TPanelGrafico::sgTrackExit() {
    if (pnlAnimacion->EstaAnimando)
        return;
    pnlGraficoDatos->Vaciar();
    MarcarPunto(-99);
}

void TPanelGrafico::MarcarPunto(int index) {
    if (pList.empty())
        return;
    if (index == -99 || index == int(pList.size())) {
        for (TSimpleGraph* g : {sgAltura, sgVelocidad})
            if (g->ObjectCount() > 1)
                g->Object(1)->SetVisible(false);
        FMarcado = -1;
        return;
    }
    for (TSimpleGraph* g : {sgAltura, sgVelocidad}) {
        if (g->ObjectCount() < 2)
            continue;
        auto* marca = dynamic_cast<TGraphNode*>(g->Object(1));
        auto* linea = dynamic_cast<TGraphLink*>(g->Object(0));
        if (!marca || !linea)
            continue;
        marca->SetVisible(true);
        const QRect b = g->GraphBounds();
        const int s = (b.x() + b.width()) / 50, h = s / 2;
        const QPoint p = linea->Point(index);
        marca->SetBounds(p.x() - h, p.y() - h, s, s);
        marca->SetPenColor(clYellow);
        marca->SetPenWidth(1);
        marca->SetSelected(false);
    }
    FMarcado = index;
}

// ------------------------------------------------------------------ animation

void TPanelGrafico::MostrarAnimacion(bool mostrar) {
    if (mostrar) {
        if (!FMostrandoAnimacion)
            FTipoRutaUsuario = FTipoRuta;
        FMostrandoAnimacion = true;
        FTipoRuta = FTipoRutaUsuario | trLineas;
        sincronizarChecks();
    } else {
        dejarVistaAnimacion();
    }
    RedibujarRuta(-1, -1, -1);
}

void TPanelGrafico::dejarVistaAnimacion() {
    if (!FMostrandoAnimacion)
        return;
    FMostrandoAnimacion = false;
    FTipoRuta = FTipoRutaUsuario;
    sincronizarChecks();
}

// The sensor rows show only for the quantities the built track has.
void TPanelGrafico::mostrarFilasSensores() {
    pnlGraficoDatos->MostrarFilasSensores(!pList.empty() && Sensores ? Sensores() : nullptr);
}

void TPanelGrafico::Limpiar() {
    FAjustePendienteRuta = FAjustePendienteAltura = FAjustePendienteVelocidad = false;
    pnlAnimacion->Limpiar();
    dejarVistaAnimacion();
    // Nothing of this track may show when the next one opens.
    pnlGraficoDatos->Vaciar();
    QuitarTramo();
    pnlTitulo->clear();
    pList.clear();
    liRuta = nullptr;
    sgTrack->Clear();
    sgAltura->Clear();
    sgVelocidad->Clear();
    FMedidas.clear();
    AlturaMaxima = 0;
    VelocidadMaxima = 0;
    TextoDistancia.clear();
    FValoresGrafico.clear();
    FMagnitud = mgVelocidad;
    if (!FTituloVelocidad.isEmpty())
        pnlAuxVelocidad->setTitle(FTituloVelocidad);
    FTituloVelocidad.clear();
    cbGraficoDerecho->hide();
    mostrarFilasSensores();
}
