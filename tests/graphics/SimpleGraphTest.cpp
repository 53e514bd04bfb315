#include "SimpleGraph.h"
#include "SenderalError.h"
#include "TrackPointMarks.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {
// A canvas with a known client area.
struct Lienzo {
    TSimpleGraph g;
    Lienzo(int w = 400, int h = 300) {
        g.SetScrollBarsAllowed(false);
        g.resize(w + 2 * g.frameWidth(), h + 2 * g.frameWidth());
    }
};
} // namespace

TEST(SimpleGraph, ZoomSeLimita) {
    Lienzo l;
    struct Caso {
        const char* nombre;
        int pedido, esperado;
    } casos[] = {{"3 gives 5", 3, 5}, {"40000 gives 36863", 40000, 36863}, {"250 stays", 250, 250}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        l.g.SetZoom(c.pedido);
        EXPECT_EQ(l.g.Zoom(), c.esperado);
    }
    l.g.SetZoom(10);
    l.g.ChangeZoomBy(-10, zoCenter);
    EXPECT_EQ(l.g.Zoom(), 5);
    l.g.SetZoom(36860);
    l.g.ChangeZoomBy(+10, zoCenter);
    EXPECT_EQ(l.g.Zoom(), 36863);
}

// A graph wider or taller than the least whole zoom can show is still fitted whole,
// and the floor then lets the user zoom out past the fit, never to nothing.
TEST(SimpleGraph, UnGraficoEnormeSeAjustaEntero) {
    struct Caso {
        const char* nombre;
        QRect nodo;
    } casos[] = {
        {"60000 units wide on 400 px", QRect(0, 100, 60000, 20)},
        {"65000 units tall on 300 px", QRect(30, 0, 20, 65000)},
        {"both ways", QRect(0, 0, 65000, 65000)},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        Lienzo l(400, 300);
        auto* n = l.g.Crear<TRectangularNode>();
        n->SetBounds(c.nodo.x(), c.nodo.y(), c.nodo.width(), c.nodo.height());
        l.g.ZoomGraph();
        const QRect b = l.g.GraphBounds();
        const QPointF a = l.g.GraphToClient(b.topLeft());
        const QPointF z = l.g.GraphToClient(QPointF(b.x() + b.width(), b.y() + b.height()));
        EXPECT_GE(a.x(), -1);
        EXPECT_GE(a.y(), -1);
        EXPECT_LE(z.x(), l.g.ClientWidth() + 1);
        EXPECT_LE(z.y(), l.g.ClientHeight() + 1);
        // it fills the side that limits it
        EXPECT_GT(
            std::max((z.x() - a.x()) / l.g.ClientWidth(), (z.y() - a.y()) / l.g.ClientHeight()),
            0.95);
        const double ajuste = l.g.ZoomExacto();
        l.g.ChangeZoomBy(-10, zoCenter);
        EXPECT_LT(l.g.ZoomExacto(), ajuste);
        EXPECT_GT(l.g.ZoomExacto(), 0);
        l.g.SetZoom(0); // the floor: below the fit, above nothing
        EXPECT_LT(l.g.ZoomExacto(), ajuste);
        EXPECT_GT(l.g.ZoomExacto(), 0);
    }
}

TEST(SimpleGraph, AjustarLienzoVacioNoCambiaNada) {
    Lienzo l;
    l.g.SetZoom(137);
    l.g.SetScrollPos(QPoint(12, 34));
    l.g.ZoomGraph();
    EXPECT_EQ(l.g.Zoom(), 137);
    EXPECT_EQ(l.g.ScrollPos(), QPoint(12, 34));
}

TEST(SimpleGraph, AjustarCentraYEligeLaMenorEscala) {
    Lienzo l(400, 300);
    auto* n = l.g.Crear<TRectangularNode>();
    n->SetBounds(100, 100, 200, 100); // bounds 100..300 x 100..200
    l.g.ZoomGraph();
    // min(400/200, 300/100) = 200 %
    EXPECT_EQ(l.g.Zoom(), 200);
    const QPointF c = l.g.GraphToClient(QPointF(200, 150));
    EXPECT_NEAR(c.x(), 200, 1);
    EXPECT_NEAR(c.y(), 150, 1);
    // the centre command's 90 % keeps the route centred
    l.g.SetZoom(l.g.Zoom() - l.g.Zoom() / 10);
    const QPointF c2 = l.g.GraphToClient(QPointF(200, 150));
    EXPECT_NEAR(c2.x(), 200, 1);
    EXPECT_NEAR(c2.y(), 150, 1);
}

