// The life of the current track: opening, the load sequence, the info panel and closing.
#include "FormMain.h"

#include "ColorBox.h"
#include "FormData.h"
#include "Formato.h"
#include "Log.h"
#include "Medidas.h"
#include "PaginaDatos.h"
#include "PanelGrafico.h"
#include "Ribbon.h"
#include "SenderalError.h"
#include "Verbario.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTextBlock>

void TFMain::ActionAbrirTrackExecute() {
    const QString path = DialogoAbrir ? DialogoAbrir() : QString();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    // A refused name must not cost the user the track on screen.
    if (!NombreFicheroAceptable(path))
        return;
    ActionCerrarRutaExecute();
    _Log(QStringLiteral("Abrir la ruta: ") + path);
    CargarRuta(path);
}

void TFMain::RibbonMainRecentItemClick(const QString& FileName) {
    if (!NombreFicheroAceptable(FileName))
        return;
    ActionCerrarRutaExecute();
    if (QFileInfo(FileName).isFile())
        CargarRuta(FileName);
}

void TFMain::FicheroArrastrado(const QStringList& paths) {
    // Only the first dropped file is taken.
    if (paths.isEmpty())
        return;
    const QString path = paths.first();
    if (!NombreFicheroAceptable(path))
        return;
    ActionCerrarRutaExecute();
    try {
        CargarRuta(path);
    } catch (const std::exception&) {
        MensajeError(LookupText(QStringLiteral("_STR_MI_INCORRECTTRACK"),
                                QStringLiteral("Fichero de track incorrecto.")));
    }
}

bool TFMain::NombreFicheroAceptable(const QString& path) {
    if (!path.contains(QLatin1Char('%')))
        return true;
    MensajeAviso(FormatearTexto(
        LookupText(
            QStringLiteral("_STR_MI_NFILE_ERROR"),
            QStringLiteral("Se ha encontrado un caracter extraño en el nombre del fichero (%s). "
                           "Modifique el nombre y vuelva a cargar la ruta.\r\n\r\nFichero: %s")),
        {QStringLiteral("%"), path}));
    return false;
}

