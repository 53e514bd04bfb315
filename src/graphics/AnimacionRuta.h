#pragma once

#include <QGroupBox>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QScrollBar;
class QTimer;
class QToolButton;
class TPanelGrafico;

enum TStateFlag { sfPlaying = 1, sfGoPlay = 2 };
using TStateFlags = int;

// The replay of the track on the plan page: the panel "Animación" with its play, pause and
// stop buttons, the position and speed bars and the timer. Each tick paints the current
// point lime on the plan view, puts the graphs' markers on it and fills the point panel.
class TAnimacionRuta : public QGroupBox {
    Q_OBJECT
  public:
    // The replay runs over `pagina`'s points; the panel is one of its children.
    explicit TAnimacionRuta(TPanelGrafico& pagina, QWidget* parent);
    ~TAnimacionRuta() override;

    QToolButton* sbStop = nullptr;
    QToolButton* sbPause = nullptr;
    QToolButton* sbPlay = nullptr;
    QLabel* lblAnim = nullptr;
    QScrollBar* sbAnimacion = nullptr;
    QScrollBar* sbVElocidad = nullptr;
    QTimer* TimerAnim = nullptr;

    TStateFlags StateFlags = 0;
    bool EstaAnimando = false;
    int animIndex = 0;
    // The silver line of the replay: from play until stop, paused too.
    bool Reproduciendo() const { return StateFlags & (sfGoPlay | sfPlaying); }

    // The window's three commands, one radio group shown by the buttons; any may be missing.
    void EnlazarAcciones(QAction* play, QAction* pause, QAction* stop);

    void ActionPLayAnimExecute();
    void ActionPauseAnimExecute();
    void ActionStopAnimExecute();
    void TimerAnimTimer();
    void sbVElocidadChange();
    // The user moved the position bar: the replay goes on from that point.
    void sbAnimacionChange(int value);
    // The track is closing: stopped, at the start, nothing of it shown; the points the
    // nodes a tick still holds are gone.
    void Limpiar();
    // The bar's place as the replay stands, after the plan view was built again.
    void ColocarBarra() { moverBarra(animIndex); }

    // A lap shows at most this many points, so the fastest pace (10 ms) replays any track
    // in two minutes and the slowest (100 ms) in twenty; shorter tracks show every point.
    static constexpr int MaximoTicsPorVuelta = 12000;
    static int PasoAnimacion(int puntos);
    static int SiguienteIndiceAnimacion(int i, int puntos);

  private:
    void ejecutar(const std::function<void()>& handler);
    void moverBarra(int value);
    void marcarAccion(QAction* accion);

    TPanelGrafico& FPagina;
    QAction* FPlay = nullptr;
    QAction* FPause = nullptr;
    QAction* FStop = nullptr;
    QActionGroup* FGrupo = nullptr;
    // Changes with every close, so that a tick resumed after the event loop ran can tell
    // that the nodes it holds are gone.
    unsigned FGeneracion = 0;
    int FAnimPrevio = -1;        // the point the last tick painted lime
    bool FMoviendoBarra = false; // the replay itself is moving the position bar
};
