#include "SimpleGraph.h"

#include "SenderalError.h"
#include "Trazado.h"

#include <QImage>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

TSimpleGraph::TSimpleGraph(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    FScene.OnCambio = [this](const QRect& r) { repintar(r); };
}

TSimpleGraph::~TSimpleGraph() {
    FScene.OnCambio = nullptr;
}

void TSimpleGraph::Clear() {
    cancelarArrastre();
    FActual = nullptr; // freed with the objects: no leave for it
    FScene.Clear();
    FResalte = TResalte();
    FMode = cmEdit;
    viewport()->unsetCursor();
    FScrollX = FScrollY = 0;
    actualizarBarras();
    viewport()->update();
}

void TSimpleGraph::BeginUpdate() {
    ++FScene.UpdateCount;
}

void TSimpleGraph::EndUpdate() {
    if (FScene.UpdateCount == 0)
        return;
    if (--FScene.UpdateCount > 0)
        return;
    actualizarBarras();
    viewport()->update();
    FRepintarTodo = false;
}

void TSimpleGraph::SetColor(TColor c) {
    if (FColor == c)
        return;
    FColor = c;
    repintar(QRect());
}

void TSimpleGraph::SetShowGrid(bool v) {
    if (FShowGrid == v)
        return;
    FShowGrid = v;
    repintar(QRect());
}

void TSimpleGraph::SetScrollBarsAllowed(bool allowed) {
    FBarrasPermitidas = allowed;
    actualizarBarras();
}

// From the control's own geometry rather than the viewport's: a canvas on a hidden page
// learns its new size at once, while the viewport only follows when it is shown.
int TSimpleGraph::ClientWidth() const {
    int w = contentsRect().width();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        w -= verticalScrollBar()->sizeHint().width();
    return std::max(0, w);
}
int TSimpleGraph::ClientHeight() const {
    int h = contentsRect().height();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        h -= horizontalScrollBar()->sizeHint().height();
    return std::max(0, h);
}

QPoint TSimpleGraph::ScreenToClient(const QPoint& screen) const {
    return viewport()->mapFromGlobal(screen);
}

QPointF TSimpleGraph::ClientToGraph(const QPointF& c) const {
    return QPointF((c.x() + FScrollX) / escala(), (c.y() + FScrollY) / escala());
}

QPointF TSimpleGraph::GraphToClient(const QPointF& g) const {
    return QPointF(g.x() * escala() - FScrollX, g.y() * escala() - FScrollY);
}

QRect TSimpleGraph::VisibleBounds() const {
    const int l = int(std::floor(FScrollX / escala()));
    const int t = int(std::floor(FScrollY / escala()));
    const int r = int(std::floor((FScrollX + ClientWidth()) / escala()));
    const int b = int(std::floor((FScrollY + ClientHeight()) / escala()));
    // Extent convention of the canvas: right edge = x + width.
    return QRect(l, t, r - l, b - t);
}

void TSimpleGraph::SetScrollPos(const QPoint& p) {
    fijarScroll(p.x(), p.y());
}

void TSimpleGraph::fijarScroll(double x, double y) {
    const int nx = int(std::lround(x)), ny = int(std::lround(y));
    if (nx == FScrollX && ny == FScrollY)
        return;
    FScrollX = nx;
    FScrollY = ny;
    actualizarBarras();
    repintar(QRect());
}

int TSimpleGraph::Zoom() const {
    return std::max(1, int(std::lround(FZoom)));
}

double TSimpleGraph::ZoomMinimo() const {
    const QRect b = GraphBounds();
    if (FScene.ObjectCount() == 0 || ClientWidth() <= 0 || ClientHeight() <= 0)
        return ZoomMin;
    const double ajuste = std::min(100.0 * ClientWidth() / std::max(1, b.width()),
                                   100.0 * ClientHeight() / std::max(1, b.height()));
    return std::min(double(ZoomMin), ajuste / 2);
}

