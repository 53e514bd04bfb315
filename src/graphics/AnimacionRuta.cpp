#include "AnimacionRuta.h"

#include "PanelGrafico.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

TAnimacionRuta::TAnimacionRuta(TPanelGrafico& pagina, QWidget* parent)
    : QGroupBox(QStringLiteral("Animación"), parent), FPagina(pagina) {
    setObjectName(QStringLiteral("pnlAnimacion"));
    TimerAnim = new QTimer(this);
    TimerAnim->setObjectName(QStringLiteral("TimerAnim"));
    TimerAnim->setInterval(50);
    connect(TimerAnim, &QTimer::timeout, this, [this] { ejecutar([this] { TimerAnimTimer(); }); });

    auto* g = new QGridLayout(this);
    auto* botones = new QHBoxLayout;
    auto boton = [this, botones](QToolButton*& b, const char* nombre, const QString& hint) {
        b = new QToolButton(this);
        b->setObjectName(QLatin1String(nombre));
        b->setToolTip(hint);
        b->setStatusTip(hint);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        botones->addWidget(b);
    };
    boton(sbStop, "sbStop", QStringLiteral("Detener la animación"));
    boton(sbPause, "sbPause", QStringLiteral("Pausar la animación"));
    boton(sbPlay, "sbPlay", QStringLiteral("Comenzar/reanudar la animación"));
    sbStop->setText(QStringLiteral("■"));
    sbPause->setText(QStringLiteral("❚❚"));
    sbPlay->setText(QStringLiteral("▶"));
    sbStop->setChecked(true);
    botones->addStretch(1);
    lblAnim = new QLabel(QStringLiteral("..."), this);
    lblAnim->setObjectName(QStringLiteral("lblAnim"));
    botones->addWidget(lblAnim);
    g->addLayout(botones, 0, 0, 1, 2);

    auto* lPos = new QLabel(QStringLiteral("Posición:"), this);
    lPos->setObjectName(QStringLiteral("lblPosicion"));
    sbAnimacion = new QScrollBar(Qt::Horizontal, this);
    sbAnimacion->setObjectName(QStringLiteral("sbAnimacion"));
    sbAnimacion->setToolTip(QStringLiteral("Posición dentro de la ruta"));
    sbAnimacion->setStatusTip(sbAnimacion->toolTip());
    sbAnimacion->setRange(0, 0);
    g->addWidget(lPos, 1, 0);
    g->addWidget(sbAnimacion, 1, 1);
    // The user moves the replay by dragging the bar (or clicking it, or its keys); the
    // replay's own moves of the bar come through sbAnimacionChange's guard.
    connect(sbAnimacion, &QScrollBar::valueChanged, this,
            [this](int value) { ejecutar([this, value] { sbAnimacionChange(value); }); });

    auto* lVel = new QLabel(QStringLiteral("Vel. Anim:"), this);
    lVel->setObjectName(QStringLiteral("lblVelAnim"));
    sbVElocidad = new QScrollBar(Qt::Horizontal, this);
    sbVElocidad->setObjectName(QStringLiteral("sbVElocidad"));
    sbVElocidad->setToolTip(QStringLiteral("Velocidad de la animación"));
    sbVElocidad->setStatusTip(sbVElocidad->toolTip());
    sbVElocidad->setRange(1, 5);
    sbVElocidad->setPageStep(1);
    sbVElocidad->setValue(2);
    g->addWidget(lVel, 2, 0);
    g->addWidget(sbVElocidad, 2, 1);
    connect(sbVElocidad, &QScrollBar::valueChanged, this,
            [this] { ejecutar([this] { sbVElocidadChange(); }); });
}

TAnimacionRuta::~TAnimacionRuta() {
    TimerAnim->stop();
}

void TAnimacionRuta::EnlazarAcciones(QAction* play, QAction* pause, QAction* stop) {
    FPlay = play;
    FPause = pause;
    FStop = stop;
    auto enlazar = [this](QAction* act, void (TAnimacionRuta::*handler)()) {
        if (act)
            connect(act, &QAction::triggered, this,
                    [this, handler] { ejecutar([this, handler] { (this->*handler)(); }); });
    };
    enlazar(play, &TAnimacionRuta::ActionPLayAnimExecute);
    enlazar(pause, &TAnimacionRuta::ActionPauseAnimExecute);
    enlazar(stop, &TAnimacionRuta::ActionStopAnimExecute);
    // The three commands form one radio group; the buttons show them.
    if (!play || !pause || !stop)
        return;
    FGrupo = new QActionGroup(this);
    FGrupo->setExclusive(true);
    for (QAction* act : {stop, pause, play}) {
        act->setCheckable(true);
        FGrupo->addAction(act);
    }
    sbStop->setDefaultAction(stop);
    sbPause->setDefaultAction(pause);
    sbPlay->setDefaultAction(play);
    for (QToolButton* b : {sbStop, sbPause, sbPlay})
        if (b->icon().isNull())
            b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    if (stop->text().isEmpty())
        stop->setText(QStringLiteral("■"));
    if (pause->text().isEmpty())
        pause->setText(QStringLiteral("❚❚"));
    if (play->text().isEmpty())
        play->setText(QStringLiteral("▶"));
    stop->setChecked(true);
}

void TAnimacionRuta::ejecutar(const std::function<void()>& handler) {
    if (FPagina.Proteger)
        FPagina.Proteger(handler);
    else
        handler();
}