// A zoom about the centre keeps the same point in the middle when it hides or shows the
// scroll bars, which changes the client area.
TEST(SimpleGraph, ZoomAlCentroConBarrasQueAparecenODesaparecen) {
    struct Caso {
        const char* nombre;
        double desde, hasta;
    } casos[] = {{"bars hide", 100, 20}, {"bars show", 20, 100}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        TSimpleGraph g;
        g.resize(400, 300);
        auto* n = g.Crear<TRectangularNode>();
        n->SetBounds(0, 0, 1000, 1000);
        g.show();
        g.SetZoomExacto(50); // settles the bars from a zoom other than the first
        g.SetZoomExacto(c.desde);
        const bool barras = g.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
        const QPointF medio =
            g.ClientToGraph(QPointF(g.ClientWidth() / 2.0, g.ClientHeight() / 2.0));
        g.SetZoomExacto(c.hasta);
        ASSERT_NE(g.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, barras);
        const QPointF ahora = g.GraphToClient(medio);
        EXPECT_NEAR(ahora.x(), g.ClientWidth() / 2.0, 1);
        EXPECT_NEAR(ahora.y(), g.ClientHeight() / 2.0, 1);
    }
}

TEST(SimpleGraph, ZoomAlrededorDelPunteroLoMantieneDebajo) {
    Lienzo l(400, 300);
    auto* n = l.g.Crear<TRectangularNode>();
    n->SetBounds(0, 0, 1000, 1000);
    const QPoint puntero(300, 50);
    const QPointF antes = l.g.ClientToGraph(puntero);
    for (int i = 0; i < 5; ++i)
        l.g.ChangeZoomBy(-1, zoCursor, puntero);
    EXPECT_EQ(l.g.Zoom(), 95);
    const QPointF despues = l.g.ClientToGraph(puntero);
    EXPECT_NEAR(despues.x(), antes.x(), 1.1);
    EXPECT_NEAR(despues.y(), antes.y(), 1.1);
}