void TSimpleGraph::SetZoomExacto(double z) {
    z = std::clamp(z, ZoomMinimo(), double(ZoomMax));
    if (z == FZoom)
        return;
    const QPointF centro = ClientToGraph(QPointF(ClientWidth() / 2.0, ClientHeight() / 2.0));
    FZoom = z;
    // The new zoom can show or hide the scroll bars, which resizes the client area: keep the
    // same point in the middle of the area as it is after that.
    actualizarBarras();
    FScrollX = int(std::lround(centro.x() * escala() - ClientWidth() / 2.0));
    FScrollY = int(std::lround(centro.y() * escala() - ClientHeight() / 2.0));
    actualizarBarras();
    repintar(QRect());
}

void TSimpleGraph::ChangeZoomBy(int delta, TGraphZoomOrigin origin) {
    ChangeZoomBy(delta, origin, viewport()->mapFromGlobal(QCursor::pos()));
}

void TSimpleGraph::ChangeZoomBy(int delta, TGraphZoomOrigin origin, const QPoint& clientPos) {
    const double z = std::clamp(FZoom + delta, ZoomMinimo(), double(ZoomMax));
    if (z == FZoom)
        return;
    if (origin == zoCenter) {
        SetZoomExacto(z);
        return;
    }
    const QPointF g = ClientToGraph(clientPos);
    FZoom = z;
    FScrollX = int(std::lround(g.x() * escala() - clientPos.x()));
    FScrollY = int(std::lround(g.y() * escala() - clientPos.y()));
    actualizarBarras();
    repintar(QRect());
}

void TSimpleGraph::ZoomGraph() {
    if (FScene.ObjectCount() == 0)
        return;
    ZoomRect(GraphBounds());
}

void TSimpleGraph::ZoomRect(const QRect& r) {
    const double rw = std::max(1, r.width()), rh = std::max(1, r.height());
    const double fw = 100.0 * ClientWidth() / rw, fh = 100.0 * ClientHeight() / rh;
    double z = std::min(RedondeoPar(fw), RedondeoPar(fh));
    // A rectangle too large for the least whole zoom is fitted exactly, at a fraction.
    if (std::min(fw, fh) < ZoomMin)
        z = std::min(fw, fh);
    FZoom = std::clamp(z, ZoomMinimo(), double(ZoomMax));
    // Fitting can hide the scroll bars, which widens the client area: centre after that.
    actualizarBarras();
    const double cx = r.x() + r.width() / 2.0, cy = r.y() + r.height() / 2.0;
    FScrollX = int(std::lround(cx * escala() - ClientWidth() / 2.0));
    FScrollY = int(std::lround(cy * escala() - ClientHeight() / 2.0));
    actualizarBarras();
    repintar(QRect());
}

void TSimpleGraph::SetCommandMode(TGraphCommandMode m) {
    if (m == FMode)
        return;
    cancelarArrastre();
    FMode = m;
    if (m == cmViewOnly)
        FScene.ForEach([](TGraphObject* o) { o->SetSelected(false); });
    if (m == cmPan)
        viewport()->setCursor(Qt::OpenHandCursor);
    else
        viewport()->unsetCursor();
}

void TSimpleGraph::actualizarBarras() {
    if (FScene.UpdateCount > 0 || FAjustandoBarras)
        return;
    FAjustandoBarras = true;
    // What can be scrolled over: the graph and the origin.
    const QRect b = GraphBounds();
    const double l = std::min(0, b.x()) * escala(), t = std::min(0, b.y()) * escala();
    const double r = (b.x() + b.width()) * escala(), bo = (b.y() + b.height()) * escala();
    // Showing one bar narrows the other axis: settle in two rounds.
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        const bool h = FBarrasPermitidas && FScene.ObjectCount() > 0 && r - l > ClientWidth();
        const bool v = FBarrasPermitidas && FScene.ObjectCount() > 0 && bo - t > ClientHeight();
        setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    // The bars reach over the graph and wherever the view is now.
    QScrollBar* hb = horizontalScrollBar();
    hb->setRange(std::min(int(std::floor(l)), FScrollX),
                 std::max(int(std::ceil(r)) - ClientWidth(), FScrollX));
    hb->setPageStep(std::max(1, ClientWidth()));
    hb->setSingleStep(std::max(1, ClientWidth() / 20));
    hb->setValue(FScrollX);
    QScrollBar* vb = verticalScrollBar();
    vb->setRange(std::min(int(std::floor(t)), FScrollY),
                 std::max(int(std::ceil(bo)) - ClientHeight(), FScrollY));
    vb->setPageStep(std::max(1, ClientHeight()));
    vb->setSingleStep(std::max(1, ClientHeight() / 20));
    vb->setValue(FScrollY);
    FAjustandoBarras = false;
}

