#pragma once

#include "SimpleGraph.h"
#include "TrackPointMarks.h"

#include <QPointer>
#include <QLocale>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QGroupBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QScrollBar;
class QSpinBox;
class QTimer;
class QToolButton;
class TLog;
class TTablaMedidas;
class TTrackPointStore;

// What the plan view draws: the line, the points, or both.
enum TTipoRutas { trLineas = 1, trPuntos = 2 };
using TTipoRuta = int;

enum TStateFlag { sfPlaying = 1, sfGoPlay = 2 };
using TStateFlags = int;

// The window's commands that this page answers; any may be missing.
struct TAccionesGrafico {
    QAction* ZoomIn = nullptr;
    QAction* ZoomOut = nullptr;
    QAction* CentrarGraficoRuta = nullptr;
    QAction* VerGrid = nullptr;
    QAction* GraficoEdicion = nullptr;
    QAction* GraficoMover = nullptr;
    QAction* VerConPuntos = nullptr;
    QAction* VerConLineas = nullptr;
    QAction* ImprimirRuta = nullptr;
    QAction* ExporGraficotBMP = nullptr;
    QAction* PLayAnim = nullptr;
    QAction* PauseAnim = nullptr;
    QAction* StopAnim = nullptr;
};

// The page "Gráfico ruta": the plan view of the track with its title bar, the point
// panel, the animation panel and the altitude and speed graphs. It holds the node list
// every later view reads and the state of inspection and animation.
class TPanelGrafico : public QWidget {
    Q_OBJECT
public:
    explicit TPanelGrafico(QWidget* parent = nullptr);
    ~TPanelGrafico() override;

    // ---- widgets
    QLabel* pnlTitulo = nullptr;
    TSimpleGraph* sgTrack = nullptr;
    TSimpleGraph* sgAltura = nullptr;
    TSimpleGraph* sgVelocidad = nullptr;
    QWidget* pnlGraficosAux = nullptr;
    QGroupBox* pnlAuxAltura = nullptr;
    QGroupBox* pnlAuxVelocidad = nullptr;
    QGroupBox* pnlGraficoDatos = nullptr;
    QLabel* lblEnterMouse = nullptr;
    QLabel* lbldgFecha = nullptr;
    QLabel* lbldgHora = nullptr;
    QLabel* lbldgLatitud = nullptr;
    QLabel* lbldgLongitud = nullptr;
    QLabel* lbldgElevacion = nullptr;
    QLabel* lbldgDistAcum = nullptr;
    QLabel* lbldgAscAcum = nullptr;
    QLabel* lbldgDescAcum = nullptr;
    QLabel* lbldgVelocidad = nullptr;
    QGroupBox* pnlAnimacion = nullptr;
    QToolButton* sbStop = nullptr;
    QToolButton* sbPause = nullptr;
    QToolButton* sbPlay = nullptr;
    QLabel* lblAnim = nullptr;
    QScrollBar* sbAnimacion = nullptr;
    QScrollBar* sbVElocidad = nullptr;
    QTimer* TimerAnim = nullptr;
    // The line width box of the ribbon (a box of the page's own until one is given).
    QPointer<QSpinBox> seAnchoLinea; // may live in the ribbon, which can go first
    void UsarAnchoLinea(QSpinBox* box);
    void EnlazarAcciones(const TAccionesGrafico& acciones);

    // ---- what the window lends the page
    QProgressBar* pbarMain = nullptr;
    TLog* Log = nullptr;
    // The configuration's "Calcular ancho de línea automáticamente".
    std::function<bool()> AnchoLineaAuto = [] { return true; };
    // Run once per build, before the points are placed (the translation template).
    std::function<void()> AntesDeColocarPuntos;
    // Dialogs, replaced by tests: the chosen file name (empty = cancel) and the printer
    // set-up (false = cancel).
    std::function<QString(const QString& propuesto)> DialogoGrabarBMP;
    std::function<bool(QPrinter& printer)> DialogoImpresora;
    // Runs a handler started by a command, the timer or the canvas, so that an error it
    // raises reaches the program's error box; without it the handler just runs.
    std::function<void(const std::function<void()>&)> Proteger;
    // Folder of the loaded track, where the export proposes its file.
    QString CarpetaRuta;
    // Separators and date and time formats of the point panel.
    QLocale Locale = QLocale::system();

