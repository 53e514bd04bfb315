#include "FormMain.h"

#include "AppPaths.h"
#include "CatalogoFormatos.h"
#include "Configuracion.h"
#include "FormData.h"
#include "Formato.h"
#include "Log.h"
#include "PaginaDatos.h"
#include "Ribbon.h"
#include "SenderalError.h"
#include "TextosVentana.h"
#include "Verbario.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextCursor>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

std::function<void(const QString&)> TFMain::ManejadorErrorGlobal;

namespace {
QWidget* paginaVacia(QStackedWidget* stack, const char* name) {
    auto* page = new QWidget(stack);
    page->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    stack->addWidget(page);
    return page;
}
} // namespace

TFMain::TFMain(const QStringList& arguments, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FMain"));
    Argumentos =
        arguments.isEmpty() ? QStringList{QCoreApplication::applicationFilePath()} : arguments;
    Log = new TLog(this);

    MensajeInfo = [this](const QString& t) { QMessageBox::information(this, windowTitle(), t); };
    MensajeAviso = [this](const QString& t) { QMessageBox::warning(this, windowTitle(), t); };
    MensajeError = [this](const QString& t) { QMessageBox::critical(this, windowTitle(), t); };
    MensajePregunta = [this](const QString& t) {
        return QMessageBox::question(this, windowTitle(), t, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    DialogoAbrir = [this]() -> QString {
        QFileDialog dlg(this, LookupText(QStringLiteral("_STR_TITLE_OPENTRACK"),
                                         QStringLiteral("Seleccione el fichero de ruta")));
        dlg.setObjectName(QStringLiteral("oDialog"));
        dlg.setFileMode(QFileDialog::ExistingFile);
        // The "all files" entry in the language in force now, not the one at start-up.
        const QString todos =
            FiltroDialogoQt(LookupText(QStringLiteral("_STR_FILTER_ALLFILES"),
                                       QStringLiteral("Todos los ficheros (*.*)|*.*")))
                .value(0);
        QStringList filtros =
            FiltroAbrir.isEmpty()
                ? QStringList{QStringLiteral("GPS Exchange Format (*.gpx *.GPX)"), todos}
                : FiltroAbrir.split(QStringLiteral(";;"));
        for (QString& f : filtros)
            if (f == FFiltroTodosAbrir)
                f = todos;
        dlg.setNameFilters(filtros);
        AplicarIdiomaElemento(&dlg, objectName());
        if (dlg.exec() != QDialog::Accepted)
            return {};
        return dlg.selectedFiles().value(0);
    };

    crearAcciones();
    crearRibbon();
    crearCentro();
    crearBarraEstado();
    crearPanelInfo();
    FormCreate();
}

TFMain::~TFMain() = default;

void TFMain::SetFormData(TFormData* data) {
    FormData = data;
    FormData->MostrarError = [this](const QString& t) { MensajeError(t); };
    FormData->Texto = [](const QString& key, const QString& defecto) {
        return LookupText(key, defecto);
    };
    FormData->AbrirIncompleto = [this](const QString& detalle, int puntos) {
        return MensajePregunta(FormatearTexto(
            LookupText(QStringLiteral("_STR_MI_DAMAGED"),
                       QStringLiteral(
                           "El fichero %s está dañado (%s).\r\n\r\nSe han podido leer %d puntos "
                           "antes del daño. ¿Desea abrirlos?")),
            {QFileInfo(FormData->XMLDataFile).fileName(), detalle, QString::number(puntos)}));
    };
    FormData->MostrarErrorLectura = [this](const QString& ruta, const QString& motivo) {
        MensajeError(TextoErrorLectura(ruta, motivo));
    };
    FormData->AjustesFiguras.UmbralDesnivelM = Configuracion().UmbralDesnivel;
    PaginaDatos = new TPaginaDatos(FormData, tsDatosRuta);
    PaginaDatos->setObjectName(QStringLiteral("PaginaDatos"));
    tsDatosRuta->layout()->addWidget(PaginaDatos);
    // The views of the other subsystems read the track through the data holder.
    CrearPaginaGrafico();
    CrearPaginaPerfil();
    CrearPaginaMapas();
    CrearPaginaConversion();
    CrearPaginaIBP();
    CrearPaginaConfig();
    CrearIdioma();
    HabilitarAccionesRuta(false);
}

void TFMain::_Log(const QString& AStr, bool AWithTime) {
    Log->_Log(AStr, AWithTime);
}

// ---------------------------------------------------------------------------------------
// Commands

void TFMain::Conectar(QAction* action, std::function<void()> handler) {
    connect(action, &QAction::triggered, this,
            [handler = std::move(handler)] { Proteger(handler); });
}

void TFMain::Proteger(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const ESenderalError& e) {
        MostrarErrorGlobal(e.text());
    } catch (const std::exception& e) {
        MostrarErrorGlobal(QString::fromLocal8Bit(e.what()));
    }
}

void TFMain::MostrarErrorGlobal(const QString& text) {
    if (ManejadorErrorGlobal) {
        ManejadorErrorGlobal(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Senderal"), text);
}

// ---------------------------------------------------------------------------------------
// Window parts

void TFMain::crearCentro() {
    pnlBack = new QWidget(this);
    pnlBack->setObjectName(QStringLiteral("pnlBack"));
    pnlBack->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(pnlBack);
    layout->setContentsMargins(0, 0, 0, 0);
    pcCentral = new QStackedWidget(pnlBack);
    pcCentral->setObjectName(QStringLiteral("pcCentral"));
    layout->addWidget(pcCentral);
    tsDatosRuta = paginaVacia(pcCentral, "tsDatosRuta");
    tsGraficoRuta = paginaVacia(pcCentral, "tsGraficoRuta");
    tsPerfil = paginaVacia(pcCentral, "tsPerfil");
    tsGoogleMaps = paginaVacia(pcCentral, "tsGoogleMaps");
    tsConvertir = paginaVacia(pcCentral, "tsConvertir");
    tsIBPIndex = paginaVacia(pcCentral, "tsIBPIndex");
    tsLog = paginaVacia(pcCentral, "tsLog");
    tsConfig = paginaVacia(pcCentral, "tsConfig");
    tsConvert = paginaVacia(pcCentral, "tsConvert");
    const char* captions[] = {"&Datos de la ruta",
                              "Gráfico ruta",
                              "&Perfil de altura",
                              "Google Map",
                              "Conversión de rutas",
                              "IBP Index",
                              "tsLog",
                              "&Configuración",
                              "Convertir ruta"};
    for (int i = 0; i < pcCentral->count(); ++i)
        pcCentral->widget(i)->setProperty("Caption", QString::fromUtf8(captions[i]));

    mmLog = new QPlainTextEdit(tsLog);
    mmLog->setObjectName(QStringLiteral("mmLog"));
    mmLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmLog->setFrameShape(QFrame::NoFrame);
    QPalette pal = mmLog->palette();
    pal.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    mmLog->setPalette(pal);
    tsLog->layout()->addWidget(mmLog);
    // The text box starts with one empty line: the first logged line is the second.
    connect(Log, &TLog::LineaAgregada, this, [this](const QString& line) {
        QTextCursor end(mmLog->document());
        end.movePosition(QTextCursor::End);
        end.insertBlock();
        end.insertText(line);
        mmLog->setTextCursor(end);
        mmLog->verticalScrollBar()->setValue(mmLog->verticalScrollBar()->maximum());
    });

    RegistrarSnapshot(QStringLiteral("datos.png"), tsDatosRuta);
    setCentralWidget(pnlBack);
    pcCentral->setVisible(false);
    pnlBack->installEventFilter(this);
}

void TFMain::crearBarraEstado() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    StatusPanel0 = new QLabel(QStringLiteral("..."), bar);
    StatusPanel0->setFixedWidth(300);
    StatusPanel1 = new QLabel(bar);
    StatusPanel1->setFixedWidth(150);
    pbarMain = new QProgressBar(bar);
    pbarMain->setObjectName(QStringLiteral("pbarMain"));
    pbarMain->setFixedWidth(200);
    pbarMain->setTextVisible(false);
    pbarMain->setMaximumHeight(14);
    pbarMain->setValue(0);
    StatusPanel3 = new QLabel(bar);
    StatusPanel3->setFixedWidth(50);
    bar->addWidget(StatusPanel0);
    bar->addWidget(StatusPanel1);
    bar->addWidget(pbarMain);
    bar->addWidget(StatusPanel3);
}

void TFMain::crearPanelInfo() {
    pnlArrastrar = new QFrame(pnlBack);
    pnlArrastrar->setObjectName(QStringLiteral("pnlArrastrar"));
    pnlArrastrar->setFixedSize(404, 70);
    pnlArrastrar->setStyleSheet(
        QStringLiteral("QFrame#pnlArrastrar { background: white; border: 1px solid #8db2e3; }"));
    auto* h = new QHBoxLayout(pnlArrastrar);
    h->setContentsMargins(3, 3, 3, 3);
    imgPanelInfo = new QLabel(pnlArrastrar);
    imgPanelInfo->setObjectName(QStringLiteral("imgPanelInfo"));
    imgPanelInfo->setFixedSize(64, 64);
    imgPanelInfo->setAcceptDrops(true);
    h->addWidget(imgPanelInfo);
    mmPanelInfo = new QPlainTextEdit(pnlArrastrar);
    mmPanelInfo->setObjectName(QStringLiteral("mmPanelInfo"));
    mmPanelInfo->setReadOnly(true);
    mmPanelInfo->setFrameShape(QFrame::NoFrame);
    mmPanelInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmPanelInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmPanelInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmPanelInfo->setPlainText(QStringLiteral("\n\n\n"));
    QFont f = mmPanelInfo->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    mmPanelInfo->setFont(f);
    h->addWidget(mmPanelInfo, 1);
    pnlArrastrar->hide();
    // The panel invites the user to drop a track on it: the panel, its picture and its
    // text (whose events arrive at its viewport) all take the drop.
    for (QWidget* w : {static_cast<QWidget*>(pnlArrastrar), static_cast<QWidget*>(imgPanelInfo),
                       static_cast<QWidget*>(mmPanelInfo), mmPanelInfo->viewport()}) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }

    mmCuadroMensajes = new QPlainTextEdit(this);
    mmCuadroMensajes->setObjectName(QStringLiteral("mmCuadroMensajes"));
    mmCuadroMensajes->hide();
    mmCuadroMensajes->setPlainText(QStringList{
        QString(),
        QStringLiteral("Arrastra un Track desde el explorador de Windows o utiliza "),
        QStringLiteral("la opción de <Abrir ruta> del menú de archivo."),
        QString(),
        QStringLiteral("Comprobando si existen nuevas versiones del programa."),
        QStringLiteral("Espere un momento, por favor..."),
        QString(),
        QStringLiteral("Importando los datos del track a la aplicación."),
        QStringLiteral("Espere un momento, por favor..."),
        QString(),
    }
                                       .join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------------------
// Start-up and shut-down

void TFMain::FormCreate() {
    // An installed program's folder is not the user's: the marker may lie in the settings
    // folder as well.
    EXECLocal = QFileInfo::exists(AppDir() + QStringLiteral("zumbo")) ||
                QFileInfo::exists(ConfigDir() + QStringLiteral("zumbo"));
    DoneVisualization = false;
    QDir().mkpath(CacheDir());
    // The settings folder of an installed program may not exist yet.
    QDir().mkpath(ConfigDir());
    HabilitarAccionesRuta(false);
    ConvertList.clear();
    setMinimumSize(790, 680);
    resize(838, 707 + RibbonMain->height() / 4);
    RestaurarConfiguracion();
    FCreando = false;
}

void TFMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (FMostrado)
        return;
    FMostrado = true;
    FormShow();
}

void TFMain::FormShow() {
    rgDebugLog->setVisible(EXECLocal);
    AplicarTemaInicio();
    // The rest of the start-up runs once the window is on screen.
    QMetaObject::invokeMethod(
        this, [this] { Proteger([this] { ArranqueDiferido(); }); }, Qt::QueuedConnection);
}

void TFMain::ArranqueDiferido() {
    _Log(QStringLiteral("PARAM 0: ") + Argumentos.value(0));
    for (int n = 1; n <= 3 && n < Argumentos.size(); ++n)
        _Log(QStringLiteral("PARAM %1: ").arg(n) + Argumentos[n]);
    RestaurarValoresInicio();
    CargarIdiomaInicio();
    const QString title =
        LookupText(QStringLiteral("_STR_MAIN_TITLE"), QStringLiteral("Senderal  v. ")) +
        TextoVersionPrograma();
    TituloPrograma = title;
    PonerTituloVentana();
    DoneVisualization = true;
    StatusPanel1->setText(QStringLiteral("v. ") + TextoVersionPrograma());
    rpGoogleMaps->setCaption(
        LookupText(QStringLiteral("_STR_GENERANDO"), QStringLiteral("Generando...")));
    rpIBPIndex->setCaption(
        LookupText(QStringLiteral("_STR_CALCULANDO"), QStringLiteral("Calculando...")));
    StatusPanel0->setText(QStringLiteral("..."));
    MostrarPanelInfo(tiArrastre, true);
    // The map browser starts on its empty page now, so its engine is up before the
    // first track arrives instead of in the middle of loading it.
    LimpiarMapas();
    IniciarModoLineas();
    RibbonMain->setCurrentPage(rpRuta);
    ComprobarActualizacionesInicio();
    CargarFormatos();
    MostrarPaginasRuta(false);
    MarcarPunto(-99);
    if (Argumentos.size() > 1 && QFileInfo(Argumentos[1]).isFile())
        CargarRuta(Argumentos[1]);
}

bool TFMain::FormCloseQuery() {
    const QString q = LookupText(QStringLiteral("_STR_MI_SALIR"),
                                 QStringLiteral("¿Realmente desea cerrar la aplicación?"));
    if (!MensajePregunta(q))
        return false;
    GuardarConfiguracion();
    return true;
}

void TFMain::FormClose() {
    LimpiarCache();
}

void TFMain::closeEvent(QCloseEvent* e) {
    if (!FCerrando) {
        bool ok = false;
        Proteger([&] { ok = FormCloseQuery(); });
        if (!ok) {
            e->ignore();
            return;
        }
    }
    FCerrando = true;
    FormClose();
    e->accept();
}

// ---------------------------------------------------------------------------------------
// Events

bool TFMain::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        // Panel 0 shows the hint of whatever the mouse rests on.
        StatusPanel0->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

bool TFMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pnlBack && e->type() == QEvent::Resize) {
        CentrarPanelInfo();
        return false;
    }
    if (watched == pnlArrastrar || watched == imgPanelInfo || watched == mmPanelInfo ||
        (mmPanelInfo && watched == mmPanelInfo->viewport())) {
        if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
            auto* d = static_cast<QDropEvent*>(e);
            if (d->mimeData()->hasUrls()) {
                d->acceptProposedAction();
                return true;
            }
        } else if (e->type() == QEvent::Drop) {
            auto* d = static_cast<QDropEvent*>(e);
            QStringList paths;
            for (const QUrl& u : d->mimeData()->urls())
                if (u.isLocalFile())
                    paths << u.toLocalFile();
            d->acceptProposedAction();
            // Loading runs after the drop has finished, so the desktop is not kept waiting.
            QTimer::singleShot(0, this, [this, paths] { FicheroArrastrado(paths); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void TFMain::FormResize() {
    if (FCreando || FCerrando)
        return;
    AjustarGraficos();
    ColocarIndicadorIBP();
}

void TFMain::RibbonMainTabChange(int NewIndex) {
    if (!(FormData && FormData->cdsTrack.Active()) && !EXECLocal)
        return;
    if (FTrackPath.isEmpty()) {
        pcCentral->setCurrentWidget(tsDatosRuta);
        pcCentral->setVisible(false);
        return;
    }
    DetenerAnimacion();
    _Log(QStringLiteral("TRibbon"));
    _Log(QStringLiteral("RibbonMain"));
    TRibbonPage* page = RibbonMain->page(NewIndex);
    if (page == rpRuta)
        pcCentral->setCurrentWidget(tsDatosRuta);
    else if (page == rpGrafico)
        pcCentral->setCurrentWidget(tsGraficoRuta);
    else if (page == rpGoogleMaps)
        pcCentral->setCurrentWidget(tsGoogleMaps);
    else if (page == rpPerfil)
        pcCentral->setCurrentWidget(tsPerfil);
    else if (page == rpIBPIndex)
        pcCentral->setCurrentWidget(tsIBPIndex);
}

void TFMain::ActionSiguienteTabExecute() {
    // The next tab the user can see; the tab change shows that tab's own page. Stepping
    // the pages on their own would soon show a page of another tab, or a developer page.
    const int n = RibbonMain->count();
    for (int step = 1; step <= n; ++step) {
        const int i = (RibbonMain->currentIndex() + step) % n;
        if (RibbonMain->isPageVisible(RibbonMain->page(i))) {
            RibbonMain->setCurrentIndex(i);
            return;
        }
    }
}

void TFMain::MostrarPagina(QWidget* page) {
    pcCentral->setCurrentWidget(page);
    pcCentral->setVisible(true);
}

// ---------------------------------------------------------------------------------------
// Snapshots

void TFMain::RegistrarSnapshot(const QString& fileName, QWidget* page) {
    FSnapshots.emplace_back(fileName, page);
}

bool TFMain::GuardarSnapshots(const QString& dir, QString& error) {
    if (!QDir().mkpath(dir)) {
        error = QStringLiteral("No se puede crear la carpeta %1").arg(dir);
        return false;
    }
    QWidget* current = pcCentral->currentWidget();
    const bool visible = pcCentral->isVisible();
    for (const auto& [name, page] : FSnapshots) {
        if (!page)
            continue;
        MostrarPagina(page);
        QApplication::processEvents();
        QTimer wait;
        wait.setSingleShot(true);
        wait.start(150);
        while (wait.isActive())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!pcCentral->grab().save(QDir(dir).filePath(name))) {
            error = QStringLiteral("No se puede escribir %1").arg(QDir(dir).filePath(name));
            return false;
        }
    }
    pcCentral->setCurrentWidget(current);
    pcCentral->setVisible(visible);
    QApplication::processEvents();
    if (!grab().save(QDir(dir).filePath(QStringLiteral("ventana.png")))) {
        error = QStringLiteral("No se puede escribir %1")
                    .arg(QDir(dir).filePath(QStringLiteral("ventana.png")));
        return false;
    }
    return true;
}
