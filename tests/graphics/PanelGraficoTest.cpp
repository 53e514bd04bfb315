#include "Log.h"
#include "PanelGrafico.h"
#include "PuntosPrueba.h"
#include "SenderalError.h"
#include "TrackStores.h"
#include "Trazado.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using P = TPuntoPrueba;

// The page at a fixed size with its track built; no dialogs.
struct Pagina {
    TPanelGrafico panel;
    TTrackPointStore puntos;
    explicit Pagina(const std::vector<P>& pts, bool anchoAuto = true) {
        panel.resize(900, 600);
        panel.AnchoLineaAuto = [anchoAuto] { return anchoAuto; };
        panel.Locale = QLocale::c();
        LlenarPuntos(puntos, pts);
        construir();
    }
    void construir() {
        panel.CrearGraficoRuta(puntos);
        panel.CrearGraficoAltura();
        panel.CrearGraficoVelocidad();
        panel.AjustarGraficos();
    }
};

const std::vector<P> tresPuntos = {
    {"41.0", "2.0", "850", "2021-05-01T10:00:00Z"},
    {"41.001", "2.002", "820", "2021-05-01T10:01:00Z"},
    {"41.0005", "2.004", "835", "2021-05-01T10:02:00Z"},
};

TGraphLink* polilinea(TSimpleGraph* g) {
    return dynamic_cast<TGraphLink*>(g->Object(0));
}
TGraphNode* marca(TSimpleGraph* g) {
    return dynamic_cast<TGraphNode*>(g->Object(1));
}
} // namespace

TEST(PlanoRuta, ProyeccionYNodos) {
    Pagina p(tresPuntos);
    ASSERT_EQ(p.panel.pList.size(), 3u);
    const QPoint esperado[] = {{15, 10}, {29, 0}, {45, 5}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.panel.pList[size_t(i)]->Center, esperado[i]);
        EXPECT_EQ(p.panel.pList[size_t(i)]->Tag, i + 1);
        EXPECT_EQ(p.panel.liRuta->Point(i), esperado[i]);
        EXPECT_FALSE(p.panel.pList[size_t(i)]->Options() & goSelectable);
    }
    EXPECT_EQ(p.panel.AlturaMaxima, 850);
    EXPECT_EQ(p.panel.pList[2]->Elevacion(), 835);
    EXPECT_EQ(p.panel.pList[0]->FechaHoraIni(), p.panel.pList[2]->FechaHoraIni());
    // distance text: the last point's whole metres, no grouping
    EXPECT_EQ(p.panel.TextoDistancia,
              QString::number(qint64(p.panel.pList[2]->Distancia())) + QStringLiteral(" metros"));
    // the anchor keeps the bounds at the origin
    const QRect b = p.panel.sgTrack->GraphBounds();
    EXPECT_LE(b.x(), 0);
    EXPECT_LE(b.y(), 0);
}

TEST(PlanoRuta, NumeroMaloParaLaConstruccionConError) {
    TPanelGrafico panel;
    TTrackPointStore s;
    LlenarPuntos(
        s, {{"41.0", "2.0", "850", ""}, {"41.001", "2.002", "", ""}, {"41.0x", "2.004", "1", ""}});
    EXPECT_THROW(panel.CrearGraficoRuta(s), ESenderalError);
    // the canvas update is ended and the canvas keeps working
    EXPECT_EQ(panel.sgTrack->UpdateCount(), 0);
}

TEST(PlanoRuta, AnchoAutomaticoSegunElTamano) {
    struct Caso {
        const char* nombre;
        int dx;
        bool auto_;
        int ancho;
    } casos[] = {
        {"150 units wide: 2", 99, true, 2},
        {"251 units wide: 3", 166, true, 3},
        {"1001 units wide: 12 clamped to 10", 666, true, 10},
        {"automatic width off keeps 2", 666, false, 2},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const std::string lon2 = std::to_string(2.0 + (c.dx + 0.5) / 10000.0);
        // On the equator a unit of longitude is a unit of x.
        Pagina p({{"0.0", "2.0", "100", ""}, {"0.0", lon2, "100", ""}}, c.auto_);
        EXPECT_EQ(p.panel.seAnchoLinea->value(), c.ancho);
        EXPECT_EQ(p.panel.liRuta->Pen().Width, c.ancho);
    }
}

TEST(PlanoRuta, NuncaNiLineasNiPuntos) {
    Pagina p(tresPuntos);
    ASSERT_EQ(p.panel.TipoRuta(), trLineas);
    p.panel.ActionVerConLineasExecute(); // lines off while points are off: points on
    EXPECT_EQ(p.panel.TipoRuta(), trPuntos);
    EXPECT_FALSE(p.panel.liRuta->Visible());
    EXPECT_EQ(p.panel.pList[0]->Brush().Style, bsSolid);
    p.panel.ActionVerConPuntosExecute(); // points off while lines are off: lines on
    EXPECT_EQ(p.panel.TipoRuta(), trLineas);
    EXPECT_TRUE(p.panel.liRuta->Visible());
    EXPECT_EQ(p.panel.pList[0]->Brush().Style, bsClear);
    p.panel.ActionVerConPuntosExecute();
    EXPECT_EQ(p.panel.TipoRuta(), trLineas | trPuntos);
}