TEST(SimpleGraph, ReglaDeColocacion) {
    Lienzo l;
    l.g.SetMinNodeSize(2);
    struct Caso {
        const char* nombre;
        QRect pedido, esperado;
    } casos[] = {
        {"top -4 height 8 goes to top 0", {10, -4, 8, 8}, {10, 0, 8, 8}},
        {"left -3 goes to 0", {-3, 10, 6, 6}, {0, 10, 6, 6}},
        {"below the smallest size grows", {5, 5, 1, 0}, {5, 5, 2, 2}},
        {"past 65535 moves back", {65530, 100, 20, 20}, {65515, 100, 20, 20}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        auto* n = l.g.Crear<TEllipticNode>();
        n->SetBounds(c.pedido.x(), c.pedido.y(), c.pedido.width(), c.pedido.height());
        EXPECT_EQ(n->BoundsRect(), c.esperado);
    }
}

TEST(SimpleGraph, SeleccionSoloConGoSelectable) {
    Lienzo l;
    auto* n = l.g.Crear<TEllipticNode>();
    n->SetOptions(n->Options() & ~goSelectable);
    n->SetSelected(true);
    EXPECT_FALSE(n->Selected());
    auto* m = l.g.Crear<TEllipticNode>();
    m->SetSelected(true);
    EXPECT_TRUE(m->Selected());
    // entering view-only mode clears the selection
    l.g.SetCommandMode(cmViewOnly);
    EXPECT_FALSE(m->Selected());
    l.g.Clear();
    EXPECT_EQ(l.g.CommandMode(), cmEdit);
    EXPECT_EQ(l.g.ObjectCount(), 0);
}

TEST(SimpleGraph, IndiceDePuntoInvalido) {
    Lienzo l;
    auto* link = l.g.Crear<TGraphLink>();
    for (int i = 0; i < 5; ++i)
        link->AddPoint(QPoint(i, i));
    try {
        (void)link->Point(link->PointCount());
        FAIL() << "no error";
    } catch (const ESenderalError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Invalid point index. (5)"));
    }
    EXPECT_THROW(link->SetPoint(-1, QPoint()), ESenderalError);
    EXPECT_EQ(link->Point(4), QPoint(4, 4));
}

TEST(SimpleGraph, PunteroDesdeArribaHaciaAbajo) {
    Lienzo l(400, 300);
    auto* linea = l.g.Crear<TGraphLink>();
    linea->AddPoint(QPoint(0, 50));
    linea->AddPoint(QPoint(200, 50));
    auto* claro = l.g.Crear<TEllipticNode>();
    claro->SetBounds(40, 40, 20, 20);
    claro->SetPenStyle(psClear);
    claro->SetBrushStyle(bsClear);
    auto* oculto = l.g.Crear<TEllipticNode>();
    oculto->SetBounds(140, 40, 20, 20);
    oculto->SetVisible(false);
    const TGraphScene& s = l.g.Scene();
    struct Caso {
        const char* nombre;
        QPointF p;
        TGraphObject* esperado;
    } casos[] = {
        {"clear pen and brush still answers", {50, 50}, claro},
        {"inside the box but outside the ellipse", {41, 41}, nullptr},
        {"invisible node is skipped: the line below answers", {150, 50}, linea},
        {"invisible node off the line: nothing", {150, 43}, nullptr},
        {"line within the marker size", {100, 53}, linea},
        {"line beyond the marker size", {100, 54.5}, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(s.ObjectAt(c.p), c.esperado);
    }
    // the later object lies on top; BringToFront changes that
    auto* encima = l.g.Crear<TRectangularNode>();
    encima->SetBounds(45, 45, 10, 10);
    EXPECT_EQ(s.ObjectAt({50, 50}), encima);
    claro->BringToFront();
    EXPECT_EQ(s.ObjectAt({50, 50}), claro);
    EXPECT_EQ(l.g.Object(l.g.ObjectCount() - 1), claro);
}

TEST(SimpleGraph, EventosDeEntradaYSalida) {
    Lienzo l(400, 300);
    auto* a = l.g.Crear<TEllipticNode>();
    a->SetBounds(0, 0, 20, 20);
    auto* b = l.g.Crear<TEllipticNode>();
    b->SetBounds(100, 0, 20, 20);
    QSignalSpy entra(&l.g, &TSimpleGraph::ObjectMouseEnter);
    QSignalSpy sale(&l.g, &TSimpleGraph::ObjectMouseLeave);
    l.g.SeguirPuntero(QPoint(10, 10));
    l.g.SeguirPuntero(QPoint(11, 10));
    l.g.SeguirPuntero(QPoint(110, 10));
    l.g.SeguirPuntero(QPoint(300, 200));
    ASSERT_EQ(entra.count(), 2);
    ASSERT_EQ(sale.count(), 2);
    EXPECT_EQ(entra.at(0).at(1).value<TGraphObject*>(), a);
    EXPECT_EQ(sale.at(0).at(1).value<TGraphObject*>(), a);
    EXPECT_EQ(entra.at(1).at(1).value<TGraphObject*>(), b);
    EXPECT_EQ(sale.at(1).at(1).value<TGraphObject*>(), b);
}

TEST(SimpleGraph, GraphBoundsIgnoraLoOculto) {
    Lienzo l;
    EXPECT_EQ(l.g.GraphBounds(), QRect(0, 0, 0, 0));
    auto* a = l.g.Crear<TRectangularNode>();
    a->SetBounds(10, 20, 30, 40);
    auto* b = l.g.Crear<TRectangularNode>();
    b->SetBounds(500, 500, 10, 10);
    b->SetVisible(false);
    EXPECT_EQ(l.g.GraphBounds(), QRect(10, 20, 30, 40));
}

TEST(SimpleGraph, BitmapDeLosLimitesMasUnoConFondoBlanco) {
    Lienzo l;
    l.g.SetColor(clNavy);
    auto* ancla = l.g.Crear<TRectangularNode>();
    ancla->SetPenStyle(psClear);
    ancla->SetBrushStyle(bsClear);
    ancla->SetBounds(0, 0, 16, 16);
    auto* punto = l.g.Crear<TEllipticNode>();
    punto->SetBounds(6, 6, 4, 4);
    punto->SetBrushColor(clRed);
    punto->SetPenStyle(psClear);
    ASSERT_EQ(l.g.GraphBounds(), QRect(0, 0, 16, 16));
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("ruta1.bmp"));
    l.g.SaveAsBitmap(f);
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray cab = file.read(30);
    ASSERT_EQ(cab.left(2), QByteArray("BM"));
    EXPECT_EQ(quint8(cab[28]) | (quint8(cab[29]) << 8), 24); // bits per pixel
    const QImage img(f);
    EXPECT_EQ(img.size(), QSize(17, 17));
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(16, 16), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(8, 8), QColor(Qt::red));
}

TEST(SimpleGraph, BitmapQueNoSePuedeGrabarDaError) {
    Lienzo l;
    auto* n = l.g.Crear<TRectangularNode>();
    n->SetBounds(0, 0, 10, 10);
    EXPECT_THROW(l.g.SaveAsBitmap(QStringLiteral("/no/such/folder/ruta1.bmp")), ESenderalError);
}

