#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class TColorBox;
class TFormData;
class TLog;
class TPaginaDatos;
class TRibbon;
class TRibbonPage;

// Kind of the info panel shown in the middle of the window.
enum TTipoInfoPanel { tiArrastre = 0, tiUpdate = 1, tiConvert = 2 };

// The main window: holds the program's state and wires commands; the views and services
// live in their subsystems and are reached through the per-subsystem functions below,
// each implemented in FormMain_<subsystem>.cpp.
class TFMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFMain(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TFMain() override;

    // The data holder is created after the window, as the program entry does.
    void SetFormData(TFormData* data);

    // ---- shell: state of the current track ----
    TFormData* FormData = nullptr;
    TLog* Log = nullptr;
    void _Log(const QString& AStr, bool AWithTime = false);
    QString FTrackPath;
    const QString& TrackPath() const { return FTrackPath; }
    int DistanciaTotal = 0;
    double AlturaMaxima = 0;
    double VelocidadMaxima = 0;
    TTipoInfoPanel ActualPanelInfo = tiArrastre;
    QString StrAcceptTypes;
    bool EXECLocal = false;
    bool DoneVisualization = false;
    QStringList Argumentos; // the program path first, then the command-line arguments

    // ---- shell: the load sequence and the life of the track ----
    void CargarRuta(QString path);
    // False, after telling the user, for a path the load refuses ('%' in it).
    bool NombreFicheroAceptable(const QString& path);
    // The window title: the program's, then the open track's file name.
    void PonerTituloVentana();
    QString TituloPrograma;
    // " (incompleto: ...)" while only the part of a damaged file before the damage is open.
    QString NotaIncompleto() const;
    void ActionAbrirTrackExecute();
    void ActionCerrarRutaExecute();
    void RibbonMainRecentItemClick(const QString& FileName);
    void FicheroArrastrado(const QStringList& paths);
    void CalcularDistanciaTotal();
    void MostrarPanelInfo(TTipoInfoPanel kind, bool show);
    void HabilitarAccionesRuta(bool enabled);
    void MostrarPaginasRuta(bool visible);
    void AgregarReciente(const QString& path);
    void RibbonMainTabChange(int NewIndex);
    void ActionSiguienteTabExecute();
    void FormResize();
    void ArranqueDiferido();
    QStringList Recientes() const;
    // True while the track commands are enabled (a track completed its load).
    bool HabilitadoTrack() const;

    // The program-wide error box: an error escaping a command handler ends here.
    static void MostrarErrorGlobal(const QString& text);
    // Tests and the snapshot mode answer the error box without a dialog.
    static std::function<void(const QString&)> ManejadorErrorGlobal;
    // Runs a command handler, sending an escaping error to the error box.
    static void Proteger(const std::function<void()>& handler);
    // Connects a command to a handler of this window through Proteger.
    void Conectar(QAction* action, std::function<void()> handler);

    // Message boxes of the four kinds; tests replace them to answer without a dialog.
    std::function<void(const QString&)> MensajeInfo;
    std::function<void(const QString&)> MensajeAviso;
    std::function<void(const QString&)> MensajeError;
    std::function<bool(const QString&)> MensajePregunta; // true = Yes
    // The open dialog; returns the chosen path or empty. Tests replace it.
    std::function<QString()> DialogoAbrir;
    QString FiltroAbrir;       // file types of the open dialog, built by the format catalogue
    QString FFiltroTodosAbrir; // the "all files" entry as FiltroAbrir was built with it

    // Pages drawn by `--snapshot`: file name and page, in page order.
    void RegistrarSnapshot(const QString& fileName, QWidget* page);
    bool GuardarSnapshots(const QString& dir, QString& error);

    // ---- shell: window parts ----
    TRibbon* RibbonMain = nullptr;
    TRibbonPage* rpRuta = nullptr;
    TRibbonPage* rpGrafico = nullptr;
    TRibbonPage* rpGoogleMaps = nullptr;
    TRibbonPage* rpPerfil = nullptr;
    TRibbonPage* rpIBPIndex = nullptr;
    TRibbonPage* rpMas = nullptr;
    QWidget* pnlBack = nullptr;
    QStackedWidget* pcCentral = nullptr;
    QWidget* tsDatosRuta = nullptr;
    QWidget* tsGraficoRuta = nullptr;
    QWidget* tsPerfil = nullptr;
    QWidget* tsGoogleMaps = nullptr;
    QWidget* tsConvertir = nullptr;
    QWidget* tsIBPIndex = nullptr;
    QWidget* tsLog = nullptr;
    QWidget* tsConfig = nullptr;
    QWidget* tsConvert = nullptr;
    TPaginaDatos* PaginaDatos = nullptr;
    QPlainTextEdit* mmLog = nullptr;
    QFrame* pnlArrastrar = nullptr;
    QLabel* imgPanelInfo = nullptr;
    QPlainTextEdit* mmPanelInfo = nullptr;
    QPlainTextEdit* mmCuadroMensajes = nullptr; // hidden: the info panel's message lines
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QProgressBar* pbarMain = nullptr;
    QLabel* StatusPanel3 = nullptr;

    // Ribbon controls that are not commands.
    QSpinBox* seAnchoLinea = nullptr;
    TColorBox* colbLinea = nullptr;
    TColorBox* colbFondoGrafico = nullptr;
    QComboBox* cbZoomPerfil = nullptr;
    QComboBox* outcbIdioma = nullptr;
    QLabel* Label22 = nullptr;
    QWidget* rgCambiarTema = nullptr; // the theme pictures' group body
    QWidget* rgDebugLog = nullptr;
    QToolButton* btnVerLog = nullptr;
    QToolButton* btnVerConfig = nullptr;
    QToolButton* btnFillCustomIni = nullptr;

    // ---- the command set ----
    QAction* Action1 = nullptr;
    QAction* ActionCerrarRuta = nullptr;
    QAction* ActionCerrarAplicacion = nullptr;
    QAction* ActionAcercaDe = nullptr;
    QAction* ActionConversionRutas = nullptr;
    QAction* ActionVerGraficoTrack = nullptr;
    QAction* ActionVerGraficoMaps = nullptr;
    QAction* ActionVerGraficoPerfil = nullptr;
    QAction* ActionVerIBPIndex = nullptr;
    QAction* ActionZoomIn = nullptr;
    QAction* ActionZoomOut = nullptr;
    QAction* ActionCentrarGraficoRuta = nullptr;
    QAction* ActionVerGrid = nullptr;
    QAction* ActionGraficoEdicion = nullptr;
    QAction* ActionGraficoMover = nullptr;
    QAction* ActionVerConPuntos = nullptr;
    QAction* ActionVerConLineas = nullptr;
    QAction* ActionImprimirRuta = nullptr;
    QAction* ActionExporGraficotBMP = nullptr;
    QAction* ActionPLayAnim = nullptr;
    QAction* ActionPauseAnim = nullptr;
    QAction* ActionStopAnim = nullptr;
    QAction* ActionGrabarImagen = nullptr;
    QAction* ActionImprimirGoogleMaps = nullptr;
    QAction* ActionVerGoogleEarth = nullptr;
    QAction* ActionConvertPLT = nullptr;
    QAction* ActionConvertKML = nullptr;
    QAction* ActionPerfilVerRelleno = nullptr;
    QAction* ActionImprimirPerfil = nullptr;
    QAction* ActionGrabarPerfilImagen = nullptr;
    QAction* ActionImprimirIBPIndex = nullptr;
    QAction* ActionGrabarIBPIndex = nullptr;
    QAction* ActionRecalcularIBP = nullptr;
    QAction* ActionAbrirWebIBPIndex = nullptr;
    QAction* ActionBuscarUpdates = nullptr;
    QAction* ActionCambiarIdioma = nullptr;
    QAction* ActionSiguienteTab = nullptr;
    QList<QAction*> Acciones() const;

    // ---- graficos ----
    // The plan page (PanelGrafico) is asked through its own methods: the load sequence sets
    // its title, the track commands' enabled rule its animation bars, the settings its
    // animation speed and tick, and the theme its panels' colour.
    // Builds the plan page's content into tsGraficoRuta and connects its commands.
    void CrearPaginaGrafico();
    void CrearGraficoRuta();
    void CrearGraficoAltura();
    void CrearGraficoVelocidad();
    // Resize: graph panel widths and refit of both graphs.
    void AjustarGraficos();
    // Close command: pList, animation reset, plan view and both graphs cleared.
    void LimpiarGraficos();
    // Stops a running animation (ribbon tab change).
    void DetenerAnimacion();
    // Moves the graph markers to a point; -99 hides them.
    void MarcarPunto(int index);
    // Start-up: points off, lines only.
    void IniciarModoLineas();
    // The plan page: pList, the three canvases, the point panel and the animation.
    class TPanelGrafico* PanelGrafico = nullptr;
    // ---- end graficos ----

    // ---- perfil ----
    void CrearPaginaPerfil();
    void PintarPerfil();
    void LimpiarPerfil();
    class TGraficoPerfil* dbchtPerfil = nullptr;
    class TVistaPerfil* vistaPerfil = nullptr; // the chart's frame with the zoom
    int PerfilImageIndex = 1;                  // the number in the profile picture's default name
    void ActionPerfilVerRellenoExecute();
    void ActionImprimirPerfilExecute();
    void ActionGrabarPerfilImagenExecute();
    void cbZoomPerfilChange();
    // ---- end perfil ----

    // ---- mapas ----
    void CrearPaginaMapas();
    void CargarGoogleMaps();
    void LimpiarMapas(); // map browser to "about:blank"
    // The map browser `wbMapaGoogle` and the map picture's number live on the map page;
    // the export text `mmConvertTrack` and its buttons on the export page `tsConvertir`.
    class TPaginaGoogleMaps* PaginaGoogleMaps = nullptr;
    class TPaginaExportarRuta* PaginaExportarRuta = nullptr;
    void wbMapaGoogleDocumentComplete(); // a route's map loaded: the tab's caption
    void ActionImprimirGoogleMapsExecute();
    void ActionGrabarImagenExecute();
    void ActionVerGoogleEarthExecute();
    void ActionConvertirRutaKMLExecute();
    void ActionConvertirRutaPLTExecute();
    // The folder proposed by the picture dialogs.
    QString CarpetaImagenes() const;
    // The save dialog (title, filters, chosen filter, default extension, initial path;
    // returns the chosen path or empty) and the desktop's "open" of a file. Tests
    // replace them.
    std::function<QString(const QString&, const QStringList&, int, const QString&, const QString&)>
        DialogoGuardar;
    std::function<bool(const QString&)> AbrirConAsociado;
    // ---- end mapas ----

    // ---- conversion ----
    void CrearPaginaConversion();
    void CargarFormatos();
    // Converts a non-GPX track to GPX; false (after its own warning) when it cannot.
    bool ImportarComoGPX(const QString& path, QString& gpxPath);
    void ActionConversionRutasExecute();
    QStringList ConvertList;
    // One GPSBabel run (source, destination, target description), as the wizard starts it.
    struct TResultadoConversion ConvertirFichero(const QString& origen, const QString& destino,
                                                 const QString& descripcion);
    // The GPSBabel program file: the configuration box `edtBabel` when the page has one.
    QString RutaGPSBabel() const;
    void PonerRutaGPSBabel(const QString& path);
    class TAsistenteConversion* AsistenteConversion = nullptr; // the page `tsConvert`
    std::shared_ptr<class TCatalogoFormatos> Catalogo;         // "DataCnv.s3db"
    QString FRutaGPSBabel; // used while no configuration box exists
    // ---- end conversion ----

    // ---- ibp ----
    void CrearPaginaIBP();
    void ConsultarIBP();
    // Whether the loaded track may be uploaded; asks the first time.
    bool PermisoEnvioIBP();
    void LimpiarIBP(); // browser to "about:blank", results cleared
    void ColocarIndicadorIBP();
    // The result browser `wbIBPIndex`, the busy indicator `pnlanim` and the last result
    // (IBPIndexPage, IBPIndexPDFFilename) live on this page (the elaborated name declares
    // the class at namespace scope).
    class TPaginaIBP* PaginaIBP = nullptr;
    void RefreshClick();
    void ActionRecalcularIBPExecute();
    void ActionImprimirIBPIndexExecute();
    void ActionGrabarIBPIndexExecute();
    void ActionAbrirWebIBPIndexExecute();
    // ---- end ibp ----

    // ---- idioma ----
    void CrearIdioma();
    // Start-up: choose the language file and apply it to the window.
    void CargarIdiomaInicio();
    // The language selector's change handler: applies the chosen language.
    void outcbIdiomaChange();
    // The language file in force: the configuration box `edtConfigIdioma`.
    QString FicheroIdioma() const;
    void PonerFicheroIdioma(const QString& fileName);
    // The selector's displayed text; a text that is none of its items is shown as it is.
    QString TextoIdioma() const;
    void PonerTextoIdioma(const QString& text);
    // Loads a language file and applies it to this window; an unreadable file is logged.
    void AplicarIdiomaVentana(const QString& fileName);
    // Writes "Custom.ini" and "ComboBox.txt". The plan-view build calls it on every
    // load: a failure is only logged there and returned as false.
    bool FillCustomIni();
    void Label22Click();
    // ---- end idioma ----

    // ---- config ----
    void CrearPaginaConfig();
    void RestaurarConfiguracion(); // window creation
    void AplicarTemaInicio();      // first show
    void RestaurarValoresInicio(); // deferred start-up, stored values again
    void ComprobarActualizacionesInicio();
    void GuardarConfiguracion(); // after a confirmed close
    void LimpiarCache();         // window close
    QString TextoVersionPrograma() const;
    // The configuration page's controls ("Ver Config", developer mode). The stored
    // values reach them when the page is built.
    QComboBox* outcbConfigEstilo = nullptr; // the theme list
    QCheckBox* cbConfigUpdateInicio = nullptr;
    // May loaded tracks go to the IBPindex service: asked once, changed here.
    QCheckBox* cbConfigEnviarIBP = nullptr;
    int FEnvioIBP = -1;            // 1 yes, 0 no, -1 not asked yet
    QLineEdit* edtBabel = nullptr; // the converter program's path
    QCheckBox* cbAnchoLineaAuto = nullptr;
    QLineEdit* edtConfigIdioma = nullptr; // the language file in force
    // The settings read at creation (defaults without a settings file).
    const struct TConfiguracion& Configuracion() const;
    QString ConfigUpdateURL() const;   // [Config] UpdateURL: the update server
    QString ConfigIBPIndexURL() const; // [Config] IBPIndexURL: empty = the public service
    void imgChangeTemaClick(int Tag);  // theme picture, Tag 1..3
    void outcbConfigEstiloChange(int index);
    void AplicarTema(int Tag);
    void ActionBuscarUpdatesExecute(bool silencioso);
    void ActionAcercaDeExecute();
    // The desktop's browser (false when nothing opened the address), and the way out when
    // the updater takes over; tests replace them.
    std::function<bool(const class QUrl&)> AbrirDireccionWeb;
    // Opens an address in the browser; when that fails the user is told which address.
    void AbrirWeb(const class QUrl& url);
    std::function<void()> SalirParaActualizar;
    void AplicarPropiedadesGuardadas();
    void AplicarTemaGuardado();
    void AplicarPosicionVentana();
    void CrearImagenesTema();
    struct TPosicionVentana PosicionVentanaActual() const;
    std::shared_ptr<struct TConfiguracion> FConfig;
    bool FConfigExiste = false;
    QString FicheroConfig;
    // ---- end config ----

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void crearAcciones();
    void crearRibbon();
    void crearCentro();
    void crearBarraEstado();
    void crearPanelInfo();
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void CentrarPanelInfo();
    void MostrarPagina(QWidget* page);

    bool FCreando = true;
    bool FMostrado = false;
    bool FCerrando = false;
    QMenu* FMenuAplicacion = nullptr;
    QAction* FSeparadorRecientes = nullptr;
    QList<QAction*> FRecientes;
    std::vector<std::pair<QString, QPointer<QWidget>>> FSnapshots;
};