// The window's lines and points commands share one path: each trigger changes the display,
// checks both commands as it stands and redraws the plan view once.
TEST(PlanoRuta, CadaOrdenDeLineasOPuntosRedibujaUnaVez) {
    Pagina p(tresPuntos);
    QAction lineas, puntos;
    TAccionesGrafico acciones;
    acciones.VerConLineas = &lineas;
    acciones.VerConPuntos = &puntos;
    p.panel.EnlazarAcciones(acciones);
    QSignalSpy redibujos(&p.panel, &TPanelGrafico::RutaRedibujada);
    const struct {
        const char* nombre;
        QAction* accion;
        TTipoRuta despues;
    } pasos[] = {
        {"points on", &puntos, trLineas | trPuntos},
        {"lines off", &lineas, trPuntos},
        {"points off while lines are off: lines on", &puntos, trLineas},
        {"lines off while points are off: points on", &lineas, trPuntos},
        {"lines on", &lineas, trLineas | trPuntos},
    };
    for (const auto& paso : pasos) {
        SCOPED_TRACE(paso.nombre);
        redibujos.clear();
        paso.accion->trigger();
        EXPECT_EQ(p.panel.TipoRuta(), paso.despues);
        EXPECT_EQ(redibujos.count(), 1);
        EXPECT_EQ(lineas.isChecked(), bool(paso.despues & trLineas));
        EXPECT_EQ(puntos.isChecked(), bool(paso.despues & trPuntos));
        EXPECT_EQ(p.panel.liRuta->Visible(), bool(paso.despues & trLineas));
        EXPECT_EQ(p.panel.pList[0]->Brush().Style, paso.despues & trPuntos ? bsSolid : bsClear);
    }
}

TEST(PlanoRuta, AnchoCincoDaMarcasDeDiez) {
    Pagina p(tresPuntos);
    p.panel.seAnchoLinea->setValue(5);
    EXPECT_EQ(p.panel.liRuta->Pen().Width, 5);
    const TTrackNode* n = p.panel.pList[2];
    EXPECT_EQ(n->BoundsRect(), QRect(45 - 5, 5 - 5, 10, 10));
    EXPECT_EQ(n->Pen().Style, psClear);
    EXPECT_EQ(n->Brush().Color, clNavy);
    // the topmost point (y 0) has its mark at top 0, not -5
    EXPECT_EQ(p.panel.pList[1]->Top(), 0);
    p.panel.seAnchoLinea->setValue(3);
    EXPECT_EQ(p.panel.pList[1]->Top(), 0);
    EXPECT_EQ(p.panel.pList[1]->Height(), 6);
    // any value is clamped to 1..10
    p.panel.seAnchoLinea->setValue(40);
    EXPECT_EQ(p.panel.liRuta->Pen().Width, 10);
}

TEST(PlanoRuta, RuedaYZoom) {
    Pagina p(tresPuntos);
    p.panel.show();
    p.panel.sgTrack->SetZoom(100);
    bool handled = false;
    const QPoint centro =
        p.panel.sgTrack->viewport()->mapToGlobal(p.panel.sgTrack->viewport()->rect().center());
    p.panel.sgTrackMouseWheel(centro, &handled, -1);
    EXPECT_TRUE(handled);
    EXPECT_EQ(p.panel.sgTrack->Zoom(), 95);
    handled = false;
    p.panel.sgTrackMouseWheel(p.panel.sgTrack->viewport()->mapToGlobal(QPoint(-5, -5)), &handled,
                              -1);
    EXPECT_FALSE(handled);
    EXPECT_EQ(p.panel.sgTrack->Zoom(), 95);
    p.panel.actZoomInExecute();
    EXPECT_EQ(p.panel.sgTrack->Zoom(), 105);
    p.panel.actZoomOutExecute();
    p.panel.actZoomOutExecute();
    EXPECT_EQ(p.panel.sgTrack->Zoom(), 85);
    // the centre command: fit the route, then 90 % of it, whatever the zoom before
    p.panel.ActionCentrarExecute();
    const int z = p.panel.sgTrack->Zoom();
    p.panel.sgTrack->SetZoom(300);
    p.panel.ActionCentrarExecute();
    EXPECT_EQ(z, p.panel.sgTrack->Zoom());
}

TEST(PlanoRuta, ModosYGrid) {
    Pagina p(tresPuntos);
    p.panel.ActionGraficoMoverExecute();
    EXPECT_EQ(p.panel.sgTrack->CommandMode(), cmPan);
    p.panel.ActionEditModeExecute();
    EXPECT_EQ(p.panel.sgTrack->CommandMode(), cmViewOnly);
    const bool grid = p.panel.sgTrack->ShowGrid();
    p.panel.actVerGridExecute();
    EXPECT_NE(p.panel.sgTrack->ShowGrid(), grid);
}

// "Save as image" writes the view as the user sees it, at the zoom in force.
TEST(PlanoRuta, ExportarProponeRuta1EnLaCarpetaYGrabaLaVista) {
    Pagina p(tresPuntos);
    p.panel.show();
    QCoreApplication::processEvents();
    QTemporaryDir dir;
    p.panel.CarpetaRuta = dir.path();
    p.panel.colbFondoGraficoChange(clNavy);
    EXPECT_EQ(p.panel.sgTrack->Color(), clNavy);
    QString propuesto;
    const QString elegido = dir.filePath(QStringLiteral("salida"));
    p.panel.DialogoGrabarBMP = [&](const QString& prop) {
        propuesto = prop;
        return elegido;
    };
    for (const int zoomExtra : {0, 60}) {
        SCOPED_TRACE(zoomExtra);
        p.panel.sgTrack->ChangeZoomBy(zoomExtra, zoCenter);
        p.panel.ActionExporGraficotBMPExecute();
        EXPECT_EQ(propuesto, dir.filePath(QStringLiteral("ruta1.bmp")));
        const QImage img(elegido + QStringLiteral(".bmp"));
        ASSERT_FALSE(img.isNull());
        const QImage vista =
            p.panel.sgTrack->viewport()->grab().toImage().convertToFormat(img.format());
        EXPECT_EQ(img.size(), p.panel.sgTrack->viewport()->size());
        EXPECT_TRUE(img == vista) << "the picture is not the view on screen";
        EXPECT_EQ(img.pixelColor(0, img.height() - 1), ColorAQColor(clNavy));
        QFile::remove(elegido + QStringLiteral(".bmp"));
    }
    // cancel does nothing
    p.panel.DialogoGrabarBMP = [](const QString&) { return QString(); };
    EXPECT_NO_THROW(p.panel.ActionExporGraficotBMPExecute());
}