void TSimpleGraph::scrollContentsBy(int, int) {
    if (FAjustandoBarras)
        return;
    FScrollX = horizontalScrollBar()->value();
    FScrollY = verticalScrollBar()->value();
    viewport()->update();
}

void TSimpleGraph::repintar(const QRect& area) {
    if (FScene.UpdateCount > 0) {
        FRepintarTodo = true;
        return;
    }
    if (area.isNull()) {
        viewport()->update();
        return;
    }
    const QPointF a = GraphToClient(area.topLeft());
    const QPointF b = GraphToClient(QPointF(area.x() + area.width(), area.y() + area.height()));
    const int m = MarkerSize() + 2;
    viewport()->update(QRectF(a, b).normalized().toAlignedRect().adjusted(-m, -m, m, m));
}

void TSimpleGraph::pintarGrid(QPainter& p, const QRect& clip) {
    const double paso = GridSize * escala();
    if (GridSize <= 0 || paso <= 0)
        return;
    const QPointF g0 = ClientToGraph(clip.topLeft());
    const QPointF g1 = ClientToGraph(QPointF(clip.right() + 1, clip.bottom() + 1));
    auto posiciones = [&](double desde, double hasta, int scroll) {
        std::vector<int> v;
        for (long long k = (long long)std::ceil(desde / GridSize); k * GridSize <= hasta; ++k) {
            const int px = int(std::lround(k * GridSize * escala() - scroll));
            if (v.empty() || v.back() != px)
                v.push_back(px);
        }
        return v;
    };
    const std::vector<int> xs = posiciones(g0.x(), g1.x(), FScrollX);
    const std::vector<int> ys = posiciones(g0.y(), g1.y(), FScrollY);
    QPolygon puntos;
    puntos.reserve(qsizetype(xs.size() * ys.size()));
    for (int y : ys)
        for (int x : xs)
            puntos << QPoint(x, y);
    p.setPen(QPen(ColorAQColor(GridColor), 0));
    p.drawPoints(puntos);
}

void TSimpleGraph::paintEvent(QPaintEvent* e) {
    QPainter p(viewport());
    const QRect clip = e->rect();
    p.setClipRect(clip);
    p.fillRect(clip, ColorAQColor(FColor));
    if (FShowGrid)
        pintarGrid(p, clip);
    TTransformacion t;
    t.Escala = escala();
    t.Origen = QPointF(FScrollX, FScrollY);
    const double m = (MarkerSize() + 2) / escala();
    const QPointF g0 = ClientToGraph(clip.topLeft());
    const QPointF g1 = ClientToGraph(QPointF(clip.right() + 1, clip.bottom() + 1));
    pintarBandaResalte(p);
    p.setRenderHint(QPainter::Antialiasing, true);
    FScene.Render(p, t, QRectF(g0, g1).adjusted(-m, -m, m, m), true);
    pintarLineaResalte(p, clip);
    if (FArrastre == Arrastre::Banda) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(FInicioArrastre, FScrollInicio).normalized());
    }
}

void TSimpleGraph::SetResalte(TResalte r) {
    FResalte = std::move(r);
    viewport()->update();
}

void TSimpleGraph::QuitarResalte() {
    if (FResalte.Vacio())
        return;
    FResalte = TResalte();
    viewport()->update();
}