void TAnimacionRuta::marcarAccion(QAction* accion) {
    if (accion)
        accion->setChecked(true);
}

void TAnimacionRuta::ActionPLayAnimExecute() {
    if (FPagina.pList.empty())
        return;
    StateFlags |= sfGoPlay;
    FPagina.MostrarAnimacion(true);
    FMoviendoBarra = true;
    sbAnimacion->setMaximum(int(FPagina.pList.size()));
    FMoviendoBarra = false;
    EstaAnimando = true;
    TimerAnim->start();
    sbPlay->setChecked(true);
    marcarAccion(FPlay);
}

void TAnimacionRuta::TimerAnimTimer() {
    TTrackNodeList& puntos = FPagina.pList;
    const int n = int(puntos.size());
    if (n == 0) {
        TimerAnim->stop();
        return;
    }
    const int i = animIndex < n ? animIndex : 0;
    TTrackNode* nodo = puntos[size_t(i)];
    const int anchoPrevio = nodo->Pen().Width;
    const TColor colorPrevio = nodo->Pen().Color;
    const TBrushStyle estiloPrevio = nodo->Brush().Style;
    nodo->SetPenWidth(1);
    nodo->SetPenColor(clLime);
    nodo->SetBrushColor(clLime);
    // Drawn even with the points hidden, and above its neighbours' marks.
    nodo->SetBrushStyle(bsSolid);
    nodo->BringToFront();
    nodo->Invalidate();
    moverBarra(i);
    FPagina.MarcarPunto(i);
    lblAnim->setText(QStringLiteral("%1/%2").arg(i).arg(n));
    FPagina.sgTrackObjectMouseEnter(nullptr, nodo);
    const int previo = FAnimPrevio;
    FAnimPrevio = i;
    animIndex = SiguienteIndiceAnimacion(i, n);
    const unsigned generacion = FGeneracion;
    QCoreApplication::processEvents();
    // A close run meanwhile freed the nodes.
    if (generacion != FGeneracion || i == 0 || previo < 0 || previo == i ||
        size_t(previo) >= puntos.size())
        return;
    // The point painted by the tick before (the one before this point, or wherever the
    // replay stood before a jump or a step over points).
    TTrackNode* anterior = puntos[size_t(previo)];
    anterior->SetPenWidth(anchoPrevio);
    anterior->SetPenColor(colorPrevio);
    anterior->SetBrushColor(colorPrevio);
    anterior->SetBrushStyle(estiloPrevio);
}

int TAnimacionRuta::PasoAnimacion(int puntos) {
    return std::max(1, (puntos + MaximoTicsPorVuelta - 1) / MaximoTicsPorVuelta);
}

int TAnimacionRuta::SiguienteIndiceAnimacion(int i, int puntos) {
    if (i >= puntos - 1)
        return 0;
    // Long tracks step over points, but the last one is always shown before starting over.
    return std::min(i + PasoAnimacion(puntos), puntos - 1);
}

void TAnimacionRuta::moverBarra(int value) {
    FMoviendoBarra = true;
    sbAnimacion->setValue(value);
    FMoviendoBarra = false;
}

void TAnimacionRuta::sbAnimacionChange(int value) {
    const int n = int(FPagina.pList.size());
    if (FMoviendoBarra || n == 0 || value < 0)
        return;
    value = std::min(value, n - 1); // the bar's end is the last point
    // The replay goes on from the chosen point; while paused it is shown at once.
    animIndex = value;
    if (EstaAnimando)
        return;
    FPagina.MarcarPunto(value);
    lblAnim->setText(QStringLiteral("%1/%2").arg(value).arg(n));
    FPagina.sgTrackObjectMouseEnter(nullptr, FPagina.pList[size_t(value)]);
}

void TAnimacionRuta::ActionPauseAnimExecute() {
    EstaAnimando = false;
    TimerAnim->stop();
    sbPause->setChecked(true);
    marcarAccion(FPause);
    StateFlags &= ~sfGoPlay;
    FPagina.MarcarPunto(-99);
}

void TAnimacionRuta::ActionStopAnimExecute() {
    moverBarra(0);
    sbAnimacion->setMaximum(0);
    EstaAnimando = false;
    animIndex = 0;
    FAnimPrevio = -1;
    lblAnim->setText(QStringLiteral("..."));
    TimerAnim->stop();
    sbStop->setChecked(true);
    marcarAccion(FStop);
    StateFlags &= ~sfGoPlay;
    FPagina.MostrarAnimacion(false);
}

void TAnimacionRuta::sbVElocidadChange() {
    // Bar position 1 .. 5 to the tick, slowest to fastest.
    static constexpr int intervalos[] = {100, 50, 30, 20, 10};
    const int v = sbVElocidad->value();
    if (v >= 1 && v <= 5)
        TimerAnim->setInterval(intervalos[v - 1]);
}

void TAnimacionRuta::Limpiar() {
    ++FGeneracion;
    FAnimPrevio = -1;
    TimerAnim->stop();
    StateFlags &= ~sfGoPlay;
    sbAnimacion->setMaximum(0);
    EstaAnimando = false;
    animIndex = 0;
    sbStop->setChecked(true);
    marcarAccion(FStop);
    // Nothing of this track may show when the next one opens.
    lblAnim->setText(QStringLiteral("..."));
    moverBarra(0);
}