// Centre puts the route itself in the middle of the view at 90 % of the fit.
TEST(PlanoRuta, CentrarPoneLaRutaEnMedio) {
    const std::pair<const char*, std::vector<P>> casos[] = {
        {"three points", tresPuntos},
        {"east-west line", {{"46.0", "7.0", "1", ""}, {"46.0", "7.05", "1", ""}}},
        {"north-south line", {{"46.0", "7.0", "1", ""}, {"46.05", "7.0", "1", ""}}},
    };
    for (const auto& [nombre, pts] : casos) {
        SCOPED_TRACE(nombre);
        Pagina p(pts);
        p.panel.show();
        QCoreApplication::processEvents();
        p.panel.sgTrack->SetScrollPos(QPoint(0, 0));
        p.panel.ActionCentrarExecute();
        TSimpleGraph* t = p.panel.sgTrack;
        QRectF r;
        for (const QPoint& q : p.panel.liRuta->Points())
            r = r.united(QRectF(t->GraphToClient(QPointF(q)), QSizeF(0.001, 0.001)));
        EXPECT_NEAR(r.center().x(), t->ClientWidth() / 2.0, 3);
        EXPECT_NEAR(r.center().y(), t->ClientHeight() / 2.0, 3);
        // the route fills about 90 % of the side that limits it
        EXPECT_GT(std::max(r.width() / t->ClientWidth(), r.height() / t->ClientHeight()), 0.75);
    }
}

// However large the route, the view the build leaves shows all of it, centred.
TEST(PlanoRuta, UnaRutaEnormeSeVeEntera) {
    const std::pair<const char*, std::vector<P>> casos[] = {
        {"3 degrees east-west",
         {{"0.0", "1.0", "1", ""}, {"0.01", "2.5", "1", ""}, {"0.0", "4.0", "1", ""}}},
        {"6 degrees north-south",
         {{"40.0", "3.0", "1", ""}, {"43.0", "3.01", "1", ""}, {"46.0", "3.0", "1", ""}}},
        {"30 degrees both ways (coarser unit)",
         {{"10.0", "-20.0", "1", ""}, {"40.0", "10.0", "1", ""}}},
    };
    for (const auto& [nombre, pts] : casos) {
        SCOPED_TRACE(nombre);
        Pagina p(pts);
        p.panel.show();
        QCoreApplication::processEvents();
        p.panel.ActionCentrarExecute();
        TSimpleGraph* t = p.panel.sgTrack;
        QRectF r;
        for (const QPoint& q : p.panel.liRuta->Points())
            r = r.united(QRectF(t->GraphToClient(QPointF(q)), QSizeF(0.001, 0.001)));
        EXPECT_GE(r.left(), 0);
        EXPECT_GE(r.top(), 0);
        EXPECT_LE(r.right(), t->ClientWidth());
        EXPECT_LE(r.bottom(), t->ClientHeight());
        EXPECT_GT(std::max(r.width() / t->ClientWidth(), r.height() / t->ClientHeight()), 0.75);
        EXPECT_NEAR(r.center().x(), t->ClientWidth() / 2.0, 3);
        EXPECT_NEAR(r.center().y(), t->ClientHeight() / 2.0, 3);
    }
}

TEST(PlanoRuta, ImprimirAPdfYCancelar) {
    Pagina p(tresPuntos);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("ruta.pdf"));
    bool preguntado = false;
    p.panel.DialogoImpresora = [&](QPrinter& printer) {
        preguntado = true;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    p.panel.ActionImprimirRutaExecute();
    EXPECT_TRUE(preguntado);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
    // cancelling the set-up prints nothing
    const QString otro = dir.filePath(QStringLiteral("otro.pdf"));
    p.panel.DialogoImpresora = [&](QPrinter& printer) {
        printer.setOutputFileName(otro);
        return false;
    };
    p.panel.ActionImprimirRutaExecute();
    EXPECT_FALSE(QFile::exists(otro));
}

TEST(PlanoRuta, DobleClicEscribeCuatroLineas) {
    Pagina p(tresPuntos);
    TLog log;
    p.panel.Log = &log;
    const int antes = int(log.Lineas().size());
    p.panel.sgTrackDblClick();
    ASSERT_EQ(int(log.Lineas().size()), antes + 4);
    const QStringList l = log.Lineas().mid(antes);
    EXPECT_EQ(l[0],
              QStringLiteral("sgTrack.ClientHeight: %1").arg(p.panel.sgTrack->ClientHeight()));
    EXPECT_EQ(l[1], QStringLiteral("sgTrack.ClientWidth: %1").arg(p.panel.sgTrack->ClientWidth()));
    EXPECT_TRUE(l[2].startsWith(QStringLiteral("sgTrack.ClientOrigin: ")));
    EXPECT_EQ(l[3], QStringLiteral("sgTrack.ClientRect: (0,0) - (%1-%2)")
                        .arg(p.panel.sgTrack->viewport()->width())
                        .arg(p.panel.sgTrack->viewport()->height()));
}