void TSimpleGraph::pintarBandaResalte(QPainter& p) const {
    if (FResalte.Vacio() || !FResalte.ColorBanda.isValid())
        return;
    const double x0 = GraphToClient(FResalte.Puntos.front()).x();
    const double x1 = GraphToClient(FResalte.Puntos.back()).x();
    p.fillRect(QRectF(QPointF(std::min(x0, x1), 0), QPointF(std::max(x0, x1), ClientHeight())),
               FResalte.ColorBanda);
}

void TSimpleGraph::pintarLineaResalte(QPainter& p, const QRect& clip) const {
    if (FResalte.Vacio() || !FResalte.Color.isValid())
        return;
    QPen pen(FResalte.Color, FResalte.AnchoPx);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // Only the runs of segments that reach the area being painted are stroked, and a point
    // closer than a pixel to the last one kept adds nothing: hovering over a stretch of a
    // million points repaints a few segments, not the whole stretch.
    const double m = FResalte.AnchoPx;
    const QRectF zona = QRectF(clip).adjusted(-m, -m, m, m);
    QPolygonF tramo;
    auto trazar = [&] {
        if (tramo.size() > 1)
            p.drawPolyline(tramo);
        tramo.clear();
    };
    QPointF ultimo = GraphToClient(FResalte.Puntos.front());
    if (FResalte.Puntos.size() == 1 && zona.contains(ultimo))
        p.drawPoint(ultimo);
    for (size_t i = 1; i < FResalte.Puntos.size(); ++i) {
        const QPointF c = GraphToClient(FResalte.Puntos[i]);
        if (std::abs(c.x() - ultimo.x()) + std::abs(c.y() - ultimo.y()) < 2.0 &&
            i + 1 < FResalte.Puntos.size())
            continue;
        if (QRectF(ultimo, c).normalized().adjusted(-0.5, -0.5, 0.5, 0.5).intersects(zona)) {
            if (tramo.isEmpty())
                tramo << ultimo;
            tramo << c;
        } else {
            trazar();
        }
        ultimo = c;
    }
    trazar();
}

void TSimpleGraph::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    actualizarBarras();
    emit Redimensionado();
}

void TSimpleGraph::cancelarArrastre() {
    if (FArrastre == Arrastre::Ninguno)
        return;
    FArrastre = Arrastre::Ninguno;
    if (FMode == cmPan)
        viewport()->setCursor(Qt::OpenHandCursor);
    viewport()->update();
}

void TSimpleGraph::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    FInicioArrastre = e->position().toPoint();
    if (FMode == cmPan) {
        FArrastre = Arrastre::Mano;
        FScrollInicio = QPoint(FScrollX, FScrollY);
        viewport()->setCursor(Qt::ClosedHandCursor);
        return;
    }
    TGraphObject* o = FScene.ObjectAt(ClientToGraph(e->position()));
    if (!o || !(o->Options() & goSelectable)) {
        FArrastre = Arrastre::Banda;
        FScrollInicio = FInicioArrastre; // the band's moving corner
    }
}

void TSimpleGraph::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (FArrastre == Arrastre::Mano) {
        const QPoint d = pos - FInicioArrastre;
        const bool h = horizontalScrollBar()->isVisible(), v = verticalScrollBar()->isVisible();
        QScrollBar* hb = horizontalScrollBar();
        QScrollBar* vb = verticalScrollBar();
        const int nx =
            h ? std::clamp(FScrollInicio.x() - d.x(), hb->minimum(), hb->maximum()) : FScrollX;
        const int ny =
            v ? std::clamp(FScrollInicio.y() - d.y(), vb->minimum(), vb->maximum()) : FScrollY;
        fijarScroll(nx, ny);
    } else if (FArrastre == Arrastre::Banda) {
        FScrollInicio = pos;
        viewport()->update();
    }
    SeguirPuntero(pos);
}

