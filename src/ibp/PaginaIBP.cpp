#include "PaginaIBP.h"

#include "CargaAlMostrar.h"

#include "ConsultaIBP.h"
#include "IBPConfig.h"
#include "IndicadorOcupado.h"
#include "MotivoRed.h"
#include "TextosPista.h"
#include "Verbario.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {
// Puts `valor` in the "%s" of a translated text; a "%" in the value stays text.
QString FormatearMotivo(const QString& texto, const QString& valor) {
    return RellenarHuecos(texto, {valor}).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString TextoCalculando() {
    return LookupText(QStringLiteral("_STR_CALCULANDO"), QStringLiteral("Calculando..."));
}

QString PreguntarFicheroPDF(QWidget* parent, const QString& sugerido) {
    QFileDialog dlg(parent, LookupText(QStringLiteral("_STR_TITLE_SAVEIBP"),
                                       QStringLiteral("Grabar fichero de IBPIndex")));
    dlg.setObjectName(QStringLiteral("SDPDF"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilter(
        LookupText(QStringLiteral("_STR_FILTER_PDF"), QStringLiteral("Ficheros PDF (*.pdf)")));
    dlg.setDefaultSuffix(QStringLiteral("pdf"));
    if (!sugerido.isEmpty()) {
        dlg.setDirectory(QFileInfo(sugerido).absolutePath());
        dlg.selectFile(QFileInfo(sugerido).fileName());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}
} // namespace

TPaginaIBP::TPaginaIBP(TLog* log, QWidget* parent)
    : QWidget(parent), wbIBPIndex(new QWebEngineView(this)), pnlanim(new TIndicadorOcupado(this)),
      Consulta(new TConsultaIBP(log, this)) {
    setObjectName(QStringLiteral("PaginaIBP"));
    wbIBPIndex->setObjectName(QStringLiteral("wbIBPIndex"));
    pnlAvisoIBP = new QFrame(this);
    pnlAvisoIBP->setObjectName(QStringLiteral("pnlAvisoIBP"));
    pnlAvisoIBP->setFrameShape(QFrame::StyledPanel);
    lblAvisoIBP = new QLabel(pnlAvisoIBP);
    lblAvisoIBP->setObjectName(QStringLiteral("lblAvisoIBP"));
    lblAvisoIBP->setWordWrap(true);
    lblAvisoIBP->setTextFormat(Qt::PlainText);
    btnAvisoIBP = new QPushButton(pnlAvisoIBP);
    btnAvisoIBP->setObjectName(QStringLiteral("btnAvisoIBP"));
    auto* filaAviso = new QHBoxLayout(pnlAvisoIBP);
    filaAviso->addWidget(lblAvisoIBP, 1);
    filaAviso->addWidget(btnAvisoIBP, 0, Qt::AlignVCenter);
    ocultarAviso();
    connect(btnAvisoIBP, &QPushButton::clicked, this, &TPaginaIBP::EnvioPedido);

    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->addWidget(pnlAvisoIBP);
    caja->addWidget(wbIBPIndex, 1);
    TCargaAlMostrar::De(wbIBPIndex);
    Consulta->Navegador = wbIBPIndex;

    DialogoImprimir = [this](QPrinter* printer) {
        QPrintDialog dlg(printer, this);
        return dlg.exec() == QDialog::Accepted;
    };
    SDPDF = [this](const QString& sugerido) { return PreguntarFicheroPDF(this, sugerido); };
    AbrirEnNavegador = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    Avisar = [this](const QString& texto) {
        QMessageBox::warning(this, window()->windowTitle(), texto);
    };

    connect(Consulta, &TConsultaIBP::Terminado, this, &TPaginaIBP::IBPTerminado);
    connect(wbIBPIndex, &QWebEngineView::printFinished, this, [this](bool ok) {
        FImpresora.reset();
        emit ImpresionTerminada(ok);
    });
}

TPaginaIBP::~TPaginaIBP() = default;

void TPaginaIBP::Navegar(const QString& url) {
    TCargaAlMostrar::De(wbIBPIndex)
        ->Navegar(QUrl(url.isEmpty() ? QStringLiteral("about:blank") : url));
}

void TPaginaIBP::RefreshClick(const QString& trackPath) {
    FHuboEnvio = true;
    ocultarAviso();
    emit CaptionCinta(TextoCalculando());
    emit CaptionPagina(TextoCalculando());
    Navegar(IBPIndexURL() + QStringLiteral("calculando.htm"));
    ColocarIndicador();
    pnlanim->Mostrar();
    Consulta->Iniciar(trackPath);
}

void TPaginaIBP::ConsultarIBP(const QString& trackPath) {
    RefreshClick(trackPath);
    Navegar(QStringLiteral("about:blank"));
    emit CaptionPagina(TextoCalculando());
    QCoreApplication::processEvents();
}

void TPaginaIBP::IBPTerminado(const QString& URLNavigate) {
    emit CaptionCinta(QStringLiteral("&IBPIndex"));
    pnlanim->Ocultar();
    Navegar(URLNavigate);
    emit CaptionPagina(QStringLiteral("IBP Index"));
    // An empty page alone would look like a page still loading: say why there is none.
    if (URLNavigate.isEmpty())
        mostrarAviso(TAviso::Fallo);
    else
        ocultarAviso();
    emit Resultado(Consulta->IBPIndexPage, Consulta->IBPIndexPDFFilename);
}

QString TPaginaIBP::motivoFallo() const {
    const QString red =
        MotivoFalloRed(Consulta->ErrorRed, Consulta->EstadoHttp, Consulta->TextoError);
    if (!red.isEmpty())
        return red;
    if (!Consulta->TextoError.isEmpty())
        return Consulta->TextoError;
    return LookupText(QStringLiteral("_STR_MI_IBP_NORESULT"),
                      QStringLiteral("el servicio no ha devuelto ningún resultado para esta "
                                     "ruta"));
}

void TPaginaIBP::mostrarAviso(TAviso aviso) {
    FAviso = aviso;
    TraducirAviso();
    pnlAvisoIBP->show();
}

void TPaginaIBP::ocultarAviso() {
    FAviso = TAviso::Ninguno;
    pnlAvisoIBP->hide();
}

void TPaginaIBP::TraducirAviso() {
    switch (FAviso) {
    case TAviso::Ninguno:
        return;
    case TAviso::Fallo:
        lblAvisoIBP->setText(FormatearMotivo(
            LookupText(QStringLiteral("_STR_MI_IBP_FAILED"),
                       QStringLiteral("No se ha podido obtener el índice IBP de esta ruta.\r\n"
                                      "Motivo: %s")),
            motivoFallo()));
        btnAvisoIBP->setText(
            LookupText(QStringLiteral("_STR_MI_IBP_RETRY"), QStringLiteral("Recalcular IBPIndex")));
        return;
    case TAviso::SinEnviar:
        lblAvisoIBP->setText(FormatearMotivo(
            LookupText(QStringLiteral("_STR_MI_IBP_NOTSENT"),
                       QStringLiteral("Esta ruta no se ha enviado al servicio IBPindex (%s), así "
                                      "que no hay índice IBP. Puede enviarla ahora, o permitir el "
                                      "envío en la página de configuración.")),
            IBPIndexURL()));
        btnAvisoIBP->setText(LookupText(QStringLiteral("_STR_MI_IBP_SENDNOW"),
                                        QStringLiteral("Enviar esta ruta ahora")));
        return;
    }
}

void TPaginaIBP::MostrarSinEnviar() {
    FHuboEnvio = false;
    pnlanim->Ocultar();
    Navegar(QStringLiteral("about:blank"));
    emit CaptionCinta(QStringLiteral("&IBPIndex"));
    emit CaptionPagina(QStringLiteral("IBP Index"));
    mostrarAviso(TAviso::SinEnviar);
}

void TPaginaIBP::ActionRecalcularIBPExecute() {
    Navegar(Consulta->Recargar());
}

void TPaginaIBP::Recalcular(const QString& trackPath) {
    // No page to reload because the last query failed: try the query again.
    if (Consulta->IBPIndexPage.isEmpty() && !trackPath.isEmpty() && FHuboEnvio &&
        !Consulta->EnCurso()) {
        RefreshClick(trackPath);
        return;
    }
    ActionRecalcularIBPExecute();
}

QString TPaginaIBP::IBPIndexPage() const {
    return Consulta->IBPIndexPage;
}

QString TPaginaIBP::IBPIndexPDFFilename() const {
    return Consulta->IBPIndexPDFFilename;
}

void TPaginaIBP::ActionImprimirIBPIndexExecute() {
    // The browser prints in the background; one print at a time keeps its printer alive.
    if (FImpresora)
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!DialogoImprimir(printer.get()))
        return;
    FImpresora = std::move(printer);
    TCargaAlMostrar::De(wbIBPIndex)->CargarYa();
    wbIBPIndex->print(FImpresora.get());
}

bool TPaginaIBP::ActionGrabarIBPIndexExecute(const QString& trackPath) {
    const QString pdf = Consulta->IBPIndexPDFFilename;
    if (pdf.isEmpty()) {
        Avisar(LookupText(QStringLiteral("_STR_MI_IBP_NOPDF"),
                          QStringLiteral("No hay ningún PDF del índice IBP que guardar: el "
                                         "índice de esta ruta no se ha obtenido.")));
        return false;
    }
    QString sugerido;
    if (!trackPath.isEmpty()) {
        const QFileInfo info(trackPath);
        sugerido = info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
    }
    const QString destino = SDPDF(sugerido);
    if (destino.isEmpty())
        return false;
    if (DescargarURL(pdf, destino))
        return true;
    Avisar(FormatearMotivo(LookupText(QStringLiteral("_STR_MI_IBP_PDFFAILED"),
                                      QStringLiteral("No se ha podido descargar el PDF del "
                                                     "índice IBP en %s.")),
                           QDir::toNativeSeparators(destino)));
    return false;
}

void TPaginaIBP::ActionAbrirWebIBPIndexExecute() {
    if (!AbrirEnNavegador(QUrl(IBPIndexURL())))
        Avisar(TextoNoSePuedeAbrir(IBPIndexURL()));
}

void TPaginaIBP::LimpiarIBP() {
    FHuboEnvio = false;
    ocultarAviso();
    Consulta->Descartar();
    pnlanim->Ocultar();
    Navegar(QStringLiteral("about:blank"));
    emit CaptionCinta(TextoCalculando());
}

void TPaginaIBP::ColocarIndicador() {
    const QWidget* ventana = window();
    QPoint p = TIndicadorOcupado::Posicion(ventana->size(), pnlanim->size());
    if (ventana != this)
        p = mapFrom(ventana, p);
    // In a small window one third of its height may lie above this page: the indicator
    // stays on the page.
    p.setX(qBound(0, p.x(), qMax(0, width() - pnlanim->width())));
    p.setY(qBound(0, p.y(), qMax(0, height() - pnlanim->height())));
    pnlanim->move(p);
}

void TPaginaIBP::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ColocarIndicador();
}

void TPaginaIBP::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    ColocarIndicador();
}