void TFMain::CargarRuta(QString path) {
    if (!NombreFicheroAceptable(path))
        return;
    _Log(QStringLiteral("iniciando Add"), true);
    if (QFileInfo(path).suffix().compare(QLatin1String("GPX"), Qt::CaseInsensitive) != 0) {
        _Log(QStringLiteral("Importando"), true);
        MostrarPanelInfo(tiConvert, true);
        _Log(QStringLiteral("Se va a importar"), true);
        QString gpxPath;
        const bool ok = ImportarComoGPX(path, gpxPath);
        _Log(QStringLiteral("Se ha importado el track"), true);
        path = gpxPath;
        MostrarPanelInfo(tiConvert, false);
        if (!ok) {
            MostrarPanelInfo(tiArrastre, true);
            return;
        }
    }
    RibbonMain->setCurrentPage(rpRuta);
    pcCentral->setCurrentWidget(tsDatosRuta);
    FTrackPath = path;
    FormData->cdsPoints.DisableControls();
    FormData->cdsTrack.DisableControls();
    bool completo = false;
    {
        // The window comes back however the load ends.
        const auto fin = qScopeGuard([this, path] {
            if (PanelGrafico)
                PanelGrafico->SetTitulo(QString(10, QLatin1Char(' ')) + path + NotaIncompleto());
            PonerTituloVentana();
            pcCentral->setCurrentWidget(tsDatosRuta);
            pcCentral->setVisible(!FTrackPath.isEmpty());
            FormData->cdsPoints.EnableControls();
            FormData->cdsTrack.EnableControls();
        });
        if (FormData->cdsTrack.Active()) {
            FormData->VaciarYCerrar();
            _Log(QStringLiteral("Datos de los Dataset vacíos..."), true);
        }
        FormData->XMLDataFile = FTrackPath;
        _Log(QStringLiteral("XMLDataFile= ") + FTrackPath, true);
        _Log(QStringLiteral("+ FormData.OpenData"), true);
        FormData->OpenData();
        _Log(QStringLiteral("- FormData.OpenData"), true);
        if (!FormData->cdsTrack.Active()) {
            // Nothing was read: the window goes back to waiting for a track rather than
            // showing an empty data page.
            FTrackPath.clear();
            MostrarPanelInfo(tiArrastre, true);
            pcCentral->setVisible(false);
            return;
        }
        {
            MostrarPanelInfo(tiArrastre, false);
            pcCentral->setCurrentWidget(tsDatosRuta);
            pcCentral->setVisible(true);
            _Log(QStringLiteral("Se va a cargar la ruta..."), true);
            CalcularDistanciaTotal();
            _Log(QStringLiteral("Se va a crear la ruta gráficamente..."), true);
            CrearGraficoRuta();
            _Log(QStringLiteral("Se va a crear el gráfico de altura..."), true);
            CrearGraficoAltura();
            _Log(QStringLiteral("Se va a crear el gráfico de velocidad..."), true);
            CrearGraficoVelocidad();
            _Log(QStringLiteral("Completados gráficos"), true);
            FormResize();
            _Log(QStringLiteral("Lanza la carga de Google Maps..."), true);
            CargarGoogleMaps();
            pcCentral->setCurrentWidget(tsGoogleMaps);
            _Log(QStringLiteral("Pintar el perfil de ruta..."), true);
            PintarPerfil();
            HabilitarAccionesRuta(true);
            MostrarPaginasRuta(true);
            AgregarReciente(FTrackPath);
            completo = true;
        }
    }
    if (completo) {
        _Log(QStringLiteral("Iniciar el Query a IBPIndex..."), true);
        ConsultarIBP();
    }
}

QString TFMain::NotaIncompleto() const {
    if (!FormData || FormData->Incompleto.isEmpty() || !FormData->cdsTrack.Active())
        return {};
    return QStringLiteral("  ") + FormatearTexto(LookupText(QStringLiteral("_STR_MI_INCOMPLETE"),
                                                            QStringLiteral("(incompleto: %s)")),
                                                 {FormData->Incompleto});
}

void TFMain::PonerTituloVentana() {
    QString title = TituloPrograma;
    if (!FTrackPath.isEmpty() && FormData && FormData->cdsTrack.Active())
        title += QStringLiteral(" - ") + QFileInfo(FTrackPath).fileName() + NotaIncompleto();
    RibbonMain->setTitle(title);
    setWindowTitle(title);
}

void TFMain::CalcularDistanciaTotal() {
    DistanciaTotal = FormData->Medidas()->DistanciaTotal();
    PaginaDatos->edtDistanciaRuta->setText(
        QString::number(DistanciaTotal) + QLatin1Char(' ') +
        LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros")));
}

void TFMain::CentrarPanelInfo() {
    pnlArrastrar->move(pnlBack->width() / 2 - pnlArrastrar->width() / 2,
                       pnlBack->height() / 2 - pnlArrastrar->height() / 2);
}

void TFMain::MostrarPanelInfo(TTipoInfoPanel kind, bool show) {
    if (show) {
        static const char* icons[] = {"panelarrastre", "panelupdate", "panelconvert"};
        imgPanelInfo->clear();
        ActualPanelInfo = kind;
        imgPanelInfo->setPixmap(
            QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icons[kind]))).pixmap(64, 64));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QStringList lines;
        QTextDocument* doc = mmCuadroMensajes->document();
        for (int i = 0; i < 3; ++i)
            lines << doc->findBlockByNumber(3 * kind + i).text();
        lines << ((kind == tiArrastre && !StrAcceptTypes.isEmpty()) ? StrAcceptTypes : QString());
        mmPanelInfo->setPlainText(lines.join(QLatin1Char('\n')));
        // The list of accepted types is longer than the panel is wide: the tip shows it whole.
        mmPanelInfo->setToolTip(lines.value(3));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        CentrarPanelInfo();
        pnlArrastrar->raise();
    }
    pnlArrastrar->setVisible(show);
    pnlArrastrar->repaint();
}