void TSimpleGraph::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || FArrastre == Arrastre::Ninguno)
        return;
    if (FArrastre == Arrastre::Banda) {
        const QRect banda = QRect(FInicioArrastre, e->position().toPoint()).normalized();
        FArrastre = Arrastre::Ninguno;
        viewport()->update();
        if (banda.width() < 3 && banda.height() < 3)
            return;
        const QRect g = QRectF(ClientToGraph(FInicioArrastre), ClientToGraph(e->position()))
                            .normalized()
                            .toRect();
        if (e->modifiers() & Qt::AltModifier) {
            ZoomRect(g);
        } else if (FMode == cmEdit) {
            FScene.ForEach([&g](TGraphObject* o) {
                if (o->Visible() && (o->Options() & goSelectable) && g.contains(o->DrawRect()))
                    o->SetSelected(true);
            });
        }
        return;
    }
    cancelarArrastre();
}

void TSimpleGraph::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click starts no rectangle.
    FArrastre = Arrastre::Ninguno;
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

void TSimpleGraph::wheelEvent(QWheelEvent* e) {
    const int d = e->angleDelta().y();
    if (d == 0) {
        QAbstractScrollArea::wheelEvent(e);
        return;
    }
    bool handled = false;
    const QPoint pantalla = e->globalPosition().toPoint();
    if (d < 0)
        emit MouseWheelDown(pantalla, &handled);
    else
        emit MouseWheelUp(pantalla, &handled);
    if (handled)
        e->accept();
    else
        QAbstractScrollArea::wheelEvent(e);
}

void TSimpleGraph::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    emit Exit();
}

bool TSimpleGraph::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::Leave && FActual) {
        TGraphObject* anterior = FActual;
        FActual = nullptr;
        emit ObjectMouseLeave(this, anterior);
    }
    return QAbstractScrollArea::viewportEvent(e);
}

void TSimpleGraph::SeguirPuntero(const QPoint& clientPos) {
    TGraphObject* o = FScene.ObjectAt(ClientToGraph(clientPos));
    if (o == FActual)
        return;
    TGraphObject* anterior = FActual;
    FActual = o;
    if (anterior)
        emit ObjectMouseLeave(this, anterior);
    if (o)
        emit ObjectMouseEnter(this, o);
}

QImage TSimpleGraph::Imagen() const {
    const QRect r = GraphBounds();
    QImage img(r.width() + 1, r.height() + 1, QImage::Format_RGB888);
    if (img.isNull())
        throw ESenderalError(
            QStringLiteral("No hay memoria para una imagen del gráfico de %1 x %2 píxeles.")
                .arg(r.width() + 1)
                .arg(r.height() + 1));
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    TTransformacion t;
    t.Escala = 1;
    t.Origen = r.topLeft();
    FScene.Render(p, t, QRectF(), false);
    return img;
}

void TSimpleGraph::SaveAsBitmap(const QString& fileName) const {
    const QImage img = Imagen();
    QImageWriter w(fileName, "bmp");
    if (!w.write(img))
        throw ESenderalError(QStringLiteral("No se ha podido grabar la imagen %1: %2")
                                 .arg(fileName, w.errorString()));
}

void TSimpleGraph::Print(QPainter& painter, const QRect& rect) const {
    const QRect r = GraphBounds();
    if (r.width() <= 0 || r.height() <= 0 || rect.width() <= 0 || rect.height() <= 0)
        return;
    const double k = double(rect.height()) / rect.width() > double(r.height()) / r.width()
                         ? double(rect.width()) / r.width()
                         : double(rect.height()) / r.height();
    const double w = r.width() * k, h = r.height() * k;
    const QPointF destino(rect.x() + (rect.width() - w) / 2, rect.y() + (rect.height() - h) / 2);
    TTransformacion t;
    t.Escala = k;
    t.Origen = QPointF(r.x() * k - destino.x(), r.y() * k - destino.y());
    t.Vectorial = true;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    FScene.Render(painter, t, QRectF(), false);
    painter.restore();
}