TEST(Graficos, AlturaVelocidadYMarcadores) {
    Pagina p(tresPuntos);
    for (TSimpleGraph* g : {p.panel.sgAltura, p.panel.sgVelocidad}) {
        ASSERT_EQ(g->ObjectCount(), 2);
        ASSERT_NE(polilinea(g), nullptr);
        ASSERT_NE(marca(g), nullptr);
        EXPECT_EQ(polilinea(g)->PointCount(), 3);
        EXPECT_TRUE(marca(g)->Options() & goSelectable);
    }
    const TGraphLink* alt = polilinea(p.panel.sgAltura);
    EXPECT_EQ(alt->Point(0).y(), 10); // 850 m, the highest
    EXPECT_EQ(alt->Point(1).y(), 40); // 820 m
    EXPECT_EQ(alt->Pen().Color, clLime);
    EXPECT_EQ(polilinea(p.panel.sgVelocidad)->Pen().Color, clHotLight);
    // the x spread over the visible width, left edge at 0
    for (TSimpleGraph* g : {p.panel.sgAltura, p.panel.sgVelocidad}) {
        const QRect vb = g->VisibleBounds();
        const double s = double(vb.x() + vb.width()) / 3;
        EXPECT_EQ(vb.x(), 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(polilinea(g)->Point(i).x(), XGrafico(i, s));
    }
}

TEST(Graficos, AjustarAnchoMantieneYYZoom) {
    Pagina p(tresPuntos);
    p.panel.show();
    QCoreApplication::processEvents();
    TSimpleGraph* g = p.panel.sgAltura;
    const int zoom = g->Zoom();
    std::vector<int> ys;
    for (int i = 0; i < 3; ++i)
        ys.push_back(polilinea(g)->Point(i).y());
    const int x2 = polilinea(g)->Point(2).x();
    p.panel.resize(1400, 600);
    QCoreApplication::processEvents();
    p.panel.AjustarGraficos();
    EXPECT_EQ(g->Zoom(), zoom);
    EXPECT_GT(polilinea(g)->Point(2).x(), x2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(polilinea(g)->Point(i).y(), ys[size_t(i)]);
}

TEST(Graficos, ConstruidaFueraDePantallaSeAjustaAlMostrarse) {
    // The load builds the page while another page is shown, at a size it will not keep.
    Pagina p(tresPuntos);
    p.panel.resize(1200, 800);
    p.panel.show();
    QCoreApplication::processEvents();
    TSimpleGraph* t = p.panel.sgTrack;
    const int zoom = t->Zoom();
    p.panel.ActionCentrarExecute();
    EXPECT_EQ(zoom, t->Zoom()) << "the fit is the one of the size shown";
    QRectF r;
    for (const QPoint& q : p.panel.liRuta->Points())
        r = r.united(QRectF(t->GraphToClient(QPointF(q)), QSizeF(0.001, 0.001)));
    EXPECT_NEAR(r.center().x(), t->ClientWidth() / 2.0, 3);
    EXPECT_NEAR(r.center().y(), t->ClientHeight() / 2.0, 3);
    // the graphs span their panels' width
    TSimpleGraph* g = p.panel.sgAltura;
    const QPointF ultimo = g->GraphToClient(polilinea(g)->Point(2));
    EXPECT_GT(ultimo.x(), g->ClientWidth() * 0.6);
    EXPECT_LE(ultimo.x(), g->ClientWidth());
}

TEST(Graficos, PaginaDeUnaPilaConstruidaMientrasSeVeOtra) {
    // As in the window: the data page is shown while the plan page is built.
    QStackedWidget pila;
    auto* datos = new QWidget;
    auto* panel = new TPanelGrafico;
    pila.addWidget(datos);
    pila.addWidget(panel);
    pila.resize(1100, 700);
    pila.show();
    QCoreApplication::processEvents();
    panel->AnchoLineaAuto = [] { return true; };
    panel->setGeometry(pila.contentsRect());
    TTrackPointStore s;
    LlenarPuntos(s, tresPuntos);
    panel->CrearGraficoRuta(s);
    panel->CrearGraficoAltura();
    panel->CrearGraficoVelocidad();
    panel->AjustarGraficos();
    pila.resize(1300, 800); // the window changes size meanwhile
    QCoreApplication::processEvents();
    pila.setCurrentWidget(panel);
    QCoreApplication::processEvents();
    for (TSimpleGraph* g : {panel->sgAltura, panel->sgVelocidad}) {
        const QPointF primero = g->GraphToClient(polilinea(g)->Point(0));
        const QPointF ultimo = g->GraphToClient(polilinea(g)->Point(2));
        EXPECT_LT(primero.x(), g->ClientWidth() * 0.1);
        EXPECT_GT(ultimo.x(), g->ClientWidth() * 0.6);
        EXPECT_LE(ultimo.x(), g->ClientWidth());
    }
    TSimpleGraph* t = panel->sgTrack;
    const int zoom = t->Zoom();
    panel->ActionCentrarExecute();
    EXPECT_EQ(zoom, t->Zoom());
}

// A page built before it has its size (the snapshot mode loads at start-up, while the
// page area is still hidden) is fitted again when it is first shown.
TEST(Graficos, PaginaConstruidaAntesDeTenerTamanoSeAjustaAlMostrarse) {
    QStackedWidget pila;
    auto* datos = new QWidget;
    auto* panel = new TPanelGrafico;
    pila.addWidget(datos);
    pila.addWidget(panel);
    pila.resize(1100, 700);
    panel->AnchoLineaAuto = [] { return true; };
    TTrackPointStore s;
    LlenarPuntos(
        s, {{"46.0", "7.0", "1", ""}, {"46.003", "7.001", "2", ""}, {"46.001", "7.004", "3", ""}});
    panel->CrearGraficoRuta(s); // never shown: the canvas has no real size yet
    pila.show();
    pila.setCurrentWidget(panel);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->sgTrack->isVisible(); }, 2000));
    QTest::qWait(50);
    TSimpleGraph* t = panel->sgTrack;
    QRectF r;
    for (const QPoint& q : panel->liRuta->Points())
        r = r.united(QRectF(t->GraphToClient(QPointF(q)), QSizeF(0.001, 0.001)));
    EXPECT_GT(std::max(r.width() / t->ClientWidth(), r.height() / t->ClientHeight()), 0.75)
        << "the route is a speck: " << r.width() << " x " << r.height();
    EXPECT_NEAR(r.center().x(), t->ClientWidth() / 2.0, 3);
}