void TFMain::HabilitarAccionesRuta(bool enabled) {
    for (QAction* a :
         {ActionVerGraficoTrack, ActionVerGraficoMaps, ActionVerGraficoPerfil, ActionVerIBPIndex,
          ActionCerrarRuta, ActionZoomIn, ActionZoomOut, ActionVerGrid, ActionGraficoEdicion,
          ActionGraficoMover, ActionCentrarGraficoRuta, ActionVerConPuntos, ActionVerConLineas,
          ActionImprimirRuta, ActionExporGraficotBMP})
        a->setEnabled(enabled);
    colbFondoGrafico->setEnabled(enabled);
    colbLinea->setEnabled(enabled);
    for (QAction* a :
         {ActionImprimirGoogleMaps, ActionGrabarImagen, ActionVerGoogleEarth,
          ActionPerfilVerRelleno, ActionImprimirPerfil, ActionGrabarPerfilImagen,
          ActionGrabarIBPIndex, ActionRecalcularIBP, ActionImprimirIBPIndex, ActionConvertPLT,
          ActionConvertKML, ActionPLayAnim, ActionStopAnim, ActionPauseAnim})
        a->setEnabled(enabled);
    if (PanelGrafico)
        PanelGrafico->HabilitarAnimacion(enabled);
}

void TFMain::MostrarPaginasRuta(bool visible) {
    _Log(QStringLiteral("RibbonMain.Tabs.Count: %1").arg(RibbonMain->count()));
    for (int i = 0; i < RibbonMain->count(); ++i)
        _Log(QStringLiteral("Caption(%1):%2").arg(i).arg(RibbonMain->tabCaption(i)));
    for (TRibbonPage* p : {rpPerfil, rpGoogleMaps, rpGrafico, rpIBPIndex})
        RibbonMain->setPageVisible(p, visible);
}

void TFMain::AgregarReciente(const QString& path) {
    auto* a = new QAction(QFileInfo(path).fileName(), FMenuAplicacion);
    a->setToolTip(path);
    a->setStatusTip(path);
    a->setData(path);
    connect(a, &QAction::triggered, this,
            [this, path] { Proteger([this, path] { RibbonMainRecentItemClick(path); }); });
    FMenuAplicacion->addAction(a);
    FRecientes.append(a);
}

bool TFMain::HabilitadoTrack() const {
    return ActionCerrarRuta->isEnabled();
}

QStringList TFMain::Recientes() const {
    QStringList paths;
    for (QAction* a : FRecientes)
        paths << a->data().toString();
    return paths;
}

void TFMain::ActionCerrarRutaExecute() {
    FTrackPath.clear();
    if (FormData->cdsTrack.Active())
        FormData->VaciarYCerrar();
    FormData->XMLDataFile.clear();
    pcCentral->setCurrentWidget(tsDatosRuta);
    pcCentral->setVisible(false);
    MostrarPanelInfo(tiArrastre, true);
    HabilitarAccionesRuta(false);
    MostrarPaginasRuta(false);
    DistanciaTotal = 0;
    PaginaDatos->edtDistanciaRuta->clear();
    AlturaMaxima = 0;
    VelocidadMaxima = 0;
    LimpiarGraficos();
    LimpiarMapas();
    LimpiarIBP();
    rpGoogleMaps->setCaption(
        LookupText(QStringLiteral("_STR_GENERANDO"), QStringLiteral("Generando...")));
    rpIBPIndex->setCaption(
        LookupText(QStringLiteral("_STR_CALCULANDO"), QStringLiteral("Calculando...")));
    LimpiarPerfil();
    pbarMain->setValue(0);
    PonerTituloVentana();
}
