#include "PaginaIBP.h"

#include "CargaAlMostrar.h"

#include "ConsultaIBP.h"
#include "IBPConfig.h"
#include "IndicadorOcupado.h"
#include "Verbario.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {
QString TextoCalculando() {
    return LookupText(QStringLiteral("_STR_CALCULANDO"), QStringLiteral("Calculando..."));
}

QString PreguntarFicheroPDF(QWidget* parent, const QString& sugerido) {
    QFileDialog dlg(parent, QStringLiteral("Grabar fichero de IBPIndex"));
    dlg.setObjectName(QStringLiteral("SDPDF"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilter(QStringLiteral("Ficheros PDF (*.pdf)"));
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
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->addWidget(wbIBPIndex);
    TCargaAlMostrar::De(wbIBPIndex);
    Consulta->Navegador = wbIBPIndex;

    DialogoImprimir = [this](QPrinter* printer) {
        QPrintDialog dlg(printer, this);
        return dlg.exec() == QDialog::Accepted;
    };
    SDPDF = [this](const QString& sugerido) { return PreguntarFicheroPDF(this, sugerido); };
    AbrirEnNavegador = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    connect(Consulta, &TConsultaIBP::Terminado, this, &TPaginaIBP::IBPTerminado);
    connect(wbIBPIndex, &QWebEngineView::printFinished, this, [this](bool ok) {
        FImpresora.reset();
        emit ImpresionTerminada(ok);
    });
}

TPaginaIBP::~TPaginaIBP() = default;

void TPaginaIBP::Navegar(const QString& url) {
    TCargaAlMostrar::De(wbIBPIndex)->Navegar(QUrl(url.isEmpty() ? QStringLiteral("about:blank") : url));
}

void TPaginaIBP::RefreshClick(const QString& trackPath) {
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
    emit Resultado(Consulta->IBPIndexPage, Consulta->IBPIndexPDFFilename);
}

void TPaginaIBP::ActionRecalcularIBPExecute() {
    Navegar(Consulta->Recargar());
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
    if (pdf.isEmpty())
        return false;
    QString sugerido;
    if (!trackPath.isEmpty()) {
        const QFileInfo info(trackPath);
        sugerido = info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
    }
    const QString destino = SDPDF(sugerido);
    if (destino.isEmpty())
        return false;
    // A failed download is not reported: the PDF is an optional extra of the service.
    return DescargarURL(pdf, destino);
}

void TPaginaIBP::ActionAbrirWebIBPIndexExecute() {
    AbrirEnNavegador(QUrl(IBPIndexURL()));
}

void TPaginaIBP::LimpiarIBP() {
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