TEST(Graficos, RutaSinPuntos) {
    TPanelGrafico panel;
    TTrackPointStore s;
    LlenarPuntos(s, {});
    panel.CrearGraficoRuta(s);
    panel.CrearGraficoAltura();
    panel.CrearGraficoVelocidad();
    panel.AjustarGraficos();
    EXPECT_EQ(panel.TextoDistancia, QStringLiteral("0 metros"));
    EXPECT_EQ(polilinea(panel.sgAltura)->PointCount(), 0);
    panel.MarcarPunto(0); // nothing to mark, no failure
    panel.pnlAnimacion->ActionPLayAnimExecute();
    EXPECT_FALSE(panel.pnlAnimacion->EstaAnimando);
}

TEST(Inspeccion, PrimerYUltimoPunto) {
    Pagina p(tresPuntos);
    struct Caso {
        const char* nombre;
        QLocale locale;
        QString distancia0;
    } casos[] = {
        {"C locale", QLocale::c(), QStringLiteral("0 m/0.0 km")},
        {"German locale", QLocale(QLocale::German, QLocale::Germany), QStringLiteral("0 m/0,0 km")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        p.panel.Locale = c.locale;
        p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[0]);
        EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 1"));
        EXPECT_EQ(p.panel.pnlGraficoDatos->lbldgDistAcum->text(), c.distancia0);
        EXPECT_EQ(p.panel.pnlGraficoDatos->lbldgElevacion->text(),
                  c.locale.decimalPoint() == QStringLiteral(",") ? QStringLiteral("850,00 metros")
                                                                 : QStringLiteral("850.00 metros"));
    }
    for (int i : {0, 2}) {
        SCOPED_TRACE(i);
        p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[size_t(i)]);
        for (TSimpleGraph* g : {p.panel.sgAltura, p.panel.sgVelocidad}) {
            ASSERT_TRUE(marca(g)->Visible());
            EXPECT_FALSE(marca(g)->Selected());
            const QRect b = g->GraphBounds();
            const int s = (b.x() + b.width()) / 50;
            EXPECT_EQ(marca(g)->Width(), std::max(s, 1));
            EXPECT_EQ(marca(g)->Left(), std::max(0, polilinea(g)->Point(i).x() - s / 2));
        }
    }
}

TEST(Inspeccion, LineaYAnclaOcultanMarcadores) {
    Pagina p(tresPuntos);
    p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[1]);
    const QString antes = p.panel.pnlGraficoDatos->lblEnterMouse->text();
    TGraphObject* ancla = nullptr;
    for (int i = 0; i < p.panel.sgTrack->ObjectCount(); ++i)
        if (dynamic_cast<TRectangularNode*>(p.panel.sgTrack->Object(i)))
            ancla = p.panel.sgTrack->Object(i);
    ASSERT_NE(ancla, nullptr);
    for (TGraphObject* o : {static_cast<TGraphObject*>(p.panel.liRuta), ancla}) {
        p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[1]);
        p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, o);
        EXPECT_FALSE(marca(p.panel.sgAltura)->Visible());
        EXPECT_FALSE(marca(p.panel.sgVelocidad)->Visible());
        EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), antes);
    }
    // the anchor answers the pointer at the empty top-left corner
    EXPECT_EQ(p.panel.sgTrack->Scene().ObjectAt(QPointF(2, 2)), ancla);
    // with lines only the invisible marks still answer
    EXPECT_EQ(p.panel.sgTrack->Scene().ObjectAt(QPointF(45, 5)), p.panel.pList[2]);
    // focus loss empties the labels and hides the markers
    p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[1]);
    p.panel.sgTrackExit();
    EXPECT_TRUE(p.panel.pnlGraficoDatos->lblEnterMouse->text().isEmpty());
    EXPECT_FALSE(marca(p.panel.sgAltura)->Visible());
}

