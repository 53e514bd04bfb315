// Settings, themes, the cache folder, the update check and the about window.
#include "FormMain.h"

#include "AppPaths.h"
#include "AsistenteConversion.h"
#include "BuscadorActualizaciones.h"
#include "Carpetas.h"
#include "ColorBox.h"
#include "Configuracion.h"
#include "FormData.h"
#include "FormSplash.h"
#include "IBPConfig.h"
#include "IniTexto.h"
#include "Log.h"
#include "MotivoRed.h"
#include "NavegadorMapa.h"
#include "PaginaDatos.h"
#include "PanelGrafico.h"
#include "Ribbon.h"
#include "Temas.h"
#include "TextosVentana.h"
#include "Verbario.h"
#include "Version.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
// The window's side of the update check.
class TVentanaActualizacion : public TInterfazActualizacion {
  public:
    explicit TVentanaActualizacion(TFMain& w) : FMain(w) {}
    bool PanelArrastreVisible() const override {
        return FMain.pnlArrastrar->isVisible() && FMain.ActualPanelInfo == tiArrastre;
    }
    void MostrarPanelUpdate(bool mostrar) override { FMain.MostrarPanelInfo(tiUpdate, mostrar); }
    void MostrarPanelArrastre() override { FMain.MostrarPanelInfo(tiArrastre, true); }
    void Informar(const QString& texto) override { FMain.MensajeInfo(texto); }
    void Advertir(const QString& texto) override { FMain.MensajeAviso(texto); }
    bool Preguntar(const QString& texto) override { return FMain.MensajePregunta(texto); }
    void TextoEstadoVersion(const QString& texto) override { FMain.StatusPanel1->setText(texto); }
    void AbrirDireccion(const QString& direccion) override {
        FMain.AbrirWeb(QUrl::fromUserInput(direccion.trimmed()));
    }
    void Log(const QString& linea) override { FMain._Log(linea); }
    void TerminarPrograma() override { FMain.SalirParaActualizar(); }

  private:
    TFMain& FMain;
};

void pintarFondo(QWidget* w, const QColor& color) {
    if (!w)
        return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, color);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

// ---------------------------------------------------------------------------------------
// The settings

void TFMain::RestaurarConfiguracion() {
    FicheroConfig = FicheroConfiguracion();
    const TIniTexto ini = TIniTexto::AjustesDesdeFichero(FicheroConfig, &FConfigExiste);
    FConfig = std::make_shared<TConfiguracion>(LeerConfiguracion(ini));
    // The IBP index requests read their service address from here on.
    SetIBPIndexURL(FConfig->IBPIndexURL);
    // The map's tiles too, for every map page from now on.
    EstablecerConfigTeselas(LeerConfigTeselas([&ini](const QString& clave) {
        return ini.TieneClave(kSeccionConfig, clave) ? ini.Valor(kSeccionConfig, clave) : QString();
    }));
    if (FormData)
        FormData->AjustesFiguras.UmbralDesnivelM = FConfig->UmbralDesnivel;
    if (PaginaDatos)
        PaginaDatos->RefrescarFiguras();
}

const TConfiguracion& TFMain::Configuracion() const {
    static const TConfiguracion porDefecto;
    return FConfig ? *FConfig : porDefecto;
}

QString TFMain::ConfigUpdateURL() const {
    return Configuracion().UpdateURL;
}
QString TFMain::ConfigIBPIndexURL() const {
    return Configuracion().IBPIndexURL;
}

