// The IBP index request and its result page.
#include "FormMain.h"

#include "ConsultaIBP.h"
#include "PaginaIBP.h"
#include "Ribbon.h"

#include <QLayout>

void TFMain::CrearPaginaIBP() {
    PaginaIBP = new TPaginaIBP(Log, tsIBPIndex);
    tsIBPIndex->layout()->addWidget(PaginaIBP);
    connect(PaginaIBP, &TPaginaIBP::CaptionPagina, this,
            [this](const QString& caption) { tsIBPIndex->setProperty("Caption", caption); });
    connect(PaginaIBP, &TPaginaIBP::CaptionCinta, this,
            [this](const QString& caption) { rpIBPIndex->setCaption(caption); });
    connect(PaginaIBP, &TPaginaIBP::Resultado, this,
            [this](const QString& page, const QString& pdf) {
                IBPIndexPage = page;
                IBPIndexPDFFilename = pdf;
            });
    Conectar(ActionRecalcularIBP, [this] { ActionRecalcularIBPExecute(); });
    Conectar(ActionImprimirIBPIndex, [this] { ActionImprimirIBPIndexExecute(); });
    Conectar(ActionGrabarIBPIndex, [this] { ActionGrabarIBPIndexExecute(); });
    Conectar(ActionAbrirWebIBPIndex, [this] { ActionAbrirWebIBPIndexExecute(); });
}

void TFMain::RefreshClick() {
    PaginaIBP->RefreshClick(FTrackPath);
}

void TFMain::ConsultarIBP() {
    PaginaIBP->ConsultarIBP(FTrackPath);
}

void TFMain::LimpiarIBP() {
    if (PaginaIBP)
        PaginaIBP->LimpiarIBP();
    IBPIndexPage.clear();
    IBPIndexPDFFilename.clear();
}

void TFMain::ColocarIndicadorIBP() {
    if (PaginaIBP)
        PaginaIBP->ColocarIndicador();
}

// The window's fields are the ones the commands act on: the page's query only fills them.
void TFMain::ActionRecalcularIBPExecute() {
    PaginaIBP->Consulta->IBPIndexPage = IBPIndexPage;
    PaginaIBP->ActionRecalcularIBPExecute();
}

void TFMain::ActionImprimirIBPIndexExecute() {
    PaginaIBP->ActionImprimirIBPIndexExecute();
}

void TFMain::ActionGrabarIBPIndexExecute() {
    PaginaIBP->Consulta->IBPIndexPDFFilename = IBPIndexPDFFilename;
    PaginaIBP->ActionGrabarIBPIndexExecute(FTrackPath);
}

void TFMain::ActionAbrirWebIBPIndexExecute() {
    PaginaIBP->ActionAbrirWebIBPIndexExecute();
}