namespace {
void moverRaton(QWidget* w, QPoint pos) {
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A raster of cols x rows points 0.002 degrees apart, walked row by row, every other
// row backwards (so the line joins rows at their ends).
std::vector<P> malla(int cols, int rows) {
    std::vector<P> pts;
    for (int i = 0; i < cols * rows; ++i) {
        const int fila = i / cols, col = fila % 2 ? cols - 1 - i % cols : i % cols;
        pts.push_back({std::to_string(41.0 + fila * 0.002), std::to_string(2.0 + col * 0.002),
                       std::to_string(100 + i % 7), ""});
    }
    return pts;
}
} // namespace

// The pointer finds any point of a long route, though the canvas keeps no object per
// point; empty canvas between points changes nothing.
TEST(Inspeccion, ElPunteroEncuentraCadaPuntoDeUnaRutaLarga) {
    Pagina p(malla(50, 40));
    p.panel.show();
    QCoreApplication::processEvents();
    p.panel.ActionCentrarExecute();
    TSimpleGraph* t = p.panel.sgTrack;
    EXPECT_LT(t->ObjectCount(), 10) << "one canvas object per point";
    QWidget* vp = t->viewport();
    for (int k : {0, 1, 49, 50, 999, 1234, 1950, 1999}) {
        SCOPED_TRACE(k);
        // the middle of the point's mark (a mark on the top edge is pushed down)
        moverRaton(
            vp,
            t->GraphToClient(QRectF(p.panel.pList[size_t(k)]->BoundsRect()).center()).toPoint());
        EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(),
                  QStringLiteral("Punto: %1").arg(k + 1));
        EXPECT_EQ(marca(p.panel.sgAltura)->Left(),
                  std::max(0, polilinea(p.panel.sgAltura)->Point(k).x() -
                                  marca(p.panel.sgAltura)->Width() / 2));
    }
    // the bottom of a top-edge mark, well away from its point
    moverRaton(vp, t->GraphToClient(QPointF(p.panel.liRuta->Point(1975).x(),
                                            p.panel.pList[1975]->BoundsRect().bottom() - 2))
                       .toPoint());
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 1976"));
    // halfway between four points, outside every mark and off the line
    const QPointF a = p.panel.liRuta->Point(1234), b = p.panel.liRuta->Point(1264);
    moverRaton(vp, t->GraphToClient((a + b) / 2).toPoint());
    EXPECT_EQ(t->ObjetoBajoPuntero(), nullptr);
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 1976"));
}

// Marks on the same place: the later point lies on top and answers; the animation's
// current point comes above them all until the view is laid out again.
TEST(Inspeccion, LaMarcaDeEncimaResponde) {
    Pagina p({{"41.0", "2.0", "1", ""},
              {"41.0", "2.0", "2", ""},
              {"41.0", "2.0", "3", ""},
              {"41.01", "2.01", "4", ""}});
    const QPointF sitio(p.panel.liRuta->Point(0));
    EXPECT_EQ(p.panel.sgTrack->Scene().ObjectAt(sitio), p.panel.pList[2]);
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer(); // point 0
    EXPECT_EQ(p.panel.sgTrack->Scene().ObjectAt(sitio), p.panel.pList[0]);
    p.panel.pnlAnimacion
        ->TimerAnimTimer(); // point 1; point 0 goes back to its look but stays above 2
    EXPECT_EQ(p.panel.sgTrack->Scene().ObjectAt(sitio), p.panel.pList[1]);
    p.panel.pnlAnimacion->ActionStopAnimExecute();
    EXPECT_EQ(p.panel.sgTrack->Scene().ObjectAt(sitio), p.panel.pList[2]);
}

// What the marks look like on the picture of the view: navy points when shown, the
// current point lime over the silver line while playing, navy again after Stop.
TEST(Animacion, ElPuntoActualSeVeLimaYLosDemasVuelven) {
    Pagina p(malla(6, 5));
    p.panel.ActionVerConPuntosExecute(); // lines and points
    auto color = [&](int k) {
        const QImage img = p.panel.sgTrack->Imagen();
        const QRect m = p.panel.pList[size_t(k)]->BoundsRect(); // a top-edge mark is pushed down
        const QPoint c = m.topLeft() + QPoint(m.width() / 2, m.height() / 2) -
                         p.panel.sgTrack->GraphBounds().topLeft();
        return img.pixelColor(c);
    };
    for (int k : {0, 13, 29})
        EXPECT_EQ(color(k), ColorAQColor(clNavy)) << k;
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    for (int i = 0; i < 14; ++i)
        p.panel.pnlAnimacion->TimerAnimTimer(); // points 0 .. 13
    EXPECT_EQ(color(13), ColorAQColor(clLime));
    EXPECT_EQ(color(12), ColorAQColor(clNavy)); // the one before is back
    p.panel.pnlAnimacion->ActionStopAnimExecute();
    EXPECT_EQ(color(13), ColorAQColor(clNavy));
}

// A track of several days: every point shows its own date, not the start's.
TEST(Inspeccion, CadaPuntoMuestraSuPropiaFecha) {
    qputenv("TZ", "UTC");
    tzset();
    Pagina p({{"41.0", "2.0", "10", "2021-12-31T23:50:00Z"},
              {"41.001", "2.0", "12", "2022-01-01T00:10:00Z"},
              {"41.002", "2.0", "12", "2022-01-02T03:49:00Z"}});
    const struct {
        int punto;
        QDate fecha;
        const char* hora;
    } casos[] = {
        {0, QDate(2021, 12, 31), "23:50"},
        {1, QDate(2022, 1, 1), "00:10"},
        {2, QDate(2022, 1, 2), "03:49"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.punto);
        p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[size_t(c.punto)]);
        EXPECT_EQ(p.panel.pnlGraficoDatos->lbldgFecha->text(),
                  QLocale::c().toString(c.fecha, QLocale::ShortFormat));
        EXPECT_TRUE(p.panel.pnlGraficoDatos->lbldgHora->text().startsWith(QLatin1String(c.hora)));
    }
}