void TFMain::CrearPaginaConfig() {
    if (!FConfig)
        RestaurarConfiguracion();
    auto* pagina = new QWidget(tsConfig);
    pagina->setObjectName(QStringLiteral("pnlConfig"));
    auto* col = new QVBoxLayout(pagina);

    auto* grupo = new QGroupBox(pagina);
    grupo->setObjectName(QStringLiteral("gbConfigTema"));
    auto* filaTema = new QHBoxLayout(grupo);
    auto* lblTema = new QLabel(QStringLiteral("Tema de visualización:"), grupo);
    lblTema->setObjectName(QStringLiteral("lblConfigTema"));
    outcbConfigEstilo = new QComboBox(grupo);
    outcbConfigEstilo->setObjectName(QStringLiteral("outcbConfigEstilo"));
    outcbConfigEstilo->addItems(NombresTemas());
    // The list shows the theme in force: the window starts in the Luna look.
    outcbConfigEstilo->setCurrentIndex(kTemaLuna);
    filaTema->addWidget(lblTema);
    filaTema->addWidget(outcbConfigEstilo, 1);
    col->addWidget(grupo);

    cbConfigUpdateInicio = new QCheckBox(
        QStringLiteral("&Comprobar actiualizaciones al iniciar la aplicación."), pagina);
    cbConfigUpdateInicio->setObjectName(QStringLiteral("cbConfigUpdateInicio"));
    col->addWidget(cbConfigUpdateInicio);

    cbConfigEnviarIBP = new QCheckBox(
        QStringLiteral("Enviar las rutas cargadas al servicio IBPindex para calcular su "
                       "dificultad."),
        pagina);
    cbConfigEnviarIBP->setObjectName(QStringLiteral("cbConfigEnviarIBP"));
    connect(cbConfigEnviarIBP, &QCheckBox::clicked, this,
            [this](bool marcado) { FEnvioIBP = marcado ? 1 : 0; });
    col->addWidget(cbConfigEnviarIBP);

    auto* lblBabel = new QLabel(QStringLiteral("Ubicacion para la aplicacion GPSBabel:"), pagina);
    lblBabel->setObjectName(QStringLiteral("lblConfigBabel"));
    edtBabel = new QLineEdit(pagina);
    edtBabel->setObjectName(QStringLiteral("edtBabel"));
    col->addWidget(lblBabel);
    col->addWidget(edtBabel);

    cbAnchoLineaAuto =
        new QCheckBox(QStringLiteral("Calcular ancho de línea automáticamente"), pagina);
    cbAnchoLineaAuto->setObjectName(QStringLiteral("cbAnchoLineaAuto"));
    col->addWidget(cbAnchoLineaAuto);

    auto* filaIdioma = new QHBoxLayout;
    auto* lblIdioma = new QLabel(QStringLiteral("Idioma de la aplicación: "), pagina);
    lblIdioma->setObjectName(QStringLiteral("lblConfigIdioma"));
    // The language file named before this box existed is kept in it.
    const QString idiomaPrevio = property("edtConfigIdioma").toString();
    edtConfigIdioma = new QLineEdit(idiomaPrevio, pagina);
    edtConfigIdioma->setObjectName(QStringLiteral("edtConfigIdioma"));
    filaIdioma->addWidget(lblIdioma);
    filaIdioma->addWidget(edtConfigIdioma, 1);
    col->addLayout(filaIdioma);
    col->addStretch(1);
    tsConfig->layout()->addWidget(pagina);

    connect(outcbConfigEstilo, &QComboBox::currentIndexChanged, this,
            [this](int index) { Proteger([&] { outcbConfigEstiloChange(index); }); });
    CrearImagenesTema();
    Conectar(ActionBuscarUpdates, [this] { ActionBuscarUpdatesExecute(false); });
    Conectar(ActionAcercaDe, [this] { ActionAcercaDeExecute(); });
    if (!AbrirDireccionWeb)
        AbrirDireccionWeb = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    if (!SalirParaActualizar)
        SalirParaActualizar = [] { QCoreApplication::exit(0); };

    // Every control now exists: the stored properties reach them.
    AplicarPropiedadesGuardadas();
}

void TFMain::AplicarPropiedadesGuardadas() {
    const TConfiguracion& c = Configuracion();
    seAnchoLinea->setValue(c.seAnchoLinea_Value);
    colbLinea->SetSelected(ColorDesdeValor(c.colbLinea_Selected));
    cbConfigUpdateInicio->setChecked(c.cbConfigUpdateInicio_Checked);
    FEnvioIBP = c.EnviarIBP;
    cbConfigEnviarIBP->setChecked(FEnvioIBP == 1);
    ActionVerConLineas->setChecked(c.ActionVerConLineas_Checked);
    ActionVerConPuntos->setChecked(c.ActionVerConPuntos_Checked);
    edtBabel->setText(c.edtBabel_Text);
    if (PanelGrafico) {
        PanelGrafico->PonerVelocidadAnimacion(c.sbVElocidad_Position);
        PanelGrafico->PonerIntervaloAnimacion(c.TimerAnim_Interval);
    }
    cbAnchoLineaAuto->setChecked(c.cbAnchoLineaAuto_Checked);
    outcbIdioma->setCurrentIndex(c.outcbIdioma_ItemIndex);
}

void TFMain::RestaurarValoresInicio() {
    if (!FConfigExiste)
        return;
    RestaurarConfiguracion();
    AplicarTemaGuardado();
    const TConfiguracion& c = Configuracion();
    PonerFicheroIdioma(c.Idioma);
    PonerTextoIdioma(c.IdiomaTexto);
    edtBabel->setText(c.GPSBabel);
}

