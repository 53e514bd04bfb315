// The IBP index request and its result page.
#include "FormMain.h"

#include "Formato.h"
#include "IBPConfig.h"
#include "Log.h"
#include "PaginaIBP.h"
#include "Ribbon.h"
#include "Verbario.h"

#include <QCheckBox>
#include <QLayout>

void TFMain::CrearPaginaIBP() {
    PaginaIBP = new TPaginaIBP(Log, tsIBPIndex);
    tsIBPIndex->layout()->addWidget(PaginaIBP);
    RegistrarSnapshot(QStringLiteral("ibp.png"), tsIBPIndex);
    connect(PaginaIBP, &TPaginaIBP::CaptionPagina, this,
            [this](const QString& caption) { tsIBPIndex->setProperty("Caption", caption); });
    connect(PaginaIBP, &TPaginaIBP::CaptionCinta, this,
            [this](const QString& caption) { rpIBPIndex->setCaption(caption); });
    connect(PaginaIBP, &TPaginaIBP::EnvioPedido, this, [this] {
        Proteger([this] {
            if (!FTrackPath.isEmpty())
                RefreshClick();
        });
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
    if (PermisoEnvioIBP())
        PaginaIBP->ConsultarIBP(FTrackPath);
    else
        PaginaIBP->MostrarSinEnviar();
}

bool TFMain::PermisoEnvioIBP() {
    // A track shows where the user lives and goes: it leaves the computer only with leave.
    if (FEnvioIBP < 0) {
        const bool si = MensajePregunta(FormatearTexto(
            LookupText(QStringLiteral("_STR_MI_IBP_CONSENT"),
                       QStringLiteral("Para calcular la dificultad (índice IBP) de una ruta, "
                                      "el programa puede enviar el fichero de la ruta al "
                                      "servicio IBPindex (%s).\r\n\r\n¿Permite que las "
                                      "rutas que cargue se envíen a ese servicio?\r\n(Puede "
                                      "cambiarlo en la página de configuración.)")),
            {IBPIndexURL()}));
        FEnvioIBP = si ? 1 : 0;
        if (cbConfigEnviarIBP)
            cbConfigEnviarIBP->setChecked(si);
        _Log(si ? QStringLiteral("Envío a IBPIndex permitido")
                : QStringLiteral("Envío a IBPIndex no permitido"));
    }
    return FEnvioIBP == 1;
}

void TFMain::LimpiarIBP() {
    if (PaginaIBP)
        PaginaIBP->LimpiarIBP();
}

void TFMain::ColocarIndicadorIBP() {
    if (PaginaIBP)
        PaginaIBP->ColocarIndicador();
}

void TFMain::ActionRecalcularIBPExecute() {
    PaginaIBP->Recalcular(FTrackPath);
}

void TFMain::ActionImprimirIBPIndexExecute() {
    PaginaIBP->ActionImprimirIBPIndexExecute();
}

void TFMain::ActionGrabarIBPIndexExecute() {
    PaginaIBP->ActionGrabarIBPIndexExecute(FTrackPath);
}

void TFMain::ActionAbrirWebIBPIndexExecute() {
    PaginaIBP->ActionAbrirWebIBPIndexExecute();
}