TEST(Animacion, SecuenciaDeTresPuntos) {
    Pagina p(tresPuntos);
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000); // ticks are driven by hand
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    EXPECT_TRUE(p.panel.pnlAnimacion->EstaAnimando);
    EXPECT_EQ(p.panel.liRuta->Pen().Color, clSilver);
    EXPECT_TRUE(p.panel.liRuta->Visible());
    const char* contador[] = {"0/3", "1/3", "2/3", "0/3"};
    for (const char* c : contador) {
        p.panel.pnlAnimacion->TimerAnimTimer();
        EXPECT_EQ(p.panel.pnlAnimacion->lblAnim->text(), QLatin1String(c));
        // the current point is drawn lime, on top, though the points are hidden: the
        // route's marks lie above everything and the point above every other mark
        TTrackNode* actual = p.panel.pList[size_t(p.panel.pnlAnimacion->sbAnimacion->value())];
        EXPECT_EQ(p.panel.sgTrack->Object(p.panel.sgTrack->ObjectCount() - 1),
                  p.panel.pList.Marks());
        EXPECT_EQ(p.panel.pList.Marks()->TopNode(), actual);
        const TGraphObject* arriba = actual;
        EXPECT_EQ(arriba->Brush().Style, bsSolid);
    }
    EXPECT_EQ(p.panel.pList[2]->Brush().Color, clLime); // stays after the wrap-around
    EXPECT_EQ(p.panel.pList[2]->Brush().Style, bsSolid);
    EXPECT_EQ(p.panel.pList[1]->Brush().Color, clNavy);
    EXPECT_EQ(p.panel.pList[1]->Brush().Style, bsClear); // back to the lines-only look
    p.panel.pnlAnimacion->TimerAnimTimer();              // 1/3
    EXPECT_EQ(p.panel.pList[0]->Brush().Color, clNavy);
    EXPECT_EQ(p.panel.pList[0]->Brush().Style, bsClear);
    EXPECT_EQ(p.panel.pList[2]->Brush().Color, clLime);
    EXPECT_EQ(p.panel.pnlAnimacion->sbAnimacion->maximum(), 3);
    EXPECT_EQ(p.panel.pnlAnimacion->sbAnimacion->value(), 1);
    // the pointer does not disturb the panel while playing
    p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[2]);
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 2"));
    p.panel.sgTrackExit();
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 2"));
}

TEST(Animacion, PausaYStop) {
    Pagina p(tresPuntos);
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    p.panel.pnlAnimacion->TimerAnimTimer(); // point 1
    p.panel.pnlAnimacion->ActionPauseAnimExecute();
    EXPECT_FALSE(p.panel.pnlAnimacion->EstaAnimando);
    EXPECT_FALSE(p.panel.pnlAnimacion->TimerAnim->isActive());
    EXPECT_FALSE(marca(p.panel.sgAltura)->Visible());
    // hovering works again once paused
    p.panel.sgTrackObjectMouseEnter(p.panel.sgTrack, p.panel.pList[0]);
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 1"));
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    EXPECT_EQ(p.panel.pnlAnimacion->lblAnim->text(), QStringLiteral("2/3"));

    p.panel.pnlAnimacion->ActionStopAnimExecute();
    EXPECT_EQ(p.panel.pnlAnimacion->sbAnimacion->maximum(), 0);
    EXPECT_EQ(p.panel.pnlAnimacion->animIndex, 0);
    EXPECT_FALSE(p.panel.pnlAnimacion->TimerAnim->isActive());
    // the user's display comes back, with the line in its own colour
    EXPECT_EQ(p.panel.TipoRuta(), trLineas);
    EXPECT_EQ(p.panel.liRuta->Pen().Color, clRed);
    for (TTrackNode* n : p.panel.pList) {
        EXPECT_EQ(n->Brush().Color, clNavy);
        EXPECT_EQ(n->Brush().Style, bsClear);
    }
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    EXPECT_EQ(p.panel.pnlAnimacion->lblAnim->text(), QStringLiteral("0/3"));
}

TEST(Animacion, ConSoloPuntosLaLineaAparecePlateadaYStopLaQuita) {
    Pagina p(tresPuntos);
    p.panel.ActionVerConLineasExecute(); // points only
    ASSERT_EQ(p.panel.TipoRuta(), trPuntos);
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    EXPECT_TRUE(p.panel.liRuta->Visible());
    EXPECT_EQ(p.panel.liRuta->Pen().Color, clSilver);
    p.panel.pnlAnimacion->TimerAnimTimer();
    p.panel.pnlAnimacion->TimerAnimTimer();
    EXPECT_EQ(p.panel.pList[0]->Brush().Style, bsSolid); // the user's points stay drawn
    p.panel.pnlAnimacion->ActionStopAnimExecute();
    EXPECT_EQ(p.panel.TipoRuta(), trPuntos);
    EXPECT_FALSE(p.panel.liRuta->Visible());
}

TEST(Animacion, CerrarDuranteUnTicNoTocaNodosLiberados) {
    Pagina p(tresPuntos);
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    // the close command runs while the tick lets the event loop work
    QTimer::singleShot(0, &p.panel, [&] { p.panel.Limpiar(); });
    p.panel.pnlAnimacion->TimerAnimTimer();
    EXPECT_TRUE(p.panel.pList.empty());
    EXPECT_EQ(p.panel.pnlAnimacion->animIndex, 0);
    EXPECT_FALSE(p.panel.pnlAnimacion->EstaAnimando);
}

// A close and the next track's build, both run while a tick lets the event loop work: the
// tick must not give the point it had painted before its look back on the new track.
TEST(Animacion, CerrarYAbrirOtraDuranteUnTicNoTocaLaNueva) {
    Pagina p(tresPuntos);
    p.panel.ActionVerConPuntosExecute(); // lines and points
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer(); // point 0
    QTimer::singleShot(0, &p.panel, [&] {
        p.panel.Limpiar();
        p.panel.SetTipoRuta(trLineas); // the new track shows no points
        p.construir();
    });
    p.panel.pnlAnimacion->TimerAnimTimer(); // point 1; the close and build run inside
    ASSERT_EQ(p.panel.pList.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.panel.pList[i]->Brush().Style, bsClear);
    }
}