TEST(SimpleGraph, ImprimirEscalaYCentra) {
    Lienzo l;
    auto* n = l.g.Crear<TRectangularNode>();
    n->SetBounds(0, 0, 100, 50);
    n->SetBrushColor(clBlack);
    n->SetPenStyle(psClear);
    // a square target: the picture takes the full width and is centred vertically
    QImage img(220, 220, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        l.g.Print(p, QRect(10, 10, 200, 200));
    }
    EXPECT_EQ(img.pixelColor(15, 110), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(205, 110), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(110, 55), QColor(Qt::white));  // above the picture
    EXPECT_EQ(img.pixelColor(110, 165), QColor(Qt::white)); // below it
    EXPECT_EQ(img.pixelColor(110, 65), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(110, 155), QColor(Qt::black));
}

namespace {
void raton(QWidget* w, QEvent::Type tipo, QPoint pos, Qt::MouseButtons botones,
           Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(tipo, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                  tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, botones, mods);
    QApplication::sendEvent(w, &e);
}
} // namespace

TEST(SimpleGraph, BandaConAltAjustaAlRectangulo) {
    Lienzo l(400, 300);
    l.g.show();
    auto* n = l.g.Crear<TRectangularNode>();
    n->SetOptions(n->Options() & ~goSelectable);
    n->SetBounds(0, 0, 2000, 2000);
    l.g.SetZoom(100);
    l.g.SetScrollPos(QPoint(0, 0));
    QWidget* vp = l.g.viewport();
    raton(vp, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    raton(vp, QEvent::MouseMove, {200, 150}, Qt::LeftButton);
    raton(vp, QEvent::MouseButtonRelease, {200, 150}, Qt::NoButton, Qt::AltModifier);
    // a 100 x 50 band fills the 400 x 300 view: 400 %, centred on its middle
    EXPECT_EQ(l.g.Zoom(), 400);
    const QPointF c = l.g.GraphToClient(QPointF(150, 125));
    EXPECT_NEAR(c.x(), 200, 2);
    EXPECT_NEAR(c.y(), 150, 2);
    // without Alt, in edit mode, a band selects the selectable objects inside it
    auto* m = l.g.Crear<TEllipticNode>();
    m->SetBounds(150, 125, 2, 2);
    const QPoint a = l.g.GraphToClient(QPointF(140, 115)).toPoint();
    const QPoint b = l.g.GraphToClient(QPointF(160, 135)).toPoint();
    raton(vp, QEvent::MouseButtonPress, a, Qt::LeftButton);
    raton(vp, QEvent::MouseMove, b, Qt::LeftButton);
    raton(vp, QEvent::MouseButtonRelease, b, Qt::NoButton);
    EXPECT_TRUE(m->Selected());
    EXPECT_EQ(l.g.Zoom(), 400);
}

TEST(SimpleGraph, ModoManoArrastraLaVista) {
    TSimpleGraph g;
    g.resize(300, 200);
    g.show();
    auto* n = g.Crear<TRectangularNode>();
    n->SetBounds(0, 0, 3000, 3000);
    g.SetZoom(100);
    g.SetScrollPos(QPoint(500, 500));
    g.SetCommandMode(cmPan);
    ASSERT_TRUE(g.horizontalScrollBar()->isVisible());
    QWidget* vp = g.viewport();
    raton(vp, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    raton(vp, QEvent::MouseMove, {60, 70}, Qt::LeftButton);
    raton(vp, QEvent::MouseButtonRelease, {60, 70}, Qt::NoButton);
    EXPECT_EQ(g.ScrollPos(), QPoint(540, 530));
    EXPECT_EQ(g.Zoom(), 100);
}

namespace {
// The pixels of an area that a partial repaint draws otherwise than the whole one.
int pixelesDistintos(const QImage& parte, const QImage& todo, const QRect& area) {
    int distintos = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            distintos += parte.pixel(x, y) != todo.pixel(x, y);
    return distintos;
}

// Each area repainted alone draws what the whole repaint drew there.
template <class Pintar, size_t N>
void esperarPartesComoElTodo(Pintar pintar, const QImage& todo, const QRect (&areas)[N]) {
    for (const QRect& a : areas) {
        SCOPED_TRACE(QString("%1,%2 %3x%4")
                         .arg(a.x())
                         .arg(a.y())
                         .arg(a.width())
                         .arg(a.height())
                         .toStdString());
        EXPECT_EQ(pixelesDistintos(pintar(a), todo, a), 0);
    }
}
} // namespace

// A small repaint of many point marks (a moving point) draws there exactly what a whole
// repaint draws: every mark reaching into the area, a point's own look, the one on top.
TEST(TrackPointMarks, UnaParteRepintadaIgualQueElTodo) {
    TGraphScene escena;
    escena.MinNodeSize = 2;
    auto* marcas = escena.Crear<TTrackPointMarks>();
    std::vector<QPoint> centros;
    for (int i = 0; i < 3000; ++i)
        centros.push_back(QPoint(20 + (i * 37) % 700, 20 + (i * 53) % 500));
    marcas->SetPoints(centros, nullptr);
    TGraphPen pluma;
    pluma.Style = psClear;
    TGraphBrush relleno;
    relleno.Color = clNavy;
    marcas->SetLook(3, pluma, relleno);
    marcas->Node(2999)->SetBrushColor(clRed); // its own look, in point order
    marcas->Node(1234)->SetBrushColor(clLime);
    marcas->Node(1234)->BringToFront();
    TTransformacion t;
    t.Escala = 1.5;
    auto pintar = [&](const QRect& clip) {
        QImage img(1100, 850, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        if (!clip.isNull())
            p.setClipRect(clip);
        escena.Render(p, t,
                      clip.isNull() ? QRectF()
                                    : QRectF(clip.x() / 1.5, clip.y() / 1.5, clip.width() / 1.5,
                                             clip.height() / 1.5),
                      false);
        return img;
    };
    const QImage todo = pintar(QRect());
    const QPoint lima = (centros[1234] * 1.5);
    const QPoint roja = (centros[2999] * 1.5);
    EXPECT_EQ(todo.pixelColor(lima), ColorAQColor(clLime));
    EXPECT_EQ(todo.pixelColor(roja), ColorAQColor(clRed));
    const QRect areas[] = {QRect(lima - QPoint(9, 9), QSize(18, 18)),
                           QRect(roja - QPoint(9, 9), QSize(18, 18)), QRect(300, 200, 40, 25),
                           QRect(0, 0, 35, 35), QRect(1040, 760, 60, 60)};
    esperarPartesComoElTodo(pintar, todo, areas);
}

// With many objects a small area is drawn from the pointer index alone: every object in it
// must still be drawn, on the first partial repaint and on the ones after it.
TEST(GraphScene, UnaParteRepintadaIgualQueElTodo) {
    TGraphScene escena;
    for (int i = 0; i < 400; ++i) {
        auto* n = escena.Crear<TRectangularNode>();
        n->SetBounds(10 + (i % 25) * 14, 10 + (i / 25) * 14, 9, 9);
        n->SetBrushColor(i % 3 ? clNavy : clRed);
    }
    escena.ObjectAt(QPointF(0, 0)); // the index the partial repaints draw from
    const TTransformacion t;
    auto pintar = [&](const QRect& clip) {
        QImage img(380, 250, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        if (!clip.isNull())
            p.setClipRect(clip);
        escena.Render(p, t, clip.isNull() ? QRectF() : QRectF(clip), false);
        return img;
    };
    const QImage todo = pintar(QRect());
    const QRect areas[] = {QRect(50, 50, 30, 30), QRect(200, 120, 25, 40), QRect(0, 0, 20, 20)};
    esperarPartesComoElTodo(pintar, todo, areas);
}

// The pointer finds an object where it is now, not where the index last saw it.
TEST(GraphScene, ElPunteroSigueAlObjetoQueSeMueve) {
    TGraphScene escena;
    escena.Crear<TRectangularNode>()->SetBounds(900, 900, 20, 20); // a wide index
    auto* nodo = escena.Crear<TRectangularNode>();
    auto* linea = escena.Crear<TGraphLink>();
    const struct {
        const char* nombre;
        std::function<void()> mover;
        TGraphObject* objeto;
        QPointF antes, despues;
    } casos[] = {
        {"a node moved by its bounds", [&] { nodo->SetBounds(500, 500, 20, 20); }, nodo,
         QPointF(20, 20), QPointF(510, 510)},
        {"a node moved by its left edge", [&] { nodo->SetLeft(300); }, nodo, QPointF(510, 510),
         QPointF(310, 510)},
        {"a line whose point moved", [&] { linea->SetPoint(1, QPoint(100, 700)); }, linea,
         QPointF(250, 100), QPointF(100, 600)},
    };
    nodo->SetBounds(10, 10, 20, 20);
    linea->AddPoint(QPoint(100, 100));
    linea->AddPoint(QPoint(300, 100));
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        ASSERT_EQ(escena.ObjectAt(c.antes), c.objeto);
        c.mover();
        EXPECT_EQ(escena.ObjectAt(c.despues), c.objeto);
        EXPECT_EQ(escena.ObjectAt(c.antes), nullptr);
    }
}
