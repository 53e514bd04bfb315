#pragma once

#include "AnimacionRuta.h"
#include "PanelPunto.h"
#include "SimpleGraph.h"
#include "TrackPointMarks.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QSpinBox;
class TLog;
class TSensoresPuntos;
class TTablaFiguras;
class TTablaMedidas;
class TTrackPointStore;
struct TFigurasTramo;

// What the plan view draws: the line, the points, or both.
enum TTipoRutas { trLineas = 1, trPuntos = 2 };
using TTipoRuta = int;

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
// panel (TPanelPunto), the animation panel (TAnimacionRuta) and the altitude and speed
// graphs. It holds the node list every later view reads.
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
    // The point under the pointer, or the replay's current point.
    TPanelPunto* pnlGraficoDatos = nullptr;
    // What the right-hand graph plots: speed, or a sensor quantity the track has.
    QComboBox* cbGraficoDerecho = nullptr;
    // The figures of the chosen stretch; hidden while there is none.
    QGroupBox* pnlTramo = nullptr;
    QLabel* lblTramoPuntos = nullptr;
    QLabel* lblTramoDistancia = nullptr;
    QLabel* lblTramoTiempo = nullptr;
    QLabel* lblTramoMovimiento = nullptr;
    QLabel* lblTramoDesnivel = nullptr;
    QLabel* lblTramoDesnivelFiltrado = nullptr;
    QLabel* lblTramoVelocidad = nullptr;
    QLabel* lblTramoPendienteMedia = nullptr;
    QLabel* lblTramoPendienteMaxima = nullptr;
    // The replay of the track: its buttons, position and speed bars and timer.
    TAnimacionRuta* pnlAnimacion = nullptr;
    // The line width box of the ribbon (a box of the page's own until one is given).
    QPointer<QSpinBox> seAnchoLinea; // may live in the ribbon, which can go first
    void UsarAnchoLinea(QSpinBox* box);
    void EnlazarAcciones(const TAccionesGrafico& acciones);

    // ---- what the window asks of the page
    // The title bar over the plan view; the load writes the track's path into it.
    void SetTitulo(const QString& texto);
    QString Titulo() const;
    // The position and speed bars follow the track commands' enabled state.
    void HabilitarAnimacion(bool enabled);
    // The speed bar's position (1 slowest .. 5 fastest) and the replay's tick in ms, as
    // the settings keep them. Setting the position sets its own tick; a saved tick set
    // after it wins.
    int VelocidadAnimacion() const;
    void PonerVelocidadAnimacion(int posicion);
    int IntervaloAnimacion() const;
    void PonerIntervaloAnimacion(int ms);
    // The theme's colour behind the title bar and the point, graphs and animation panels.
    void PintarFondo(const QColor& color);

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
    // The built track's filtered climb, grade and stretch figures, and its sensor values;
    // the window gives them from the data holder. Without them the panel leaves those
    // rows empty and no stretch can be chosen.
    std::function<std::shared_ptr<const TTablaFiguras>()> Figuras;
    std::function<const TSensoresPuntos*()> Sensores;
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

    // ---- right-hand graph
    // What the right-hand graph can plot: speed, then the sensor quantities (Sensor + 1).
    enum TMagnitudGrafico { mgVelocidad = 0, mgPulso, mgCadencia, mgPotencia, mgTemperatura };
    TMagnitudGrafico MagnitudGrafico() const { return FMagnitud; }
    // Plots `m` (speed when the track does not have it) and lists the track's quantities.
    void ElegirMagnitudGrafico(TMagnitudGrafico m);
    static TColor ColorMagnitud(TMagnitudGrafico m);

    // ---- stretch
    // The chosen stretch as 0-based point numbers, first <= last; -1 when none.
    int TramoDesde() const { return FTramoDesde; }
    int TramoHasta() const { return FTramoHasta; }
    // Chooses points a to b (either order): highlights them and shows their figures.
    void ElegirTramo(int a, int b);
    // Forgets the stretch and the point a shift-click would stretch from.
    void QuitarTramo();
    // The point of the plan view nearest to a client position of sgTrack, within a few
    // pixels; -1 when none is that close.
    int PuntoEnPlano(const QPoint& clientPos) const;
    // The point of a graph at a client x position of its canvas; beside the line -1, or
    // with `alBorde` the nearest end.
    int PuntoEnGrafico(TSimpleGraph* grafico, int clientX, bool alBorde = false) const;

    // ---- what the replay asks of the page
    // Play shows the line always (silver while it plays) with the points as the user had
    // them; stop gives back the display the user had chosen. Either redraws the plan view.
    void MostrarAnimacion(bool mostrar);

    // The close command: animation stopped, node list and the three canvases emptied.
    void Limpiar();

  signals:
    // The plan view's look was set again (line, points, width, colour).
    void RutaRedibujada();

  protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void crearPagina();
    QWidget* crearPanelTramo();
    void crearListaGrafico();
    void llenarListaGrafico();
    void colocarListaGrafico();
    void mostrarFilasSensores();
    int yGrafico(int indice, bool altura) const;
    void mostrarTramo();
    void resaltarTramo();
    void clicEnPlano(const QPoint& pos, Qt::KeyboardModifiers mods);
    bool ratonEnGrafico(TSimpleGraph* grafico, QEvent* e);
    void marcarDesdeClic(int indice, Qt::KeyboardModifiers mods);
    void crearGrafico(TSimpleGraph* canvas, TColor color, bool altura);
    void sincronizarChecks();
    void alternarVista(TTipoRuta parte);
    void dejarVistaAnimacion();
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
    bool FConstruyendo = false;
    // Canvases built while the page was off screen: their fit waits for their real size.
    bool FAjustePendienteRuta = false;
    bool FAjustePendienteAltura = false;
    bool FAjustePendienteVelocidad = false;
    // The numbers the nodes read; freed with them.
    std::vector<std::shared_ptr<const TTablaMedidas>> FMedidas;
    // The table of the route on the page, if any.
    const TTablaMedidas* tablaRuta() const {
        return FMedidas.empty() ? nullptr : FMedidas.back().get();
    }

    TMagnitudGrafico FMagnitud = mgVelocidad;
    QString FTituloVelocidad;            // the speed graph's own title while another quantity shows
    int FMarcado = -1;                   // the point the graphs' markers are on
    std::vector<double> FValoresGrafico; // the sensor plotted, a value for every point
    double FMaximoGrafico = 0;
    int FTramoDesde = -1, FTramoHasta = -1;
    int FAncla = -1;   // the point a shift-click stretches from
    QPoint FPulsacion; // where the left button went down on the plan view
    bool FPulsado = false;
    int FArrastreDesde = -1; // the point a drag across a graph started on
    QPoint FArrastreInicio;
    bool FArrastrando = false;
    QElapsedTimer FRelojArrastre; // since the drag's last update of the stretch
    qint64 FCosteArrastreMs = 0;  // how long to wait before the next one
};