void TFMain::GuardarConfiguracion() {
    if (!FConfig)
        RestaurarConfiguracion();
    TConfiguracion c = *FConfig;
    c.Idioma = FicheroIdioma().trimmed();
    c.IdiomaTexto = TextoIdioma().trimmed();
    c.GPSBabel = edtBabel->text().trimmed();
    c.Tema = outcbConfigEstilo->findText(outcbConfigEstilo->currentText(), Qt::MatchExactly);

    c.seAnchoLinea_Value = seAnchoLinea->value();
    c.colbLinea_Selected = ValorDesdeColor(colbLinea->Selected());
    c.cbConfigUpdateInicio_Checked = cbConfigUpdateInicio->isChecked();
    c.EnviarIBP = FEnvioIBP;
    c.ActionVerConLineas_Checked = ActionVerConLineas->isChecked();
    c.ActionVerConPuntos_Checked = ActionVerConPuntos->isChecked();
    c.edtBabel_Text = edtBabel->text().trimmed();
    if (PanelGrafico) {
        c.TimerAnim_Interval = PanelGrafico->IntervaloAnimacion();
        c.sbVElocidad_Position = PanelGrafico->VelocidadAnimacion();
    }
    c.cbAnchoLineaAuto_Checked = cbAnchoLineaAuto->isChecked();
    c.outcbIdioma_ItemIndex = outcbIdioma->currentIndex();
    c.Ventana = PosicionVentanaActual();

    QString error;
    if (!::GuardarConfiguracion(c, NombresTemas(), FicheroConfig, &error)) {
        // The program still closes, but the user learns that the settings were not kept.
        const QString texto =
            QStringLiteral("No se ha podido guardar la configuración:\r\n") + error;
        _Log(texto);
        MensajeAviso(texto);
    }
    *FConfig = c;
}

// ---------------------------------------------------------------------------------------
// Window placement

TPosicionVentana TFMain::PosicionVentanaActual() const {
    TPosicionVentana v = Configuracion().Ventana;
    v.FormVersion = 0;
    v.ShowCmd = isMinimized()   ? TPosicionVentana::swMinimizada
                : isMaximized() ? TPosicionVentana::swMaximizada
                                : TPosicionVentana::swNormal;
    // Restoring a window minimised from maximised brings it back maximised.
    v.Flags = isMinimized() && (windowState() & Qt::WindowMaximized) ? 2 : 0;
    v.PixelsPerInch = qRound(screen() ? screen()->logicalDotsPerInch() : 96.0);
    v.NormPos = normalGeometry().isValid() ? normalGeometry() : geometry();
    v.Visible = isVisible();
    return v;
}

void TFMain::AplicarPosicionVentana() {
    const TPosicionVentana& v = Configuracion().Ventana;
    if (!v.Presente)
        return;
    QList<QRect> pantallas;
    for (const QScreen* s : QGuiApplication::screens())
        pantallas << s->availableGeometry();
    // The primary screen first: a window off every screen is brought back there.
    if (const QScreen* primaria = QGuiApplication::primaryScreen())
        pantallas.prepend(primaria->availableGeometry());
    const QRect r = TraerAPantalla(v.NormPos, pantallas);
    resize(r.size().expandedTo(minimumSize()));
    move(r.topLeft());
    if (v.ShowCmd == TPosicionVentana::swMaximizada)
        setWindowState(windowState() | Qt::WindowMaximized);
    else if (v.ShowCmd == TPosicionVentana::swMinimizada)
        setWindowState(windowState() | Qt::WindowMinimized);
}

// ---------------------------------------------------------------------------------------
// Themes

void TFMain::CrearImagenesTema() {
    auto* fila = qobject_cast<QHBoxLayout*>(rgCambiarTema->layout());
    if (!fila) {
        fila = new QHBoxLayout(rgCambiarTema);
        fila->setContentsMargins(2, 2, 2, 2);
        fila->setSpacing(4);
    }
    const char* recursos[] = {":/temas/tema_obsidian.svg", ":/temas/tema_luna.svg",
                              ":/temas/tema_silver.svg"};
    const char* nombres[] = {"imgTemaObsidian", "imgTemaLuna", "imgTemaSilver"};
    for (const TTema& tema : Temas()) {
        auto* imagen = new QToolButton(rgCambiarTema);
        imagen->setObjectName(QLatin1String(nombres[tema.Indice]));
        imagen->setProperty("Tag", tema.Indice + 1);
        imagen->setAutoRaise(true);
        imagen->setIconSize(QSize(48, 36));
        imagen->setIcon(QIcon(DibujarSvg(QLatin1String(recursos[tema.Indice]), QSize(48, 36))));
        imagen->setToolTip(tema.Nombre);
        imagen->setStatusTip(tema.Nombre);
        imagen->setCursor(Qt::PointingHandCursor);
        const int etiqueta = tema.Indice + 1;
        connect(imagen, &QToolButton::clicked, this,
                [this, etiqueta] { Proteger([&] { imgChangeTemaClick(etiqueta); }); });
        fila->addWidget(imagen);
    }
}