TEST(Animacion, RitmoInmediato) {
    Pagina p(tresPuntos);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    const int tabla[][2] = {{1, 100}, {2, 50}, {3, 30}, {4, 20}, {5, 10}};
    for (const auto& f : tabla) {
        SCOPED_TRACE(f[0]);
        p.panel.pnlAnimacion->sbVElocidad->setValue(f[0]);
        EXPECT_EQ(p.panel.pnlAnimacion->TimerAnim->interval(), f[1]);
        EXPECT_TRUE(p.panel.pnlAnimacion->TimerAnim->isActive());
    }
    p.panel.pnlAnimacion->ActionStopAnimExecute();
}

TEST(Animacion, CerrarLaDejaParada) {
    Pagina p(tresPuntos);
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    p.panel.Limpiar();
    EXPECT_FALSE(p.panel.pnlAnimacion->TimerAnim->isActive());
    EXPECT_FALSE(p.panel.pnlAnimacion->EstaAnimando);
    EXPECT_EQ(p.panel.pnlAnimacion->animIndex, 0);
    EXPECT_EQ(p.panel.pnlAnimacion->sbAnimacion->maximum(), 0);
    EXPECT_FALSE(p.panel.pnlAnimacion->StateFlags & sfGoPlay);
    EXPECT_TRUE(p.panel.pList.empty());
    EXPECT_EQ(p.panel.liRuta, nullptr);
    EXPECT_EQ(p.panel.sgTrack->ObjectCount(), 0);
    EXPECT_EQ(p.panel.sgAltura->ObjectCount(), 0);
    EXPECT_EQ(p.panel.TipoRuta(), trLineas);
    // a second track builds on the emptied page
    p.construir();
    EXPECT_EQ(p.panel.pList.size(), 3u);
}

// Long tracks step over points so that a lap takes at most two minutes at the fastest
// pace (10 ms) and twenty at the slowest (100 ms); short ones show every point.
TEST(Animacion, UnaVueltaCabeEnElTiempoDelRitmo) {
    for (const int n : {1, 3, 11999, 12000, 12001, 200000, 1000000}) {
        SCOPED_TRACE(n);
        std::vector<int> vistos{0};
        int i = 0;
        while ((i = TAnimacionRuta::SiguienteIndiceAnimacion(i, n)) != 0 &&
               vistos.size() <= 2000000)
            vistos.push_back(i);
        const size_t tics = vistos.size();
        EXPECT_LE(tics * 10, 120000u) << "fastest pace over two minutes";
        EXPECT_LE(tics * 100, 1200000u) << "slowest pace over twenty minutes";
        EXPECT_EQ(vistos.back(), n - 1) << "the last point is shown before starting over";
        EXPECT_TRUE(std::is_sorted(vistos.begin(), vistos.end()));
        if (n <= TAnimacionRuta::MaximoTicsPorVuelta) {
            EXPECT_EQ(tics, size_t(n)) << "a short track shows every point";
        }
    }
}

// The position bar takes the replay to the point the user moves it to (keys and clicks
// reach the bar itself); the panel and the markers follow.
TEST(Animacion, LaBarraDePosicionLlevaLaAnimacionAlPunto) {
    std::vector<P> pts;
    for (int i = 0; i < 40; ++i)
        pts.push_back({"41." + std::to_string(1000 + i), "2.0", std::to_string(100 + i), ""});
    Pagina p(pts);
    p.panel.show();
    p.panel.pnlAnimacion->TimerAnim->setInterval(3600000); // ticks are driven by hand
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    p.panel.pnlAnimacion->TimerAnimTimer();
    p.panel.pnlAnimacion->ActionPauseAnimExecute();
    ASSERT_EQ(p.panel.pnlAnimacion->animIndex, 2);

    QTest::keyClick(p.panel.pnlAnimacion->sbAnimacion, Qt::Key_End);
    EXPECT_EQ(p.panel.pnlAnimacion->animIndex, 39);
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 40"));
    EXPECT_EQ(p.panel.pnlAnimacion->lblAnim->text(), QStringLiteral("39/40"));
    EXPECT_TRUE(marca(p.panel.sgAltura)->Visible());

    QTest::keyClick(p.panel.pnlAnimacion->sbAnimacion, Qt::Key_Home);
    EXPECT_EQ(p.panel.pnlAnimacion->animIndex, 0);
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(), QStringLiteral("Punto: 1"));

    // A click beside the handle pages along; playing on goes from there.
    const QRect r = p.panel.pnlAnimacion->sbAnimacion->rect();
    QTest::mouseClick(p.panel.pnlAnimacion->sbAnimacion, Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.right() - 20, r.center().y()));
    const int elegido = p.panel.pnlAnimacion->animIndex;
    EXPECT_GT(elegido, 0);
    p.panel.pnlAnimacion->ActionPLayAnimExecute();
    p.panel.pnlAnimacion->TimerAnimTimer();
    EXPECT_EQ(p.panel.pnlGraficoDatos->lblEnterMouse->text(),
              QStringLiteral("Punto: %1").arg(elegido + 1));
    // Stop puts the counter and the bar back to the start.
    p.panel.pnlAnimacion->ActionStopAnimExecute();
    EXPECT_EQ(p.panel.pnlAnimacion->lblAnim->text(), QStringLiteral("..."));
    EXPECT_EQ(p.panel.pnlAnimacion->sbAnimacion->value(), 0);
    EXPECT_EQ(p.panel.pnlAnimacion->animIndex, 0);
}