    // ---- state
    // The points' nodes, made as they are asked for; the plan view draws and hits every
    // point through one object, pList.Marks().
    TTrackNodeList pList;
    TGraphLink* liRuta = nullptr;
    TTipoRuta TipoRuta() const { return FTipoRuta; }
    void SetTipoRuta(TTipoRuta value);
    TStateFlags StateFlags = 0;
    bool EstaAnimando = false;
    int animIndex = 0;
    double AlturaMaxima = 0;
    double VelocidadMaxima = 0;
    // "12345 metros": the route's distance as the data page shows it.
    QString TextoDistancia;
    TColor ColorLinea() const { return FColorLinea; }
    TColor ColorFondo() const { return FColorFondo; }

    // ---- plan view
    // From the track's numbers, which the page keeps while it shows them.
    void CrearGraficoRuta(std::shared_ptr<const TTablaMedidas> medidas);
    void CrearGraficoRuta(const TTrackPointStore& points);
    // -1 takes the value from its control.
    void RedibujarRuta(int ancho, qint64 colorLinea, qint64 colorFondo);
    void seAnchoLineaChange();
    void colbLineaChange(TColor color);
    void colbFondoGraficoChange(TColor color);
    void ActionVerConLineasExecute();
    void ActionVerConPuntosExecute();
    void actZoomInExecute();
    void actZoomOutExecute();
    void actVerGridExecute();
    void ActionGraficoMoverExecute();
    void ActionEditModeExecute();
    void ActionCentrarExecute();
    void ActionExporGraficotBMPExecute();
    void ActionImprimirRutaExecute();
    void sgTrackDblClick();
    void sgTrackMouseWheel(const QPoint& screenPos, bool* handled, int step);

    // ---- graphs
    void CrearGraficoAltura();
    void CrearGraficoVelocidad();
    void AjustarGraficoAncho(TSimpleGraph* canvas);
    // Both graphs, speed first, as the window's resize does.
    void AjustarGraficos();

    // ---- inspection
    void sgTrackObjectMouseEnter(TSimpleGraph* canvas, TGraphObject* object);
    void sgTrackObjectMouseLeave(TSimpleGraph* canvas, TGraphObject* object);
    void sgTrackExit();
    void MarcarPunto(int index);

    // ---- animation
    void ActionPLayAnimExecute();
    void ActionPauseAnimExecute();
    void ActionStopAnimExecute();
    void TimerAnimTimer();
    void sbVElocidadChange();
    // The user moved the position bar: the replay goes on from that point.
    void sbAnimacionChange(int value);
    // A lap shows at most this many points, so the fastest pace (10 ms) replays any track
    // in two minutes and the slowest (100 ms) in twenty; shorter tracks show every point.
    static constexpr int MaximoTicsPorVuelta = 12000;
    static int PasoAnimacion(int puntos);
    static int SiguienteIndiceAnimacion(int i, int puntos);

    // The close command: animation stopped, node list and the three canvases emptied.
    void Limpiar();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void crearPagina();
    QWidget* crearPanelDatos();
    QWidget* crearPanelAnimacion();
    void crearGrafico(TSimpleGraph* canvas, TColor color, bool altura);
    void sincronizarChecks();
    void asegurarGeometria();
    void ejecutar(const std::function<void()>& handler);
    void ajustarGrafico(TSimpleGraph* canvas);
    void alRedimensionar(TSimpleGraph* canvas);
    void dejarPasarEventos(int hechos, int total);
    int anchoLinea() const;

    TTipoRuta FTipoRuta = trLineas;
    // The display chosen by the user while the animation shows its own.
    TTipoRuta FTipoRutaUsuario = trLineas;
    bool FMostrandoAnimacion = false;
    TColor FColorLinea = clRed;
    TColor FColorFondo = clWhite;
    TAccionesGrafico FAcciones;
    QActionGroup* FGrupoAnim = nullptr;
    bool FConstruyendo = false;
    // Canvases built while the page was off screen: their fit waits for their real size.
    bool FAjustePendienteRuta = false;
    bool FAjustePendienteAltura = false;
    bool FAjustePendienteVelocidad = false;
    // Changes with every close, so that code resumed after the event loop ran can tell
    // that the nodes it holds are gone.
    unsigned FGeneracion = 0;
    int FAnimPrevio = -1;        // the point the last tick painted lime
    bool FMoviendoBarra = false; // the replay itself is moving the position bar
    void moverBarra(int value);
    // The numbers the nodes read; freed with them.
    std::vector<std::shared_ptr<const TTablaMedidas>> FMedidas;
    // The table of the route on the page, if any.
    const TTablaMedidas* tablaRuta() const { return FMedidas.empty() ? nullptr : FMedidas.back().get(); }
};