void TFMain::imgChangeTemaClick(int Tag) {
    AplicarTema(Tag);
}

void TFMain::outcbConfigEstiloChange(int index) {
    if (TemaDeIndice(index))
        AplicarTema(index + 1);
}

void TFMain::AplicarTema(int Tag) {
    const TTema* tema = TemaDeEtiqueta(Tag);
    if (!tema)
        return;
    RibbonMain->setEsquema(static_cast<TRibbon::Esquema>(tema->EsquemaRibbon));
    const QColor& color = tema->ColorVentana;
    pintarFondo(this, color);
    pintarFondo(pnlBack, color);
    pintarFondo(statusBar(), color);
    if (AsistenteConversion)
        pintarFondo(AsistenteConversion->pnlConvertRuta, color);
    if (PanelGrafico)
        PanelGrafico->PintarFondo(color);
    if (pbarMain) {
        pintarFondo(pbarMain, color);
        QPalette pal = pbarMain->palette();
        pal.setColor(QPalette::Base, color);
        pbarMain->setPalette(pal);
    }
    // The title row of the data page's point grid.
    if (PaginaDatos)
        PaginaDatos->dbgPuntos->horizontalHeader()->setStyleSheet(
            QStringLiteral("QHeaderView::section { background-color: %1; }").arg(color.name()));
    const QSignalBlocker bloqueo(outcbConfigEstilo);
    outcbConfigEstilo->setCurrentIndex(tema->Indice);
}

void TFMain::AplicarTemaGuardado() {
    // A stored index outside the list (-1: never chosen) leaves the Luna look in force.
    if (FConfigExiste && TemaDeIndice(Configuracion().Tema))
        outcbConfigEstiloChange(Configuracion().Tema);
}

void TFMain::AplicarTemaInicio() {
    AplicarPosicionVentana();
    AplicarTemaGuardado();
}

// ---------------------------------------------------------------------------------------
// Work folders and version

void TFMain::LimpiarCache() {
    LimpiarCacheDir(CacheDir());
}

QString TFMain::TextoVersionPrograma() const {
    return ::TextoVersionPrograma();
}

// ---------------------------------------------------------------------------------------
// Updates and the about window

void TFMain::ComprobarActualizacionesInicio() {
    if (cbConfigUpdateInicio->isChecked())
        ActionBuscarUpdatesExecute(true);
}

void TFMain::ActionBuscarUpdatesExecute(bool silencioso) {
#if !SENDERAL_SELF_UPDATE
    // Installed from a distribution's package: its package manager brings the updates, and
    // the program could not replace its own installed files anyway.
    if (!silencioso)
        MensajeInfo(LookupText(QStringLiteral("_STR_MI_UPDPAQUETE"),
                               QStringLiteral("Esta copia de Senderal se ha instalado con un "
                                              "paquete: las actualizaciones llegan con el "
                                              "gestor de paquetes del sistema.")));
    return;
#endif
    if (InstalledLayout()) {
        // Installed in the system's folders (cmake --install): those are not the program's
        // folder to replace.
        if (!silencioso)
            MensajeInfo(LookupText(QStringLiteral("_STR_MI_UPDINSTALADA"),
                                   QStringLiteral("Esta copia de Senderal está instalada en "
                                                  "las carpetas del sistema y no se actualiza "
                                                  "sola: instale la versión nueva de la misma "
                                                  "forma que esta.")));
        return;
    }
    TDatosActualizacion datos;
    datos.DireccionBase = Configuracion().UpdateURL;
    datos.RutaPrograma =
        ProgramDir() + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    // The updater lies beside the window module (lib/senderal/ when installed).
    datos.CarpetaPrograma = ModuleDir();
    datos.CarpetaCache = CacheDir();
    datos.VersionLocal = VersionPrograma();
    datos.Locale = QLocale::system();
    TVentanaActualizacion ventana(*this);
    TBuscadorActualizaciones(datos, ventana).ActionBuscarUpdatesExecute(silencioso);
}

void TFMain::AbrirWeb(const QUrl& url) {
    if (!AbrirDireccionWeb(url)) {
        _Log(QStringLiteral("No se ha podido abrir: ") + url.toString());
        MensajeAviso(TextoNoSePuedeAbrir(url.toString()));
    }
}

void TFMain::ActionAcercaDeExecute() {
    auto* splash = new TFSplash;
    const QString error = AplicarIdioma(splash, FicheroIdioma());
    if (!error.isEmpty())
        _Log(error);
    splash->show();
}
